#pragma once

#include <QWidget>

class QVariantAnimation;

namespace marten {

// An indeterminate circular progress indicator.
class Spinner final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kDefaultDiameter = 32;

    explicit Spinner(int diameter = kDefaultDiameter, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {m_diameter, m_diameter}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    int m_diameter;
    int m_angle = 0;
    QVariantAnimation* m_rotation;
};

} // namespace marten
