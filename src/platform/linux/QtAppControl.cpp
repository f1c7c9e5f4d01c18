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
    window->show();
    window->raise();
    window->activateWindow();
}

bool DesktopUrlOpener::open(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

} // namespace marten
