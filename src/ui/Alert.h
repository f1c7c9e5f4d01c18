#pragma once

#include <QDialog>

namespace marten {

// A small window-modal alert: a bold title, a message and one button that dismisses it
// (the cancel role: Escape does the same). It deletes itself when dismissed.
class Alert final : public QDialog {
    Q_OBJECT
public:
    Alert(const QString& title, const QString& message, const QString& button,
          QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace marten
