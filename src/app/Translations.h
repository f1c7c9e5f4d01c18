#pragma once

class QLocale;
class QTranslator;

namespace marten {

// Loads the translation of the fixed texts for the user's preferred languages, in order.
// The C and POSIX locales get none: the texts show exactly as written. English, and a
// language with no catalogue of its own, get the English catalogue, which words the texts
// for this system (the right Super key, input access).
bool loadTranslation(QTranslator& translator, const QLocale& locale);

} // namespace marten
