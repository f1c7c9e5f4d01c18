#include "platform/linux/QtAppControl.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QUrl>
#include <QWidget>

namespace marten {

void QtAppControl::quit()
{
    QCoreApplication::quit();
}

void QtAppControl::raiseAndActivate(QWidget* window)
{
    if (!window)
        return;
    // A minimised window is not brought back by show() or raise().
    if (window->windowState() & Qt::WindowMinimized)
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

bool DesktopUrlOpener::open(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

} // namespace marten
