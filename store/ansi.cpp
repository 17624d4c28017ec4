#include "store/ansi.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace nuvela {

namespace {
constexpr const char* kCodePage = "windows-1255";
}

QString decodeAnsi(QByteArrayView bytes)
{
    QStringDecoder decoder(kCodePage);
    return decoder.decode(bytes);
}

std::optional<QByteArray> encodeAnsi(QStringView text)
{
    QStringEncoder encoder(kCodePage);
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

} // namespace nuvela
