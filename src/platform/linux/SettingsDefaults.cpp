#include "platform/linux/SettingsDefaults.h"

#include <QSettings>

namespace marten {

bool SettingsDefaults::setBool(const QString& key, bool value, QString* error)
{
    QSettings settings(QStringLiteral("Marten"), QStringLiteral("Marten"));
    settings.setValue(key, value);
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
