#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace nuvela {

/// The one place where store files cross between their on-disk form
/// (Windows-1255, the Hebrew ANSI code page) and text in memory. Hebrew
/// letters and vowel points are separate code points on both sides, so a
/// round trip never changes a text.

/// Decodes Windows-1255 bytes. Bytes the code page leaves undefined become
/// U+FFFD; callers that must keep such bytes keep the raw bytes instead.
QString decodeAnsi(QByteArrayView bytes);

/// Encodes text as Windows-1255; std::nullopt when the text holds a character
/// the code page cannot represent (it would otherwise be stored as "?"), or
/// a NUL.
std::optional<QByteArray> encodeAnsi(QStringView text);

/// Whether a line meant as Windows-1255 is UTF-8 instead: it holds bytes the
/// code page leaves undefined (every UTF-8 Hebrew letter does) and reads
/// whole as UTF-8. Such a line decodes without error but shows garbled.
bool looksLikeUtf8(QByteArrayView line);

/// The characters (whole code points) of text that Windows-1255 cannot hold,
/// each once, in the order they first appear; empty when all can be stored.
QStringList unencodableSigns(QStringView text);

/// Whether the line holds bytes that Windows-1255 leaves undefined.
bool hasUndefinedAnsi(QByteArrayView line);

} // namespace nuvela
