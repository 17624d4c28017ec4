#include "windows/picedit/picturefile.h"

#include "render/imagedb/picture_bytes.h"
#include "render/imagedb/jpeg_decode.h"
#include "render/imagedb/picture_decode.h"
#include "store/ansi.h"
#include "store/jpeg.h"
#include "store/numbers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace nuvela {

namespace {

// The applied picture: 300 dots to the inch at most (1440 twips / 300),
// and never coarser than the 96-dpi screen.
constexpr double kFinestTwipsPerPixel = 4.8;
constexpr double kCoarsestTwipsPerPixel = 15.0;
// Levels of the pyramid stop at this width.
constexpr int kSmallestLevel = 32;

bool webpReadable() { return QImageReader::supportedImageFormats().contains("webp"); }

/// The file's size as it is shown, i.e. turned by its EXIF orientation,
/// read for a JPEG as the page's decoder reads it.
QSize shownSize(const QString& path)
{
    QImageReader reader(path);
    QSize size = pictureSize(reader);
    QImageIOHandler::Transformations turn = reader.transformation();
    if (QFile file(path); file.open(QIODevice::ReadOnly) && file.size() <= kMaxPictureBytes
                          && pictureFormatAt(file.peek(8)) == PictureFormat::Jpeg)
        turn = jpegTransformation(file.readAll());
    if (turn & QImageIOHandler::TransformationRotate90)
        size.transpose();
    return size;
}

/// The four page formats through the page's own decoder (same limits, same
/// EXIF handling); WebP, which the page cannot read, through Qt directly.
DecodedPicture decodeAny(const QString& path, QSize needed)
{
    DecodedPicture d = decodePictureFile(path, needed);
    if (d.failure != DecodedPicture::Failure::Invalid || !webpReadable()
        || QImageReader::imageFormat(path) != "webp")
        return d;
    const QSize size = shownSize(path);
    if (!size.isValid() || size.width() > kMaxPictureSide || size.height() > kMaxPictureSide
        || qint64(size.width()) * size.height() > kMaxPicturePixels)
        return d;
    QImageReader reader(path);
    reader.setAutoTransform(true);
    QImage image = reader.read();
    if (image.isNull())
        return d;
    if (needed.isValid() && (image.width() > needed.width() && image.height() > needed.height()))
        image = image.scaled(needed, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    return {image, DecodedPicture::Failure::None, {}};
}

/// Transparent parts over white paper, as the page and the applied JPEG
/// show them: without this a transparent area showed its hidden colour.
QImage onPaper(const QImage& image)
{
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    QImage paper(image.size(), QImage::Format_RGB32);
    paper.fill(Qt::white);
    QPainter(&paper).drawImage(0, 0, image);
    return paper;
}

QString baseName(const QString& sourcePath)
{
    QString name = QFileInfo(QString(sourcePath).replace(u'\\', u'/')).fileName();
    if (const qsizetype dot = name.indexOf(u'.'); dot >= 0)
        name.truncate(dot);
    // The name is stored in the Windows-1255 text store and used as a file
    // name: anything either cannot hold becomes "_".
    static const QString unsafe = QStringLiteral("\\/:*?\"<>|~=[];");
    for (QChar& c : name) {
        if (c < u' ' || unsafe.contains(c) || !encodeAnsi(QString(c)))
            c = u'_';
    }
    return name.isEmpty() ? QStringLiteral("picture") : name;
}

} // namespace

QString pictureFilter()
{
    QString patterns = QStringLiteral("*.gif;*.jpg;*.jpeg;*.bmp;*.png");
    if (webpReadable())
        patterns += QStringLiteral(";*.webp");
    return QStringLiteral("All supported Images|") + patterns;
}

EditorPicture loadEditorPicture(const QString& path, QSize needed)
{
    EditorPicture picture;
    DecodedPicture decoded = decodeAny(path, needed);
    if (!decoded.ok()) {
        picture.error = decoded.error;
        picture.failure = decoded.failure;
        return picture;
    }
    picture.working = onPaper(decoded.image);
    picture.fullPixels = shownSize(path);
    if (!picture.fullPixels.isValid())
        picture.fullPixels = picture.working.size();
    return picture;
}

void PicturePyramid::reset(const QImage& picture)
{
    levels_.clear();
    if (picture.isNull())
        return;
    levels_.append(picture);
    while (levels_.last().width() / 2 >= kSmallestLevel && levels_.last().height() / 2 >= 1)
        levels_.append(levels_.last().scaled(levels_.last().width() / 2, levels_.last().height() / 2,
                                             Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

const QImage& PicturePyramid::forWidth(double width) const
{
    static const QImage none;
    if (levels_.isEmpty())
        return none;
    for (qsizetype i = levels_.size() - 1; i > 0; --i) {
        if (levels_[i].width() >= width)
            return levels_[i];
    }
    return levels_.first();
}

QSize outputPixels(const Framing& f, QSize sourcePixels)
{
    if (f.view.isEmpty())
        return {};
    double perTwip = 1 / kCoarsestTwipsPerPixel;
    if (!sourcePixels.isEmpty()) {
        const QSizeF drawn = drawnSize(f);
        perTwip = f.mode == FillMode::Stretched
            ? std::max(sourcePixels.width() / f.view.width(), sourcePixels.height() / f.view.height())
            : sourcePixels.width() / drawn.width();
    }
    perTwip = std::clamp(perTwip, 1 / kCoarsestTwipsPerPixel, 1 / kFinestTwipsPerPixel);
    return QSize(std::max(1, int(roundHalfEven(f.view.width() * perTwip))),
                 std::max(1, int(roundHalfEven(f.view.height() * perTwip))));
}

QString uniquePictureName(const QString& folder, const QString& sourcePath)
{
    const QString base = baseName(sourcePath);
    // Compared without regard to case, so the names stay apart on any disk.
    QSet<QString> used;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System))
        used.insert(name.toLower());
    for (int counter = 1;; ++counter) {
        const QString name = QStringLiteral("%1_%2.jpg").arg(base).arg(counter);
        if (!used.contains(name.toLower()))
            return name;
    }
}

bool pageCanUseSource(const QString& sourcePath)
{
    if (!QFileInfo(sourcePath).isAbsolute() || !encodeAnsi(sourcePath))
        return false;
    QFile file(sourcePath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return pictureFormatAt(file.peek(32)) != PictureFormat::Unknown;
}

AppliedPicture applyFraming(const QString& programDir, const QString& sourcePath, const Framing& f,
                            bool mirror, int quality)
{
    if (f.mode == FillMode::Stretched && !mirror && pageCanUseSource(sourcePath))
        return {sourcePath, {}};

    const QSize out = outputPixels(f, shownSize(sourcePath));
    if (out.isEmpty())
        return {{}, QStringLiteral("The frame has no size")};
    // Decoded just large enough for the picture as drawn at that size.
    const double scale = out.width() / f.view.width();
    const QSizeF drawn = drawnSize(f) * scale;
    const QSize needed(int(std::ceil(drawn.width())), int(std::ceil(drawn.height())));
    const DecodedPicture decoded = decodeAny(sourcePath, needed);
    if (!decoded.ok())
        return {{}, decoded.error};
    const QImage framed = composeFramed(mirror ? mirrored(decoded.image) : decoded.image, f, out);

    const QString folder = programDir + QStringLiteral("/temppic");
    if (!QDir().mkpath(folder))
        return {{}, QStringLiteral("Cannot create the folder %1").arg(folder)};
    const QString name = uniquePictureName(folder, sourcePath);
    if (const StoreResult saved = saveJpeg(framed, folder + u'/' + name, quality); !saved.ok())
        return {{}, saved.error};
    return {name, {}};
}

} // namespace nuvela
