#pragma once

#include <QWidget>

class QVariantAnimation;

namespace marten {

// The short fade between two steps: a veil in the window's background colour laid over the
// new step and faded away. It needs no snapshot of the old step, so a transition costs no
// memory; a new step while a fade runs simply starts the veil again.
class StepFade final : public QWidget {
    Q_OBJECT
public:
    explicit StepFade(int durationMs, QWidget* parent = nullptr);

    void start(const QRect& geometry);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qreal m_opacity = 0.0;
    QVariantAnimation* m_fade;
};

} // namespace marten
