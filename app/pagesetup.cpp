#include "app/pagesetup.h"

#include "store/keystore.h"
#include "store/pagestate.h"
#include "store/templates.h"

#include <QFileInfo>
#include "render/imagedb/picture_decode.h"

namespace nuvela {

QString openTemplate(KeyStore& store, PageState& state, const QString& name)
{
    if (QString why = selectTemplate(store, state, name); !why.isEmpty())
        return why;
    const QFileInfo text(store.pathFor(StoreMode::GetTxt));
    if (text.exists() && (!text.isFile() || !text.isReadable()))
        return QStringLiteral("The text store %1 cannot be read.").arg(text.filePath());
    return {};
}

QString chooseVersion(KeyStore& store, PageState& state, int n)
{
    state.versionCount = countVersions(store, state);
    if (n > 1
        && store.get(StoreMode::GetTxt, versionSection(state.templateId, n), u"txt0") == kFailed)
        return QStringLiteral("The template \"%1\" has no stored version %2.").arg(state.tavnit).arg(n);
    state.version = n;
    return {};
}

void preparePictures(PageContext& page)
{
    // Read like any picture: only a regular file, within the picture limits.
    page.placeholder = decodePictureFile(page.store.programDir() + QStringLiteral("/nopic.png")).image;
}

} // namespace nuvela
