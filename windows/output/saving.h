#pragma once

#include "store/inifiles.h"
#include "store/outputfile.h"
#include "windows/common/dialogs.h"

#include <QImage>
#include <QString>

namespace nuvela {

/// The save dialog's filter: JPEG first, then the Windows bitmap, then PNG
/// and PDF (vector, fonts embedded).
inline constexpr QStringView kSaveFilter =
    u"JPEG File Interchange Format (*.jpg;*.jpeg)|*.jpg;*.jpeg|Bitmap Image (*.bmp)|*.bmp"
    u"|PNG Image (*.png)|*.png|PDF Document (*.pdf)|*.pdf";

enum class PictureFileFormat { Jpeg, Bmp, Png, Pdf };

struct SaveTarget {
    QString path;
    PictureFileFormat format = PictureFileFormat::Jpeg;
};

/// The file a save choice makes: the format follows the name's real
/// extension, in any letter case (".jpg" and ".jpeg" give JPEG under the
/// name as chosen, ".bmp" a bitmap, ".png" and ".pdf" theirs); a name
/// without one of these takes the chosen filter's extension.
SaveTarget saveTargetFor(const SaveChoice& choice);

/// Writes a picture of the page (not PDF): through a temporary file and an
/// atomic rename, so an existing file is replaced only by a complete new one.
/// A read-only file is replaced only when the user allowed it.
StoreResult savePage(const QImage& page, const SaveTarget& target, int jpegQuality,
                     ReadOnlyFiles readOnly = ReadOnlyFiles::Refuse);
/// Writes a finished document the same way.
StoreResult saveDocument(const QByteArray& document, const QString& path,
                         ReadOnlyFiles readOnly = ReadOnlyFiles::Refuse);

} // namespace nuvela
