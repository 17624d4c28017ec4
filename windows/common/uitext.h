#pragma once

#include <QString>
#include <QStringView>

namespace nuvela {

class Program;

/// The section of the language files that holds the texts the program shows
/// outside its windows' widgets: messages, prompts and dialog titles.
inline constexpr QStringView kMessagesSection = u"messages";

/// A text in the interface language: the language file's [messages] value
/// for key, or the built-in Hebrew when the language is Hebrew or its file
/// lacks the key. "%1" in either is left for the caller to fill.
QString uiText(Program& program, QStringView key, const QString& hebrew);

} // namespace nuvela
