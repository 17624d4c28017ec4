#pragma once

#include <QString>

namespace nuvela {

class Program;

/// The locale of Qt's own translations for the interface language: "he" for
/// the built-in Hebrew, else the language file's [messages] qtlocale ("" when
/// it names none).
QString qtLocaleFor(Program& program);

/// Makes Qt's own dialogs (file, print, colour, font, message buttons) speak
/// the interface language and read in its direction: loads Qt's translations
/// for it, replacing those of an earlier language. Returns whether a
/// translation was found (English needs none).
bool useQtTranslations(Program& program);

} // namespace nuvela
