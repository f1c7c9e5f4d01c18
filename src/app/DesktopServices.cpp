#include "app/DesktopServices.h"

#include <QDesktopServices>
#include <QUrl>

namespace marten {

bool DesktopURLOpener::open(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

} // namespace marten
