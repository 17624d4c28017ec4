#include "windows/output/saving.h"

#include "store/jpeg.h"

#include <QFileInfo>
#include <QSaveFile>

namespace nuvela {

SaveTarget saveTargetFor(const SaveChoice& choice)
{
    const QString suffix = QFileInfo(choice.path).suffix().toLower();
    if (suffix == u"jpg" || suffix == u"jpeg")
        return {choice.path, PictureFileFormat::Jpeg};
    if (suffix == u"bmp")
        return {choice.path, PictureFileFormat::Bmp};
    if (suffix == u"png")
        return {choice.path, PictureFileFormat::Png};
    if (suffix == u"pdf")
        return {choice.path, PictureFileFormat::Pdf};
    const QString extension = choice.extension.isEmpty() ? QStringLiteral("jpg") : choice.extension.toLower();
    QString path = choice.path;
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

StoreResult savePage(const QImage& page, const SaveTarget& target, int jpegQuality)
{
    if (target.format == PictureFileFormat::Bmp)
        return saveBmp(page, target.path);
    if (target.format == PictureFileFormat::Png)
        return savePng(page, target.path);
    return saveJpeg(page, target.path, jpegQuality);
}

StoreResult saveDocument(const QByteArray& document, const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(document) != document.size() || !file.commit())
        return {QStringLiteral("Cannot write \"%1\": %2").arg(path, file.errorString())};
    return {};
}

} // namespace nuvela
