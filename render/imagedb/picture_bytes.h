#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace nuvela {

/// The picture file formats an image database may hold.
enum class PictureFormat { Unknown, Bmp, Gif, Jpeg, Png };

/// The format whose signature starts `bytes`, or Unknown.
PictureFormat pictureFormatAt(QByteArrayView bytes);

/// The name Qt's image reader knows the format by ("bmp", "gif", "jpeg",
/// "png"), empty for Unknown.
QByteArray qtFormatName(PictureFormat format);

/// Picture bytes without the object header that Access files often wrap
/// around them: the bytes from the first BMP, GIF, JPEG or PNG signature found
/// near the start. A BMP is cut to the length its header declares, so the
/// wrapper's trailer does not travel with it. Bytes without a signature are
/// returned as they are (the decoder then reports them as invalid).
QByteArray unwrapPictureBytes(const QByteArray& bytes);

} // namespace nuvela
