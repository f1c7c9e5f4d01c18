#pragma once

class QLocale;
class QTranslator;

namespace marten {

// Loads the translation of the fixed texts for the user's preferred languages, in order,
// skipping the ones with no catalogue. English, the C and POSIX locales, and a language with
// no catalogue of its own get the English catalogue, which words the texts for this system
// (the right Super key, input access): the texts as written are keys, never shown.
bool loadTranslation(QTranslator& translator, const QLocale& locale);

} // namespace marten
