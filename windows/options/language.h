#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

class QWidget;

namespace nuvela {

class IniFiles;

/// The built-in interface language: the windows' own texts, no file.
inline constexpr QStringView kBuiltInLanguage = u"hebrew";

/// A window's section is read into a buffer of this many characters: its
/// entries, each ended by a NUL, and one more NUL that ends the list.
inline constexpr int kLanguageSectionBuffer = 1300;

/// One entry of a window section: "widget.Property=value",
/// "widget(3).Property=value" or "form.Property=value".
struct LanguageEntry {
    QString target;   ///< the text before the first "."
    QString property; ///< the text between the first and the second "."
    QString value;    ///< the text between the first and the second "="
};


/// The lines of a section that the buffer holds whole: reading stops at the
/// first line that would not fit, so a cut line is never applied with a
/// shortened value.
QStringList linesWithinBuffer(const QStringList& lines);
/// Characters the section takes in the buffer, NULs included.
int sectionBufferLength(const QStringList& lines);

/// std::nullopt for a line without "=" or a key without ".".
std::optional<LanguageEntry> parseLanguageEntry(QStringView line);

/// Applies one entry to the window: finds its widget ("form" is the window;
/// "name(d)" is element d of array name, found by cutting the last three
/// characters off the target), prepares it for left-to-right text, sets the
/// property, and moves `flip` and `picstat` to the left edge. Returns whether
/// the property was set; every failing step is skipped, and an entry without
/// a value changes nothing.
bool applyLanguageEntry(QWidget* window, const LanguageEntry& entry);

/// Gives the window the texts of the current interface language: the section
/// named like the window in "<programDir>/language/<language>.lng". A
/// language without a file becomes "hebrew", and "hebrew" changes nothing.
void ApplyLanguage(QWidget* window, const QString& programDir, QString& currentLanguage);

/// What keeps a language file from giving the windows its texts as written.
struct LanguageFileFault {
    bool utf8 = false;  ///< read as Windows-1255, its letters beyond ASCII show garbled
    QString unreadable; ///< why no text of it can be read at all
};

/// The fault of the language file at `path`, or nothing when it reads well
/// or is no file at all (that language silently becomes "hebrew").
std::optional<LanguageFileFault> languageFileFault(IniFiles& files, const QString& path);

/// Gives every widget that a language changed its window's own value back
/// (text, reading order, alignment), so an open window can change language
/// again, also back to the built-in Hebrew.
void RestoreBuiltInTexts(QWidget* window);

} // namespace nuvela
