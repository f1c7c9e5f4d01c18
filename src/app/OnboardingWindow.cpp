#include "app/OnboardingWindow.h"

#include "flow/FTUEView.h"
#include "platform/AppControl.h"
#include "platform/Platform.h"
#include "platform/Scheduler.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>
#include <QWindow>

namespace marten {

OnboardingWindow::OnboardingWindow(Variant variant, Platform& platform, QWidget* parent)
    : QWidget(parent), m_platform(platform), m_flow(new FTUEView(variant, platform, this))
{
    setObjectName(QStringLiteral("onboardingWindow"));
    Qt::WindowFlags flags = Qt::Window | Qt::FramelessWindowHint;
    if (traitsFor(variant).floatingWindow)
        flags |= Qt::WindowStaysOnTopHint;
    setWindowFlags(flags);
    setWindowTitle(tr("Welcome to Marten"));
    setAccessibleName(tr("Welcome to Marten"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_flow);
    setFixedSize(FTUEView::kWidth, FTUEView::kHeight);

    auto* close = new QShortcut(QKeySequence::Close, this);
    close->setContext(Qt::WindowShortcut);
    connect(close, &QShortcut::activated, this, &QWidget::close);
}

QPointF OnboardingWindow::centredOrigin(const QRectF& available, const QSizeF& size)
{
    return {available.x() + (available.width() - size.width()) * 0.5,
            available.y() + (available.height() - size.height()) * 0.5};
}

void OnboardingWindow::configureAndShow()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QPointF origin = centredOrigin(QRectF(screen->availableGeometry()), QSizeF(size()));
        move(qRound(origin.x()), qRound(origin.y()));
    }
    show();
    m_platform.app.raiseAndActivate(this);
    m_platform.scheduler.after(std::chrono::milliseconds(100), this, [this] { bringToFront(); });
}

void OnboardingWindow::bringToFront()
{
    m_platform.app.raiseAndActivate(this);
}

void OnboardingWindow::mousePressEvent(QMouseEvent* event)
{
    // No title bar: the background is the handle to move the window by.
    if (event->button() == Qt::LeftButton && windowHandle()) {
        windowHandle()->startSystemMove();
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

} // namespace marten
