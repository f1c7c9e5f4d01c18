#pragma once

class QLocale;
class QTranslator;

namespace marten {

// Loads the translation of the fixed texts for the user's preferred languages, in order.
// English is the language the texts are written in: reaching it first means no translation.
bool loadTranslation(QTranslator& translator, const QLocale& locale);

} // namespace marten
