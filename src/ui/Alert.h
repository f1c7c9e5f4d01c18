#pragma once

#include "ui/Overlay.h"

namespace marten {

// A small alert drawn inside the window it belongs to, as an overlay: a card with a bold
// title, a message and one button that dismisses it. Return dismisses it too, and the
// window's shortcuts stay quiet while it is up. Screen readers meet it as an alert.
class Alert final : public Overlay {
    Q_OBJECT
public:
    // The alert covers `host`'s window.
    Alert(const QString& title, const QString& message, const QString& button, QWidget* host);

    // Shows the alert over its window with the focus on its button, and announces it.
    void open();

protected:
    QSize sheetSize(const QSize& area) const override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace marten
