#pragma once

#include <QLineEdit>

namespace marten {

// A line edit on which Return does nothing: it neither submits nor reaches any parent.
class EmailLineEdit final : public QLineEdit {
    Q_OBJECT
public:
    explicit EmailLineEdit(QWidget* parent = nullptr) : QLineEdit(parent) {}

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// A frameless single-line edit inside a thin rounded outline.
class OutlinedField final : public QWidget {
    Q_OBJECT
public:
    OutlinedField(QLineEdit* edit, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QLineEdit* m_edit;
};

} // namespace marten
