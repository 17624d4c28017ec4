// The picture decoders (BMP, GIF, JPEG, PNG and database-wrapped pictures)
// on arbitrary bytes.
#include "render/imagedb/picture_bytes.h"
#include "render/imagedb/picture_decode.h"

#include <QGuiApplication>

#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QGuiApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    (void)nuvela::pictureFormatAt(bytes);
    const QByteArray picture = nuvela::unwrapPictureBytes(bytes);
    (void)nuvela::decodePicture(picture);
    (void)nuvela::decodePicture(picture, QSize(40, 30)); // a frame's size: decoders may scale down
    return 0;
}
