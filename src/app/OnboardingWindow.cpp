#include "app/OnboardingWindow.h"

#include "app/FTUEView.h"
#include "app/X11WindowType.h"
#include "core/InputAccessStep.h"
#include "core/OnboardingFlow.h"
#include "core/platform/Platform.h"
#include "core/platform/Scheduler.h"
#include "screens/InputAccessPanel.h"
#include "screens/StepTable.h"
#include "ui/Accessibility.h"
#include "ui/NavigationControls.h"
#include "ui/Overlay.h"
#include "ui/ProgressBar.h"
#include "ui/Theme.h"
#include "ui/WindowIcon.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>
#include <QWindow>

namespace marten {

OnboardingWindow::OnboardingWindow(Variant variant, Platform& platform, QWidget* parent)
    : QWidget(parent), m_platform(platform),
      m_flow(new OnboardingFlow(onboardingSteps(), variant, platform, this)),
      m_view(new FTUEView(*m_flow, platform, this))
{
    setObjectName(QStringLiteral("onboardingWindow"));
    // A frame to screen readers, as a top-level window with a title is.
    a11y::setRole(this, QAccessible::Window);
    Qt::WindowFlags flags = Qt::Window | Qt::FramelessWindowHint;
    if (traitsFor(variant).floatingWindow)
        flags |= Qt::WindowStaysOnTopHint;
    setWindowFlags(flags);
    setWindowTitle(tr("Welcome to Marten"));
    // On X11 the icon becomes the window's _NET_WM_ICON for the task switcher and the dock.
    // The built-in one comes just after the first frame; the icon theme's copy, where the
    // desktop has one, replaces it once the theme has been read off the GUI thread.
    windowicon::adoptFromThemeAfterFirstPaint(m_view, QStringLiteral("com.marten.Onboarding"));
    setAccessibleName(tr("Welcome to Marten"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFixedSize(FTUEView::kWidth, FTUEView::kHeight);

    // The same way out for the mouse and for Ctrl+W.
    m_closeButton = new CloseButton(this);
    m_closeButton->move(closeButtonOrigin(m_closeButton->size()));
    m_closeButton->raise();
    connect(m_closeButton, &QAbstractButton::clicked, this, &QWidget::close);
    auto* close = new QShortcut(QKeySequence::Close, this);
    close->setContext(Qt::WindowShortcut);
    connect(close, &QShortcut::activated, this, &QWidget::close);
    connect(m_flow, &OnboardingFlow::raiseRequested, this, &OnboardingWindow::raiseAndActivate);
    connect(m_flow, &OnboardingFlow::inputAccessHelpRequested, this,
            &OnboardingWindow::showInputAccessPanel);
    // The panel is gone as soon as access is there.
    connect(&m_flow->inputAccessStep(), &InputAccessStep::stateChanged, this, [this] {
        if (m_panel && m_flow->inputAccessStep().isGranted())
            m_panel->close();
    });
}

// The view goes before the flow it shows.
OnboardingWindow::~OnboardingWindow()
{
    delete m_view;
}

QPoint OnboardingWindow::closeButtonOrigin(const QSize& size)
{
    // Mirrors the Back chevron: as far in from the right edge as the chevron's centre is from
    // the left one, at the chevron's height, below the progress bar.
    const int inset = theme::defaultPadding + 8;
    const int centreY = theme::defaultPadding + ProgressBar::kHeight + theme::defaultPadding + 8;
    return {FTUEView::kWidth - inset - (size.width() + 1) / 2, centreY - size.height() / 2};
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
    // Created first, so that the window is typed as a normal one before it is mapped.
    winId();
    if (QWindow* handle = windowHandle())
        markAsNormalX11Window(*handle);
    show();
    raiseAndActivate();
    m_platform.scheduler.after(std::chrono::milliseconds(100), this,
                               [this] { raiseAndActivate(); });
}

void OnboardingWindow::raiseAndActivate()
{
    // A minimised window is not brought back by show() or raise().
    if (windowState() & Qt::WindowMinimized)
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void OnboardingWindow::showInputAccessPanel()
{
    // A closed panel is on its way out.
    if (m_panel && m_panel->isHidden())
        m_panel = nullptr;
    if (!m_panel) {
        m_panel = new InputAccessPanel(m_platform.scheduler, m_platform.inputAccessGranter, this);
        m_panel->setPrimaryButtonStyle(m_flow->traits().primaryButtonStyle);
    }
    m_panel->present();
}

bool OnboardingWindow::focusNextPrevChild(bool next)
{
    // The step's own controls come first; then Back, and Close last of all, so that Tab from
    // a step's button never goes straight to the control that ends the onboarding. Both are
    // built before the steps, so the focus chain alone would put them first.
    QList<QWidget*> stops = focus::tabStops(this);
    for (QWidget* chrome : {findChild<QWidget*>(QStringLiteral("backButton")),
                            static_cast<QWidget*>(m_closeButton)}) {
        if (stops.removeOne(chrome))
            stops.append(chrome);
    }
    return focus::cycle(stops, next);
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
