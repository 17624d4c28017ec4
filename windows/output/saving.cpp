#include "windows/output/saving.h"

#include "store/jpeg.h"

#include <QFileInfo>

namespace nuvela {

SaveTarget saveTargetFor(const SaveChoice& choice)
{
    const QString suffix = QFileInfo(choice.path).suffix().toLower();
    if (suffix == u"jpg" || suffix == u"jpeg")
        return {choice.path, PictureFileFormat::Jpeg};
    if (suffix == u"bmp")
        return {choice.path, PictureFileFormat::Bmp};
    const bool bitmap = choice.extension.compare(u"bmp", Qt::CaseInsensitive) == 0;
    const QString extension = choice.extension.isEmpty() ? QStringLiteral("jpg") : choice.extension.toLower();
    QString path = choice.path;
    if (!path.endsWith(u'.'))
        path += u'.';
    return {path + extension, bitmap ? PictureFileFormat::Bmp : PictureFileFormat::Jpeg};
}

StoreResult savePage(const QImage& page, const SaveTarget& target, int jpegQuality,
                     ReadOnlyFiles readOnly)
{
    if (target.format == PictureFileFormat::Bmp)
        return saveBmp(page, target.path, readOnly);
    return saveJpeg(page, target.path, jpegQuality, readOnly);
}

} // namespace nuvela
