#include "app/Translations.h"

#include <QLocale>
#include <QTranslator>

namespace marten {

bool loadTranslation(QTranslator& translator, const QLocale& locale)
{
    const QString folder = QStringLiteral(":/i18n");
    for (QString language : locale.uiLanguages()) {
        language.replace(QLatin1Char('-'), QLatin1Char('_'));
        // The C and POSIX locales show the texts exactly as they are written.
        if (language == QLatin1String("C") || language == QLatin1String("POSIX"))
            return false;
        if (language.startsWith(QLatin1String("en")))
            break;
        // "de_AT" falls back to "de", as QTranslator does for a single language.
        if (translator.load(QStringLiteral("marten_") + language, folder))
            return true;
    }
    // English, and any language without a catalogue of its own, get the English one.
    return translator.load(QStringLiteral("marten_en"), folder);
}

} // namespace marten
