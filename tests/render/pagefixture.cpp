#include "pagefixture.h"

#include "store/templates.h"
#include "support/pixels.h"

namespace test {

PageFixture::PageFixture() = default;

QString paper(const char* align, const char* id)
{
    return QStringLiteral("[templateid]\nid=%1\n[paper]\nsize=12000,9000\nalign=%2\ncoloredit=true\n")
        .arg(QLatin1String(id), QLatin1String(align));
}

void PageFixture::prepare(const QString& templateText, const QString& textStore, double scale)
{
    folder.write("templates/page.ini", ansi(templateText));
    folder.write("templates/textdata.txt", ansi(textStore));
    EXPECT_TRUE(nuvela::selectTemplate(store, state, QStringLiteral("page")).isEmpty());
    page.reset();
    canvas_ = std::make_unique<nuvela::Surface>(scale);
    page = std::make_unique<nuvela::PageContext>(store, state, *canvas_);
}

nuvela::PageOutcome PageFixture::render(const QString& templateText, const QString& textStore,
                                        double scale)
{
    prepare(templateText, textStore, scale);
    return nuvela::DrawPage(*page);
}

QRect PageFixture::ink(const QColor& colour, QRect area, int tolerance) const
{
    return inkBox(image(), [&](QColor c) {
        return std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) + std::abs(c.blue() - colour.blue())
            <= tolerance;
    }, area);
}

} // namespace test
