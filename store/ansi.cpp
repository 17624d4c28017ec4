#include "store/ansi.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <optional>

namespace nuvela {

namespace {
constexpr const char* kCodePage = "windows-1255";
}

// Opening the code page's converter costs more than converting a line, and a
// store file is converted a key at a time; each thread keeps its own pair,
// since a converter is not shared. A single-byte code page leaves nothing
// pending between calls. An encoder that met a character outside the
// code page is dropped: its error mark would stay for every later text, and
// resetting it in place loses the code page.
QString decodeAnsi(QByteArrayView bytes)
{
    thread_local QStringDecoder decoder(kCodePage);
    return decoder.decode(bytes);
}

std::optional<QByteArray> encodeAnsi(QStringView text)
{
    // A NUL is no text: written into a store file, it would have the whole
    // file refused on the next reading, every version with it.
    if (text.contains(QChar(u'\0')))
        return std::nullopt;
    thread_local std::optional<QStringEncoder> encoder;
    if (!encoder)
        encoder.emplace(kCodePage);
    QByteArray bytes = encoder->encode(text);
    if (encoder->hasError()) {
        encoder.reset();
        return std::nullopt;
    }
    return bytes;
}

QStringList unencodableSigns(QStringView text)
{
    QStringList signs;
    if (encodeAnsi(text))
        return signs;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString sign = text.mid(i, n).toString();
        if (!signs.contains(sign) && !encodeAnsi(sign))
            signs.append(sign);
        i += n;
    }
    return signs;
}

bool hasUndefinedAnsi(QByteArrayView line)
{
    // Undefined bytes decode as U+FFFD, or as C1 controls (0x81, 0x8A, 0x90 …),
    // which no defined Windows-1255 byte maps to. Plain ASCII, most lines of
    // a store, needs no decoding.
    if (std::all_of(line.begin(), line.end(), [](char b) { return uchar(b) < 0x80; }))
        return false;
    const QString text = decodeAnsi(line);
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return c == QChar::ReplacementCharacter || (c.unicode() >= 0x80 && c.unicode() <= 0x9F);
    });
}

bool looksLikeUtf8(QByteArrayView line)
{
    return hasUndefinedAnsi(line) && QString::fromUtf8(line).toUtf8() == line;
}

} // namespace nuvela
