#pragma once

#include "render/imagedb/picture_decode.h"
#include "windows/picedit/framing.h"

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

namespace nuvela {

/// The open dialog's filter for pictures, in the "description|patterns"
/// form: GIF, JPEG, BMP and PNG, and WebP where this Qt can read it.
QString pictureFilter();

/// A picture file read for the editor: a working copy no larger than the
/// editor needs, and the file's own size (after its EXIF orientation),
/// which decides the zoom range and the size of the applied picture.
struct EditorPicture {
    QImage working;
    QSize fullPixels;
    QString error; ///< why the file cannot be shown, "" when it can
    DecodedPicture::Failure failure = DecodedPicture::Failure::None; ///< the kind of that reason
    bool ok() const { return error.isEmpty() && !working.isNull(); }
};

/// Reads path once, decoded (by the reader's scaled size, so a large JPEG is
/// never decoded whole) just large enough to cover `needed` pixels.
EditorPicture loadEditorPicture(const QString& path, QSize needed);

/// Halvings of a working copy, so that a view drawn far smaller than the copy
/// is filtered from a near size instead of skipping pixels.
class PicturePyramid {
public:
    void reset(const QImage& picture);
    /// The smallest level at least `width` pixels wide (the full copy when
    /// none is smaller).
    const QImage& forWidth(double width) const;
    bool isNull() const { return levels_.isEmpty(); }

private:
    QList<QImage> levels_;
};

/// The pixel size the applied picture gets: the frame at up to 300 dpi,
/// never finer than the source's own pixels in the frame and never coarser
/// than the screen.
QSize outputPixels(const Framing& f, QSize sourcePixels);

/// A file name in folder that no file uses yet: the source's name up to its
/// first ".", "_" and the first free counter, ".jpg" ("photo_1.jpg").
/// Characters the text store cannot keep become "_"; an empty base counts as
/// "picture".
QString uniquePictureName(const QString& folder, const QString& sourcePath);

/// Whether the page can use the source file as it is: a picture format the
/// page reads, at a path the text store can keep.
bool pageCanUseSource(const QString& sourcePath);

/// What applying gives the picture overlay's tag, or why nothing changed.
struct AppliedPicture {
    QString tag;
    QString error;
    bool ok() const { return error.isEmpty(); }
};

/// Applying the editor: a stretched, unmirrored picture keeps its source
/// path; otherwise the framing is drawn from the full-resolution source at
/// the frame's print size and written as a JPEG of the given quality under a
/// new name in programDir/temppic. On failure no file is left behind.
AppliedPicture applyFraming(const QString& programDir, const QString& sourcePath, const Framing& f,
                            bool mirror, int quality);

} // namespace nuvela
