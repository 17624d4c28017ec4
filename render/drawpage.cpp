#include "render/drawpage.h"

#include "render/drawers.h"
#include "render/pictures.h"
#include "store/numbers.h"
#include "text/textobject.h"
#include "text/textrow.h"

namespace nuvela {

namespace {

using Drawer = DrawStatus (*)(PageContext&, int);

struct TypeWord {
    QStringView word;
    Drawer draw;
};

DrawStatus drawText(PageContext& page, int n) { return DrawTextObject(page, n, false); }

// Type words compare exactly, letter case included; other words are skipped.
constexpr TypeWord kDrawers[] = {
    {u"malben", DrawRectangle},
    {u"koteret", DrawHeadline},
    {u"picture", DrawPictureObject},
    {u"fixpicture", DrawFixedPicture},
    {u"text", drawText},
    {u"fixtext", DrawFixedTextObject},
    {u"circle", DrawEllipse},
    {u"polygon", DrawStar},
    {u"triangle", DrawTriangle},
};

Drawer drawerFor(QStringView type)
{
    for (const TypeWord& t : kDrawers) {
        if (t.word == type)
            return t.draw;
    }
    return nullptr;
}

/// Keeps the renders of a session from nesting when a window event that
/// runs at the start of one asks for another.
class RenderGuard {
public:
    explicit RenderGuard(std::shared_ptr<RenderSession> session)
        : session_(std::move(session))
        , entered_(!session_->drawing)
    {
        session_->drawing = true;
    }
    ~RenderGuard()
    {
        if (entered_)
            session_->drawing = false;
    }
    bool entered() const { return entered_; }

private:
    std::shared_ptr<RenderSession> session_; // kept alive for the whole render
    bool entered_;
};

// Footer colour 0x002B3033, a near-black grey.
constexpr std::uint32_t kFooterColour = 2830387;
// Height of the footer band at the bottom of the page, twips.
constexpr double kFooterBand = 820;

} // namespace

std::array<TextRow, 2> footerRows(const QString& templateId, double width, double height)
{
    const bool main = templateId.startsWith(u'1');
    TextRow row;
    row.colour = kFooterColour;
    row.font = QStringLiteral("ARIAL");
    row.bold = true;
    row.charset = main ? 177 : 0;
    row.x = 0.02 * width;
    row.y = height - kFooterBand;
    row.w = 0.96 * width;
    row.h = kFooterBand;
    row.angle = 0;

    TextRow address = row;
    address.size = 24;
    address.offset = 1;
    address.text = main ? QStringLiteral("www.nuvela.example") : QStringLiteral("www.bolumen.example");
    address.align = QStringLiteral("left");

    TextRow notice = row;
    notice.size = 12;
    notice.offset = 120;
    notice.text = main ? QStringLiteral("לא רשמי - לצרכי בידור בלבד.")
                       : QStringLiteral("Not official - For entertainment only.");
    notice.align = QStringLiteral("right");
    return {address, notice};
}

void DrawFooter(PageContext& page, double width, double height)
{
    for (TextRow row : footerRows(page.state.templateId, width, height)) {
        // The closing full stop takes the page's reading order and would
        // stand before a Hebrew notice on a left-to-right page (or before an
        // English one on a right-to-left page); an invisible mark of the
        // notice's own direction keeps it at the end of the sentence.
        if (row.text.endsWith(u'.'))
            row.text += row.charset == 177 ? QChar(0x200F) : QChar(0x200E);
        DrawTextRow(page.canvas, page.state.rightToLeft(), row);
    }
}

PageOutcome DrawPage(PageContext& page)
{
    RenderGuard guard(page.session);
    if (!guard.entered())
        return {PageEnd::Refused, QStringLiteral("A page is being drawn already."), {}};
    if (page.started)
        page.started();

    PageOutcome outcome;
    Surface& canvas = page.canvas;
    canvas.rightToLeft = page.state.rightToLeft();

    const Fields size(page.store.get(StoreMode::Get, u"paper", u"size"));
    const auto w = size.number(0), h = size.number(1);
    QString sizeError;
    const bool sized = w && h && canvas.resize(*w, *h, &sizeError);
    if (!sized) {
        outcome = {PageEnd::NoPage,
                   sizeError.isEmpty()
                       ? QStringLiteral("The template \"%1\" gives no page size ([paper] size).")
                             .arg(page.state.tavnit)
                       : sizeError,
                   {}};
    }
    // A page that was sized is white already; wiping it again would write
    // a 300 dpi page's 34 MB a second time.
    if (!sized)
        canvas.clear();
    canvas.fillStyle = FillStyle::Solid;

    for (int n = 1; n <= kMaxObjects; ++n) {
        const QString type = page.objectKey(n, u"objtype");
        if (type == kFailed)
            break;
        if (page.onlyObject > 0 && n != page.onlyObject)
            continue;
        const Drawer draw = drawerFor(type);
        if (!draw)
            continue;
        // Checked right after the drawer, so that a failure in the last
        // object is reported too.
        const DrawStatus status = draw(page, n);
        if (status.stopsPage()) {
            removeOverlays(page.state);
            canvas.clear();
            outcome = {PageEnd::Stopped, status.pageStop, status.stop};
            break;
        }
    }

    if (sized && page.onlyObject <= 0)
        DrawFooter(page, *w, *h);
    if (page.finished)
        page.finished();
    return outcome;
}

} // namespace nuvela
