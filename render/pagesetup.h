#pragma once

#include "canvas/page.h"

#include <QImage>
#include <QString>

#include <optional>

namespace nuvela {

/// How every caller puts a page in front of the render driver (the main
/// window, the output window, `nuvela-render`, the editors' previews): it
/// opens a template, puts one of its versions on the page and builds the
/// render context with what a render needs besides the template.
class PageSetup {
public:
    PageSetup(KeyStore& store, PageState& state, Edition edition = Edition::Main);

    /// Makes name the selected template (see selectTemplate), counts its
    /// stored versions, and refuses a text store that exists but cannot be
    /// read. Returns "" or why the page cannot be opened; the state is then
    /// the previous template's, or cleared by selectTemplate's own refusal.
    QString openTemplate(const QString& name);

    /// Puts version n of the open template on the page. Version 1 always
    /// exists (a template without stored versions shows its defaults); a
    /// higher number must be stored.
    QString chooseVersion(int n);

    /// A render context on canvas for the state and store of this setup,
    /// with the placeholder picture of the program folder; every context of
    /// one setup belongs to the same render session.
    PageContext context(Surface& canvas);

    /// The picture a frame shows when its own cannot be: "nopic.png" of the
    /// program folder, read once.
    const QImage& placeholder();

    KeyStore& store;
    PageState& state;
    Edition edition;

    RenderSession& session() { return *session_; }

private:
    std::optional<QImage> placeholder_;
    std::shared_ptr<RenderSession> session_ = std::make_shared<RenderSession>();
};

} // namespace nuvela
