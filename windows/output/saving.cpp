#include "windows/output/saving.h"

#include "store/jpeg.h"
#include "store/outputfile.h"

#include <QFileInfo>

namespace nuvela {

SaveTarget saveTargetFor(const SaveChoice& choice)
{
    // Blanks typed after the name by accident would hide its extension
    // ("card.jpg " became "card.jpg .jpg").
    QString path = choice.path;
    while (path.endsWith(u' '))
        path.chop(1);
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"jpg" || suffix == u"jpeg")
        return {path, PictureFileFormat::Jpeg};
    if (suffix == u"bmp")
        return {path, PictureFileFormat::Bmp};
    if (suffix == u"png")
        return {path, PictureFileFormat::Png};
    if (suffix == u"pdf")
        return {path, PictureFileFormat::Pdf};
    const QString extension = choice.extension.isEmpty() ? QStringLiteral("jpg") : choice.extension.toLower();
    if (!path.endsWith(u'.'))
        path += u'.';
    PictureFileFormat format = PictureFileFormat::Jpeg;
    if (extension == u"bmp")
        format = PictureFileFormat::Bmp;
    else if (extension == u"png")
        format = PictureFileFormat::Png;
    else if (extension == u"pdf")
        format = PictureFileFormat::Pdf;
    return {path + extension, format};
}

StoreResult savePage(const QImage& page, const SaveTarget& target, int jpegQuality,
                     ReadOnlyFiles readOnly)
{
    if (target.format == PictureFileFormat::Bmp)
        return saveBmp(page, target.path, readOnly);
    if (target.format == PictureFileFormat::Png)
        return savePng(page, target.path, readOnly);
    return saveJpeg(page, target.path, jpegQuality, readOnly);
}

StoreResult saveDocument(const QByteArray& document, const QString& path, ReadOnlyFiles readOnly)
{
    return writeOutputFile(path, document, readOnly);
}

} // namespace nuvela
