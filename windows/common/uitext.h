#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

class QWidget;

namespace nuvela {

class Program;

/// The section of the language files that holds the texts the program shows
/// outside its windows' widgets: messages, prompts and dialog titles.
inline constexpr QStringView kMessagesSection = u"messages";

/// A text in the interface language: the language file's [messages] value
/// for key, or the built-in Hebrew when the language is Hebrew or its file
/// lacks the key. "%1" in either is left for the caller to fill.
QString uiText(Program& program, QStringView key, const QString& hebrew);

/// `text` with "%1", "%2", … replaced by `values`; a language's text may
/// leave any of them out (QString::arg would warn about the missing ones).
QString fillIn(QString text, const QStringList& values);

inline constexpr QChar kLeftToRightMark{0x200E};
inline constexpr QChar kRightToLeftMark{0x200F};

/// A file path, a web address or a name to be set into a sentence of either
/// direction: kept whole and left to right ("/tmp/page.jpg" would otherwise
/// show its slash at the other end in a Hebrew sentence).
QString leftToRight(const QString& text);

/// A user's text to be set into a sentence of either direction: held in the
/// direction of its own first letter, so that its end signs stay with it.
QString inOwnDirection(const QString& text);

/// The titles of the program's message boxes, in the interface language.
QString errorTitle(Program& program);
QString attentionTitle(Program& program);

/// Shows `text` as an error, under the interface language's title.
void tellError(Program& program, QWidget* parent, const QString& text);

} // namespace nuvela
