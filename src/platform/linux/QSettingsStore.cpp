#include "platform/linux/QSettingsStore.h"

#include <QSettings>

namespace marten {

bool QSettingsStore::setFlags(const QMap<QString, bool>& flags, QString* error)
{
    QSettings settings(QStringLiteral("Marten"), QStringLiteral("Marten"));
    for (auto it = flags.cbegin(); it != flags.cend(); ++it)
        settings.setValue(it.key(), it.value());
    settings.sync();
    switch (settings.status()) {
    case QSettings::NoError:
        return true;
    case QSettings::AccessError:
        if (error)
            *error = QStringLiteral("cannot write %1").arg(settings.fileName());
        return false;
    case QSettings::FormatError:
        if (error)
            *error = QStringLiteral("%1 is not a valid settings file").arg(settings.fileName());
        return false;
    }
    return false;
}

} // namespace marten
