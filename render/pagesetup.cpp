#include "render/pagesetup.h"

#include "render/imagedb/picture_decode.h"
#include "store/keystore.h"
#include "store/pagestate.h"
#include "store/templates.h"

#include <QFileInfo>

namespace nuvela {

PageSetup::PageSetup(KeyStore& store_, PageState& state_, Edition edition_)
    : store(store_)
    , state(state_)
    , edition(edition_)
{
}

QString PageSetup::openTemplate(const QString& name)
{
    const QFileInfo text(store.pathFor(StoreMode::GetTxt));
    if (text.exists() && (!text.isFile() || !text.isReadable()))
        return QStringLiteral("The text store %1 cannot be read.").arg(text.filePath());
    if (QString why = selectTemplate(store, state, name); !why.isEmpty())
        return why;
    state.versionCount = countVersions(store, state);
    return {};
}

QString PageSetup::chooseVersion(int n)
{
    if (n > 1
        && store.get(StoreMode::GetTxt, versionSection(state.templateId, n), u"txt0") == kFailed)
        return QStringLiteral("The template \"%1\" has no stored version %2.").arg(state.tavnit).arg(n);
    state.version = n;
    return {};
}

const QImage& PageSetup::placeholder()
{
    if (!placeholder_)
        // Read like any picture: only a regular file, within the picture limits.
        placeholder_ = decodePictureFile(store.programDir() + QStringLiteral("/nopic.png")).image;
    return *placeholder_;
}

PageContext PageSetup::context(Surface& canvas)
{
    PageContext page(store, state, canvas, edition);
    page.loadPlaceholder = [this] { return placeholder(); };
    page.session = session_;
    return page;
}

} // namespace nuvela
