#pragma once

#include "canvas/picturecache.h"
#include "canvas/surface.h"
#include "store/edition.h"
#include "store/keystore.h"
#include "store/pagestate.h"
#include "store/templates.h"

#include <QImage>
#include <QString>

#include <functional>
#include <memory>

namespace nuvela {

/// What the consecutive renders of one program (or of one preview) share,
/// and nothing else does: the pictures they decoded, and whether one of them
/// is drawing now (a render never nests). A preview with a session of its
/// own can neither block the page render nor disturb its pictures.
struct RenderSession {
    PictureCache pictures;
    bool drawing = false;
};

/// Everything one render reads and writes: the store (the selected
/// template's file and the text store), the shared page state, the canvas,
/// and the program's edition.
struct PageContext {
    PageContext(KeyStore& store_, PageState& state_, Surface& canvas_,
                Edition edition_ = Edition::Main)
        : store(store_), state(state_), canvas(canvas_), edition(edition_)
    {
    }

    KeyStore& store;
    PageState& state;
    Surface& canvas;
    Edition edition = Edition::Main;

    /// The staging surface of the image database (`Pickoteret`): the picture
    /// the last successful fetch delivered.
    QImage staged;
    /// The placeholder for a picture object whose picture file is missing;
    /// when it is empty, loadPlaceholder (if set) reads it on first need, so
    /// that a page whose pictures are all there never decodes it.
    QImage placeholder;
    std::function<QImage()> loadPlaceholder;

    /// The session this render belongs to: a context of its own unless a
    /// caller (PageSetup) shares one between its renders.
    std::shared_ptr<RenderSession> session = std::make_shared<RenderSession>();
    /// Above 0: only this object is drawn, without the footer line (an
    /// editor's preview of one object).
    int onlyObject = 0;

    /// Called once when a render starts and once when it ends; the program
    /// lets pending window events run and shows the busy pointer here.
    std::function<void()> started;
    std::function<void()> finished;
    /// Waits before a picture is read again; tests make it instant.
    std::function<void(int milliseconds)> wait;

    /// Reads a key of section "object" + n of the selected template.
    QString objectKey(int n, QStringView key)
    {
        return store.get(StoreMode::Get, QStringLiteral("object%1").arg(n), key);
    }
    /// The text store section of the version on the page.
    QString versionSection() const
    {
        return nuvela::versionSection(state.templateId, state.version);
    }
};

/// What stopped a page, for a message in the user's own language: the image
/// database could not be read, another program held it while changing it,
/// it has no picture of the title, or the picture it has cannot be shown.
struct PageStop {
    enum class Cause { Database, Busy, MissingPicture, DamagedPicture };
    Cause cause = Cause::Database;
    QString title;    ///< the logo's or picture's title
    QString database; ///< the image database file
};

/// What a drawer tells the driver: nothing, or the image-database failure
/// that stops the page, with its text.
struct DrawStatus {
    QString pageStop;
    PageStop stop;
    bool stopsPage() const { return !pageStop.isEmpty(); }
};

} // namespace nuvela
