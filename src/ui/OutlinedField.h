#pragma once

#include <QWidget>

class QLineEdit;

namespace marten {

// A frameless single-line edit inside a thin rounded outline.
class OutlinedField final : public QWidget {
    Q_OBJECT
public:
    explicit OutlinedField(QLineEdit* edit, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QLineEdit* m_edit;
};

} // namespace marten
