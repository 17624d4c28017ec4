#include "windows/output/export.h"

#include "render/drawpage.h"
#include "render/pagesetup.h"
#include "render/preview.h"
#include "windows/common/program.h"

#include <QBuffer>
#include <QPdfWriter>

#include <algorithm>

namespace nuvela {

namespace {

/// Draws the page on screen once more on its own surface, from a copy of the
/// page state with a store and render session of its own: the overlays, the
/// headline controls and the page view's canvas stay as they are.
QString redraw(Program& program, Surface& surface)
{
    PageState state = program.state;
    state.overlaysPlaced = true; // overlays belong to the page view only
    KeyStore store(program.dir(), state);
    PageSetup setup(store, state, program.edition());
    PageContext page = setup.context(surface);
    const PageOutcome outcome = DrawPage(page);
    return outcome.end == PageEnd::Complete ? QString() : outcome.error;
}

} // namespace

QImage drawPageAt(Program& program, double scale, QString* error)
{
    if (scale == 1.0)
        return program.canvas.image();
    PageState state = program.state;
    state.overlaysPlaced = true;
    const PagePicture picture = PagePreview(program.dir(), program.edition(), scale).draw(state);
    if (picture.outcome.end != PageEnd::Complete) {
        *error = picture.outcome.error;
        return {};
    }
    return picture.image;
}

QByteArray drawPagePdf(Program& program, QString* error)
{
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    Surface surface;
    {
        QPdfWriter writer(&pdf);
        writer.setTitle(program.state.tavnit);
        writer.setCreator(program.title());
        // Fine enough that pixel-aligned boxes and lines land where the
        // screen puts them.
        writer.setResolution(1440);
        surface.setVectorTarget(&writer);
        if (QString why = redraw(program, surface); !why.isEmpty()) {
            surface.endVector();
            *error = why;
            return {};
        }
        if (!surface.endVector() || surface.vectorCleared()) {
            *error = QStringLiteral("The page could not be drawn as a PDF document.");
            return {};
        }
    }
    return pdf.data();
}

int savedDpi(Program& program)
{
    const int dpi = program.store.get(StoreMode::GetTxt, u"interface", u"savedpi").toInt();
    return std::find(std::begin(kExportDpis), std::end(kExportDpis), dpi) != std::end(kExportDpis) ? dpi
                                                                                                    : kScreenDpi;
}

QString rememberDpi(Program& program, int dpi)
{
    return program.store.write(StoreMode::WriteTxt, u"interface", u"savedpi", QString::number(dpi)).error;
}

} // namespace nuvela
