#include "pagefixture.h"
#include "render/pictures.h"
#include "store/templates.h"
#include "test_pictures.h"

#include <QFile>

#include <utime.h>

using test::PageFixture;
using test::paper;
using nuvela::PageEnd;

namespace {

const QColor kRed(255, 0, 0), kGreen(0, 255, 0), kBlue(0, 0, 255), kWhite(255, 255, 255);

// A logo partly off the page is clipped. Its key colour staying
// transparent and its white taking the tint: the headline tests below.
TEST(BlitTransparent, ALogoPartlyOffThePageIsClipped)
{
    const QRgb black = qRgb(0, 0, 0), grey = qRgb(0x80, 0x80, 0x80);
    QImage logo(4, 1, QImage::Format_RGB32);
    for (int x = 0; x < 4; ++x)
        logo.setPixel(x, 0, x < 2 ? qRgb(0, 0, 255) : x == 2 ? black : grey);
    QImage small(2, 1, QImage::Format_RGB32);
    small.fill(Qt::red);
    nuvela::BlitTransparent(small, logo, -2, 0, nuvela::kLogoKey, qRgb(255, 255, 255));
    EXPECT_EQ(small.pixel(0, 0), black);
    EXPECT_EQ(small.pixel(1, 0), grey);
}

// A picture drawn at its own size is copied pixel for pixel from the
// rounded corner, wherever between pixels the corner falls.
TEST(PictureAt, CopiedAtItsOwnSizeFromTheRoundedCorner)
{
    QImage logo(7, 5, QImage::Format_RGB32);
    for (int y = 0; y < logo.height(); ++y)
        for (int x = 0; x < logo.width(); ++x)
            logo.setPixel(x, y, qRgb(x * 30, y * 50, 200));
    // x, y in twips; px, py: the corner's pixel
    struct Case { double x, y; int px, py; };
    for (const Case& c : {Case{150, 150, 10, 10}, Case{157.5, 142.5, 10, 10}, Case{164, 173, 11, 12},
                          Case{22.5, 7, 2, 0}}) {
        nuvela::Surface s(1);
        ASSERT_TRUE(s.resize(600, 600));
        s.clear();
        const QRgb background = s.image().pixel(30, 30);
        s.drawPictureAt(logo, QPointF(c.x, c.y));
        for (int y = 0; y < logo.height(); ++y)
            for (int x = 0; x < logo.width(); ++x)
                ASSERT_EQ(s.image().pixel(c.px + x, c.py + y) & 0xFFFFFF, logo.pixel(x, y) & 0xFFFFFF) << c.x << "," << c.y;
        EXPECT_EQ(s.image().pixel(c.px + logo.width(), c.py), background) << c.x;
        EXPECT_EQ(s.image().pixel(c.px, c.py + logo.height()), background) << c.x;
    }
}

TEST(PictureNames, PlainNamesOnlyForTemplates)
{
    for (const char* ok : {"a.png", "photo one.jpg", "x.y.z"})
        EXPECT_TRUE(nuvela::isPlainPictureName(QString::fromLatin1(ok))) << ok;
    for (const char* bad : {"../x.png", "a/b.png", "a\\b.png", "c:x.png", "..", ""})
        EXPECT_FALSE(nuvela::isPlainPictureName(QString::fromLatin1(bad))) << bad;
    EXPECT_EQ(nuvela::picturePath("/p", "C:\\pics\\me.jpg"), "C:/pics/me.jpg");
}

class Pictures : public PageFixture {
protected:
    void SetUp() override
    {
        writePicture("temppic/green.png", kGreen);
        std::vector<test::Record> records = {
            {"logobank", "Logo", logoBytes()},
            {"fixpic", "Mom's Flowers", test::encodedPicture(kRed, "PNG", {40, 30})},
            {"fixpic", "Mom's Flowers", test::encodedPicture(kGreen, "PNG", {40, 30})},
            {"fixpic", ".hidden", test::encodedPicture(kBlue, "PNG", {40, 30})},
            {"fixpic", "Broken", QByteArray("\x89PNG\r\n\x1a\n garbage", 16)},
        };
        test::writeImageDatabase(folder.file("nvdb.db"), records);
    }
    void writePicture(const char* name, const QColor& colour)
    {
        folder.write(name, test::encodedPicture(colour, "PNG", {40, 30}));
    }
    /// A logo of 40 × 20 pixels: a key-blue left half, a white right half.
    static QByteArray logoBytes()
    {
        QImage logo(40, 20, QImage::Format_RGB32);
        logo.fill(kBlue);
        for (int y = 0; y < 20; ++y)
            for (int x = 20; x < 40; ++x)
                logo.setPixel(x, y, qRgb(255, 255, 255));
        return test::encodedImage(logo, "PNG");
    }
    nuvela::PageOutcome draw(const QString& objects, const QString& texts = {}) { return render(paper() + objects, texts); }
    // Every picture box below is 1500 × 1500 twips at (1500, 1500): pixels 100 … 199.
    static QString frame(const char* type, const char* key = nullptr, const char* value = nullptr)
    {
        QString s = QStringLiteral("[object1]\nobjtype=%1\npicdim=1500,1500,1500,1500\n").arg(QLatin1String(type));
        if (key)
            s += QStringLiteral("%1=%2\n").arg(QLatin1String(key), QString::fromUtf8(value));
        return s;
    }
};

TEST_F(Pictures, PictureObjectNames)
{
    QImage placeholder(10, 10, QImage::Format_RGB32);
    placeholder.fill(QColor(255, 0, 255));
    // stored: "pic1" of version 1, or nullptr for none
    struct Case { const char* stored; QColor centre; };
    const QColor magenta(255, 0, 255);
    const Case cases[] = {
        {"green.png", kGreen},  {"nopic", kWhite}, {nullptr, magenta}, {"missing.png", magenta},
    };
    for (const Case& c : cases) {
        const QString texts = c.stored ? QStringLiteral("[tav101girsa1]\ntxt0=ok\npic1=%1\n").arg(QLatin1String(c.stored)) : QString();
        prepare(paper() + frame("picture"), texts);
        page->placeholder = placeholder;
        ASSERT_EQ(nuvela::DrawPage(*page).end, PageEnd::Complete);
        EXPECT_EQ(pixel(150, 150), c.centre) << (c.stored ? c.stored : "none");
        EXPECT_EQ(state.gpic[1].tag, c.stored ? QString::fromLatin1(c.stored) : nuvela::kFailed);
        EXPECT_TRUE(state.gpic[1].visible);
    }
    // A full path is used as it stands.
    writePicture("elsewhere/red.png", kRed);
    folder.write("templates/textdata.txt",
                 test::ansi(QStringLiteral("[tav101girsa1]\ntxt0=ok\npic1=%1\n").arg(folder.file("elsewhere/red.png"))));
    nuvela::DrawPage(*page);
    EXPECT_EQ(pixel(150, 150), kRed);
}

TEST_F(Pictures, DecodedPicturesAreNeverStale)
{
    const QByteArray path = QFile::encodeName(folder.file("temppic/green.png"));
    utimbuf old{1000000000, 1000000000};
    ASSERT_EQ(utime(path.constData(), &old), 0);
    draw(frame("fixpicture", "picname", "green.png"));
    EXPECT_EQ(pixel(150, 150), kGreen);
    // Replaced by a picture of the same size and the same modification time.
    writePicture("temppic/green.png", kRed);
    ASSERT_EQ(utime(path.constData(), &old), 0);
    draw(frame("fixpicture", "picname", "green.png"));
    EXPECT_EQ(pixel(150, 150), kRed);
}

TEST_F(Pictures, AnInvalidPictureIsReadOnceMoreThenTheBoxShowsThePlaceholder)
{
    folder.write("temppic/broken.jpg", "not a picture at all");
    // Two frames name the same broken file: the render waits for it once.
    prepare(paper() + frame("picture") + QString(frame("picture")).replace("object1", "object2"),
            "[tav101girsa1]\ntxt0=ok\npic1=broken.jpg\npic2=broken.jpg\n");
    page->placeholder = QImage(4, 4, QImage::Format_RGB32);
    page->placeholder.fill(kRed);
    int waits = 0;
    page->wait = [&](int ms) {
        EXPECT_EQ(ms, 1000);
        ++waits;
    };
    // Drawn again and again, the same damaged file costs no more waits; a
    // new version of it is tried once more, a good one is shown.
    struct Step { const char* rewrite; int waits; QColor centre; };
    const Step steps[] = {{nullptr, 1, kRed}, {nullptr, 1, kRed}, {"still not a picture", 2, kRed},
                          {nullptr, 2, kRed}, {"green", 2, kGreen}};
    for (const Step& s : steps) {
        if (s.rewrite && std::string(s.rewrite) == "green")
            writePicture("temppic/broken.jpg", kGreen);
        else if (s.rewrite)
            folder.write("temppic/broken.jpg", s.rewrite);
        EXPECT_EQ(nuvela::DrawPage(*page).end, PageEnd::Complete);
        EXPECT_EQ(waits, s.waits);
        EXPECT_EQ(pixel(150, 150), s.centre);
    }
}

TEST_F(Pictures, FixedPictureNames)
{
    using Cause = nuvela::PageStop::Cause;
    // cause: what a stopped page tells the user
    struct Case { const char* picname; QColor centre; PageEnd end; Cause cause = Cause::Database; };
    const Case cases[] = {
        {"green.png", kGreen, PageEnd::Complete},        // a file of the picture folder
        {"missing.png", kWhite, PageEnd::Complete},      // a missing file shows nothing
        {"../templates/x.png", kWhite, PageEnd::Complete}, // never outside the folder
        {"Mom's Flowers", kRed, PageEnd::Complete},      // the first record of the title
        {".hidden", kBlue, PageEnd::Complete},           // a leading dot is still a title
        {"No such title", kWhite, PageEnd::Stopped, Cause::MissingPicture},
        {"Broken", kWhite, PageEnd::Stopped, Cause::DamagedPicture},
    };
    for (const Case& c : cases) {
        const auto outcome = draw(frame("fixpicture", "picname", c.picname));
        EXPECT_EQ(outcome.end, c.end) << c.picname << ": " << outcome.error.toStdString();
        if (c.end == PageEnd::Stopped) {
            EXPECT_EQ(outcome.stop.cause, c.cause) << c.picname;
            EXPECT_EQ(outcome.stop.title, QString::fromUtf8(c.picname));
            EXPECT_EQ(outcome.stop.database, folder.file("nvdb.db"));
        }
        EXPECT_EQ(pixel(150, 150), c.centre) << c.picname;
        EXPECT_FALSE(state.gpic.count(1) && state.gpic[1].visible) << c.picname;
    }
    // A missing logo stops the page as well.
    const auto logo = draw(QStringLiteral("[object1]\nobjtype=koteret\ntype=It's missing\npicdim=0,0\n"));
    EXPECT_EQ(logo.end, PageEnd::Stopped);
    EXPECT_EQ(state.headline.kotxtTag, "1");
}

TEST_F(Pictures, TheDatabaseStopsThePageButTheFooterIsPrinted)
{
    const QString objects = QStringLiteral(
        "[object1]\nobjtype=malben\nobjdim=0,0,1500,1500\nFILLCOLOR=65280\n"
        "[object2]\nobjtype=fixpicture\npicdim=1500,1500,1500,1500\npicname=Unknown title\n"
        "[object3]\nobjtype=malben\nobjdim=4500,0,1500,1500\nFILLCOLOR=255\n");
    const auto outcome = draw(objects);
    EXPECT_EQ(outcome.end, PageEnd::Stopped);
    EXPECT_EQ(pixel(50, 50), kWhite);   // the canvas was cleared
    EXPECT_EQ(pixel(350, 50), kWhite);  // nothing after the failure
    EXPECT_FALSE(ink(QColor(0x33, 0x30, 0x2B), QRect(0, 545, 800, 55), 120).isEmpty());
    EXPECT_TRUE(state.gpic.empty()); // overlays removed
    // No database at all stops it for that reason.
    QFile::remove(folder.file("nvdb.db"));
    EXPECT_EQ(draw(objects).stop.cause, nuvela::PageStop::Cause::Database);
}

class Headline : public Pictures {
protected:
    QString headline(const char* extra) const
    {
        return QStringLiteral("[object1]\nobjtype=koteret\ntype=Logo\npicdim=1500,1500\n") + QString::fromUtf8(extra);
    }
    // The logo's key half is at pixels 100 … 119, its white half at 120 … 139.
    QColor keyHalf() const { return pixel(110, 110); }
    QColor whiteHalf() const { return pixel(130, 110); }
};

TEST_F(Headline, ColourRulesAndTheLogoText)
{
    const QString saved = QStringLiteral("[tav101girsa1]\ntxt0=ok\ncotarcolor=16711680\n"); // blue
    struct Case { const char* name; const char* keys; const char* texts; bool collVisible; QColor tinted; };
    const Case cases[] = {
        {"untinted", "", "", false, kWhite},
        {"tinted_without_button", "FILLCOLOR=255\nshowbot=True\n", "", false, kRed},
        {"tinted_with_button", "FILLCOLOR=255\nshowbot=true\n", "", true, kRed},
        {"saved_colour", "FILLCOLOR=255\nshowbot=true\n", "saved", true, kBlue},
        {"saved_colour_needs_the_button", "FILLCOLOR=255\n", "saved", false, kRed},
    };
    for (const Case& c : cases) {
        const auto outcome = draw(headline(c.keys), QString::fromLatin1(c.texts) == u"saved" ? saved : QString());
        ASSERT_EQ(outcome.end, PageEnd::Complete) << outcome.error.toStdString();
        EXPECT_EQ(state.headline.collVisible, c.collVisible) << c.name;
        EXPECT_EQ(whiteHalf(), c.tinted) << c.name;
        // Untinted logos are copied opaque: their key colour shows.
        EXPECT_EQ(keyHalf(), std::string(c.name) == "untinted" ? kBlue : kWhite) << c.name;
        EXPECT_EQ(state.headline.kotxtTag, "1");
        EXPECT_FALSE(state.headline.kotxtVisible) << "no shura1, no logo-text switch";
    }
    // The logo text replaces the logo, at picdim in the logo's size.
    draw(headline("FILLCOLOR=255\nshura1=65280,ARIAL,20,True,0,0,left,0\n"),
         QStringLiteral("[tav101girsa1]\ntxt0=ok\ntxt1=Logo text\n"));
    EXPECT_TRUE(state.headline.kotxtVisible);
    state.headline.kotxtChecked = true;
    state.overlaysPlaced = false;
    nuvela::DrawPage(*page);
    EXPECT_EQ(ink(kRed, QRect(95, 95, 60, 30), 60), QRect()); // no tinted logo
    EXPECT_EQ(ink(kBlue, QRect(95, 95, 60, 30), 60), QRect());
    EXPECT_FALSE(ink(kGreen, QRect(95, 95, 200, 40), 150).isEmpty()); // the text at picdim
    EXPECT_EQ(state.katava[1], QRectF(1500, 1500, 40 * 15, 20 * 15));
}

} // namespace
