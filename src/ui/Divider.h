#pragma once

#include <QWidget>

namespace marten {

// The thin horizontal separator line.
class Divider final : public QWidget {
    Q_OBJECT
public:
    explicit Divider(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace marten
