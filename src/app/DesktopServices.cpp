#include "app/DesktopServices.h"

#include "platform/linux/ProcessSetup.h"

#include <QProcess>
#include <QUrl>

namespace marten {

bool DesktopURLOpener::open(const QUrl& url)
{
    // The desktop's handler, started with the environment the user started this program
    // with: the browser must not inherit a bus this run left out.
    QProcess opener;
    opener.setProgram(QStringLiteral("xdg-open"));
    opener.setArguments({url.toString(QUrl::FullyEncoded)});
    opener.setProcessEnvironment(process::startEnvironment());
    opener.setStandardInputFile(QProcess::nullDevice());
    return opener.startDetached();
}

} // namespace marten
