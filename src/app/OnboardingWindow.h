#pragma once

#include "flow/Variant.h"

#include <QPointF>
#include <QRectF>
#include <QWidget>

namespace marten {

class FTUEView;
struct Platform;

// The single onboarding window: no drawn title bar, fixed at 809 × 500, holding the flow.
// It can be moved by dragging its background and closed with Ctrl+W.
class OnboardingWindow final : public QWidget {
    Q_OBJECT
public:
    OnboardingWindow(Variant variant, Platform& platform, QWidget* parent = nullptr);

    FTUEView* flow() const { return m_flow; }

    // Where a window of `size` goes to be centred in `available` (top-left origin).
    static QPointF centredOrigin(const QRectF& available, const QSizeF& size);

    // Centres the window on the primary screen, titles it, fixes its size and level, and
    // brings it to the front; again 0.1 s later.
    void configureAndShow();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void bringToFront();

    Platform& m_platform;
    FTUEView* m_flow;
};

} // namespace marten
