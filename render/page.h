#pragma once

#include "render/surface.h"
#include "store/edition.h"
#include "store/keystore.h"
#include "store/pagestate.h"

#include <QImage>
#include <QSet>
#include <QString>

#include <functional>

namespace nuvela {

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
    /// The placeholder for a picture object whose picture file is missing.
    QImage placeholder;

    /// Called once when a render starts and once when it ends; the program
    /// lets pending window events run and shows the busy pointer here.
    std::function<void()> started;
    std::function<void()> finished;
    /// Waits before a picture is read again; tests make it instant.
    std::function<void(int milliseconds)> wait;
    /// Picture files this render already waited for in vain: a page that
    /// names one damaged file fifty times waits once.
    QSet<QString> waitedFor;

    /// Reads a key of section "object" + n of the selected template.
    QString objectKey(int n, QStringView key)
    {
        return store.get(StoreMode::Get, QStringLiteral("object%1").arg(n), key);
    }
    /// The text store section of the version on the page.
    QString versionSection() const
    {
        return QStringLiteral("tav%1girsa%2").arg(state.templateId).arg(state.version);
    }
};

/// What a drawer tells the driver: nothing, or the image-database failure
/// that stops the page, with its text.
struct DrawStatus {
    QString pageStop;
    bool stopsPage() const { return !pageStop.isEmpty(); }
};

} // namespace nuvela
