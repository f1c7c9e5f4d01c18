#pragma once

#include "core/Variant.h"

#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QWidget>

namespace marten {

class CloseButton;
class FTUEView;
class InputAccessPanel;
class OnboardingFlow;
struct Platform;

// The single onboarding window: no drawn title bar, fixed at 809 × 500, holding the flow.
// It can be moved by dragging its background, and closed with Ctrl+W or the "×" at its top
// right.
class OnboardingWindow final : public QWidget {
    Q_OBJECT
public:
    OnboardingWindow(Variant variant, Platform& platform, QWidget* parent = nullptr);
    ~OnboardingWindow() override;

    OnboardingFlow& flow() const { return *m_flow; }
    FTUEView* view() const { return m_view; }
    CloseButton* closeButton() const { return m_closeButton; }

    // Where the close button of `size` goes: the top-right corner, clear of the progress bar.
    static QPoint closeButtonOrigin(const QSize& size);

    // Where a window of `size` goes to be centred in `available` (top-left origin).
    static QPointF centredOrigin(const QRectF& available, const QSizeF& size);

    // Centres the window on the primary screen, titles it, fixes its size and level, and
    // brings it to the front; again 0.1 s later.
    void configureAndShow();

    // Brings the window to the front and gives it the keyboard focus.
    void raiseAndActivate();

    // Shows the input-access panel over the window (the one already open, if any); it closes
    // once the flow sees access granted.
    void showInputAccessPanel();

protected:
    bool focusNextPrevChild(bool next) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    Platform& m_platform;
    OnboardingFlow* m_flow;
    FTUEView* m_view;
    CloseButton* m_closeButton;
    QPointer<InputAccessPanel> m_panel;
};

} // namespace marten
