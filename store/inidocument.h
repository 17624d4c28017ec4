#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

namespace nuvela {

/// One INI-style store file in memory, byte for byte. Lookups follow the
/// store's rules: section and key names match without regard to letter case,
/// the first matching section and the first matching key in it win, blanks
/// around a value are not part of it. Changing a value rewrites only that
/// value's bytes; comments, unknown lines, line order and line ends stay as
/// they were.
class IniDocument {
public:
    IniDocument() = default;
    /// Parses the raw bytes of a file (Windows-1255).
    explicit IniDocument(QByteArray bytes);

    /// The value of key in section, trimmed, or nothing when the section or
    /// the key is missing.
    std::optional<QString> value(QStringView section, QStringView key) const;

    /// Every non-blank line of the first matching section, trimmed, in file
    /// order (the form whole-section readers get).
    std::optional<QList<QString>> sectionLines(QStringView section) const;

    /// Names of the sections, in file order.
    QList<QString> sectionNames() const;

    /// Line numbers (from 1) for messages that point into the file: the
    /// header of each section in file order (as sectionNames()), the header
    /// of the first matching section, the first matching key in it.
    QList<int> headerLines() const;
    std::optional<int> sectionLine(QStringView section) const;
    std::optional<int> keyLine(QStringView section, QStringView key) const;

    /// Sets key in section to value: in place when the key exists, else as a
    /// new line after the section's last entry, else in a new section at the
    /// end of the file. Returns false when value cannot be stored in the
    /// file's code page; the document is then unchanged.
    bool setValue(QStringView section, QStringView key, QStringView value);

    const QByteArray& bytes() const { return bytes_; }

    /// Why the bytes were not taken as a store file (too many lines or
    /// sections for any page or text store, NUL bytes that no 8-bit text
    /// holds), or "" for a usable document. A refused document holds nothing.
    const QString& refusal() const { return refusal_; }

    /// No store file needs more: a template draws at most 50 objects, and the
    /// text store keeps ten versions of each template. Beyond these a file is
    /// refused before its index can take more memory than the machine has.
    static constexpr qsizetype kMaxLines = 500'000;
    static constexpr qsizetype kMaxSections = 20'000;

private:
    struct Line {
        qsizetype begin = 0; // offset of the line's first byte
        qsizetype end = 0;   // offset just past its last byte, before the line end
        qsizetype next = 0;  // offset of the next line
    };
    struct Section {
        qsizetype header = -1;           // line index of "[name]", -1 for the lines before any
        qsizetype lastLine = -1;         // last line index that belongs to the section
        qsizetype lastEntry = -1;        // last line index holding an entry
        QHash<QString, qsizetype> keys;  // folded key name → first line index
    };

    void parse();
    QByteArrayView lineBytes(qsizetype index) const;

    QByteArray bytes_;
    QList<Line> lines_;
    QList<Section> sections_;
    QHash<QString, qsizetype> sectionIndex_; // folded name → first section
    QString refusal_;
};

/// The form in which names are compared.
QString foldName(QStringView name);

/// The section name of a header line "[name]" as the reader sees it (blanks
/// around the line and the name ignored), or nothing for any other line.
std::optional<QByteArrayView> sectionHeaderName(QByteArrayView line);

} // namespace nuvela
