#include "platform/linux/QtAppControl.h"

#include <QCoreApplication>

namespace marten {

void QtAppControl::quit()
{
    QCoreApplication::quit();
}

} // namespace marten
