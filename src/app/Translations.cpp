#include "app/Translations.h"

#include <QLocale>
#include <QTranslator>

namespace marten {

bool loadTranslation(QTranslator& translator, const QLocale& locale)
{
    for (QString language : locale.uiLanguages()) {
        language.replace(QLatin1Char('-'), QLatin1Char('_'));
        if (language == QLatin1String("C") || language.startsWith(QLatin1String("en")))
            return false;
        // "de_AT" falls back to "de", as QTranslator does for a single language.
        if (translator.load(QStringLiteral("marten_") + language, QStringLiteral(":/i18n")))
            return true;
    }
    return false;
}

} // namespace marten
