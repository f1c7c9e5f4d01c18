#include "app/Translations.h"

#include <QLocale>
#include <QTranslator>

namespace marten {

bool loadTranslation(QTranslator& translator, const QLocale& locale)
{
    const QString folder = QStringLiteral(":/i18n");
    for (QString language : locale.uiLanguages()) {
        language.replace(QLatin1Char('-'), QLatin1Char('_'));
        if (language.startsWith(QLatin1String("en")))
            break;
        // "de_AT" falls back to "de", as QTranslator does for a single language. A tag with
        // no catalogue ("C", "POSIX", or one Qt does not know, which it lists as "C" as well)
        // is passed over, so that LANGUAGE=xx:de still finds German.
        if (translator.load(QStringLiteral("marten_") + language, folder))
            return true;
    }
    // English, C, POSIX and any language without a catalogue of its own get the English one.
    return translator.load(QStringLiteral("marten_en"), folder);
}

} // namespace marten
