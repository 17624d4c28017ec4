#pragma once

#include "store/inifiles.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace nuvela {

struct PageState;

/// The store's marker for a missing file, section or key; every reader tests
/// for exactly this word.
inline const QString kFailed = QStringLiteral("failed");
/// The reader's default text: a stored value that begins with it reads as kFailed.
inline constexpr QStringView kFailedWord = u"Failed";
/// The answer to a write of an empty value.
inline const QString kErrorKeyValue = QStringLiteral("ERROR KeyValue");

/// Which file a store operation works on, named by a mode word.
enum class StoreMode {
    Get,       ///< "get": template file of the selected template, read
    Write,     ///< "write": same, write
    GetTxt,    ///< "gettxt": text store, read
    WriteTxt,  ///< "writetxt": text store, write
    GetTemp,   ///< "getemp": scratch store, read
    WriteTemp, ///< "ritemp": scratch store, write
    Lang,      ///< "lang": language file of the interface language, read
    None,      ///< any other word: nothing happens
};

/// "get" and "write" in any letter case; the other words exactly.
StoreMode parseStoreMode(QStringView word);

/// Result of `KeyValue`: the value read, a marker, or "" after a write. A
/// write that could not be carried out carries its reason in error (the
/// caller shows it and keeps the user's work); text is then empty.
struct KeyResult {
    QString text;
    QString error;
    bool ok() const { return error.isEmpty(); }
};

/// The file of template name in a program folder.
QString templateFilePath(const QString& programDir, const QString& name);
/// The language file of an interface language: "<programDir>/language/<language>.lng".
QString languageFilePath(const QString& programDir, const QString& language);

/// Keyed access to the template files, the text store, the scratch store and
/// the language files of one program folder. The template file is always the
/// one selected in the page state at the moment of the call.
class KeyStore {
public:
    KeyStore(QString programDir, const PageState& state);

    const QString& programDir() const { return programDir_; }

    /// `KeyValue`: reads when value is absent, writes otherwise.
    KeyResult keyValue(QStringView modeWord, QStringView section, QStringView key,
                       std::optional<QStringView> value = std::nullopt);

    /// Reads a value; "failed" when the file, section or key is missing (or
    /// when the stored value itself begins with "Failed", the reader's own
    /// default text). Returns "" for a write mode or StoreMode::None.
    QString get(StoreMode mode, QStringView section, QStringView key);

    /// Writes a value. An empty value writes nothing and gives
    /// "ERROR KeyValue" as text. Line breaks inside the value (CR LF, or a
    /// lone CR or LF) are stored as "~" so the file keeps its line structure.
    KeyResult write(StoreMode mode, QStringView section, QStringView key, QStringView value);

    /// Path of the file a mode works on ("" for StoreMode::None).
    QString pathFor(StoreMode mode) const;

    /// Values that text store reads of one section get instead of the
    /// stored ones (a batch card's own texts over a stored version); keys
    /// match without regard to case. Nothing is written. An empty set ends it.
    void overrideTextSection(const QString& section, const QHash<QString, QString>& values);

    /// Why the mode's file is there but refused whole (too large, too many
    /// lines or sections, not a regular file), or "".
    QString refusal(StoreMode mode);

    /// The shared file layer, for changes of many keys in one rewrite (a
    /// version saved or deleted, the settings of the options window).
    IniFiles& files() { return files_; }

private:
    QString programDir_;
    const PageState& state_;
    IniFiles files_;
    QString overrideSection_;              // folded section name
    QHash<QString, QString> overrides_;    // folded key → value
};

} // namespace nuvela
