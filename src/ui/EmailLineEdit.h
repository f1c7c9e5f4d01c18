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

} // namespace marten
