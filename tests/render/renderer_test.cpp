#include "app/renderjob.h"
#include "store/templates.h"
#include "support/testdirs.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

struct RunResult {
    int exitCode = -1;
    QString err;
};

/// Runs nuvela-render as a server or a cron job would: no display and no
/// environment at all.
RunResult renderer(const QStringList& args)
{
    QProcess p;
    p.setProcessEnvironment(QProcessEnvironment());
    p.start(QStringLiteral(NUVELA_RENDER_EXE), args);
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromLocal8Bit(p.readAllStandardError())};
}

TEST(Renderer, DrawsEverySampleTemplate)
{
    const QStringList names = nuvela::listTemplates(test::stagedDataDir());
    ASSERT_GE(names.size(), 6);
    QTemporaryDir out;
    for (const QString& name : names) {
        const QString file = out.filePath(name + QStringLiteral(".png"));
        const RunResult r = renderer({"--template", name, "-o", file});
        EXPECT_EQ(r.exitCode, 0) << name.toStdString() << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        QImageReader reader(file);
        EXPECT_TRUE(reader.canRead()) << name.toStdString();
    }
}

TEST(Renderer, ScaleAndFormats)
{
    const QString name = nuvela::listTemplates(test::stagedDataDir()).value(0);
    QTemporaryDir out;
    ASSERT_EQ(renderer({"--template", name, "-o", out.filePath("a.png")}).exitCode, 0);
    ASSERT_EQ(renderer({"--template", name, "--scale", "3.125", "-o", out.filePath("b.jpeg"),
                        "--quality", "90"}).exitCode, 0);
    ASSERT_EQ(renderer({"--template", name, "-o", out.filePath("c.BMP")}).exitCode, 0);
    const QSize one = QImageReader(out.filePath("a.png")).size();
    const QSize three = QImageReader(out.filePath("b.jpeg")).size();
    EXPECT_EQ(QImageReader(out.filePath("b.jpeg")).format(), "jpeg");
    EXPECT_EQ(QImageReader(out.filePath("c.BMP")).format(), "bmp");
    EXPECT_NEAR(three.width(), one.width() * 3.125, 2);
}

TEST(Renderer, FailuresSayWhyAndLeaveNoFile)
{
    test::ProgramFolder folder(test::ProgramFolder::Start::Empty);
    folder.write("templates/huge.ini", test::ansi("[templateid]\nid=101\n[paper]\nsize=9000000,100\n"));
    folder.write("templates/ok.ini", test::ansi("[templateid]\nid=101\n[paper]\nsize=1500,1500\n"));
    QTemporaryDir out;
    const QString target = out.filePath("page.png");
    struct Case {
        QStringList args;
        const char* says;
    };
    const Case cases[] = {
        {{"--program-dir", folder.path(), "--template", "nothing", "-o", target}, "no template"},
        {{"--program-dir", folder.path(), "--template", "huge", "-o", target}, "at most"},
        {{"--program-dir", folder.path(), "--template", "ok", "--version", "3", "-o", target}, "no stored version"},
        {{"--program-dir", folder.path(), "--template", "ok", "-o", out.filePath("no/such/dir/p.png")}, "Cannot write"},
        {{"--program-dir", folder.path(), "--template", "ok", "-o", out.filePath("page.gif")}, "format"},
        {{"--template", "ok", "--scale", "0", "-o", target}, "--scale"},
        {{"--template", "ok"}, "-o FILE"},
    };
    for (const Case& c : cases) {
        const RunResult r = renderer(c.args);
        EXPECT_NE(r.exitCode, 0) << c.says;
        EXPECT_TRUE(r.err.startsWith(u"Error: ")) << r.err.toStdString();
        EXPECT_EQ(r.err.count(u'\n'), 1) << r.err.toStdString();
        EXPECT_NE(r.err.indexOf(QLatin1String(c.says)), -1) << r.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(target)) << c.says;
    }
}

/// Share of pixels of a that no pixel of b within one pixel matches (every
/// channel within a quarter of its range): rasterisers may snap text and
/// picture edges differently by a pixel, but nothing may be missing or moved.
double unmatchedShare(const QImage& a, const QImage& b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    const auto close = [](QRgb p, QRgb q) {
        return std::abs(qRed(p) - qRed(q)) <= 64 && std::abs(qGreen(p) - qGreen(q)) <= 64
            && std::abs(qBlue(p) - qBlue(q)) <= 64;
    };
    qint64 unmatched = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            bool found = false;
            for (int dy = -1; dy <= 1 && !found; ++dy)
                for (int dx = -1; dx <= 1 && !found; ++dx)
                    found = y.valid(col + dx, row + dy) && close(x.pixel(col, row), y.pixel(col + dx, row + dy));
            unmatched += !found;
        }
    return double(unmatched) / (double(x.width()) * x.height());
}

// The PDF is the same page as the picture, drawn as vectors: rasterised at
// the screen's 96 dpi it matches the PNG but for antialiasing, and its texts
// are real text in embedded fonts.
TEST(Renderer, PdfIsTheSamePageAsVectors)
{
    struct Case {
        QString tavnit;
        QString headline; ///< a row that must be text, in reading order
    };
    const Case cases[] = {
        {QStringLiteral("family-times"), QStringLiteral("Grandma Turns Ninety!")},
        {QStringLiteral("birthday"), QStringLiteral("היום חוגגים יום הולדת!")},
    };
    QTemporaryDir out;
    const auto run = [](const QString& tool, const QStringList& args) {
        QProcess p;
        p.start(tool, args);
        p.waitForFinished(60000);
        EXPECT_EQ(p.exitCode(), 0) << tool.toStdString() << " (poppler-utils) is needed";
        return QString::fromUtf8(p.readAllStandardOutput());
    };
    for (const Case& c : cases) {
        const QString png = out.filePath(c.tavnit + ".png"), pdf = out.filePath(c.tavnit + ".pdf");
        ASSERT_EQ(renderer({"--template", c.tavnit, "-o", png}).exitCode, 0);
        const RunResult r = renderer({"--template", c.tavnit, "-o", pdf});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();

        EXPECT_TRUE(run("pdffonts", {pdf}).contains(u"Liberation")) << c.tavnit.toStdString();
        QString text = run("pdftotext", {pdf, "-"});
        text.remove(QRegularExpression(QStringLiteral("[\\x{202A}-\\x{202E}]")));
        EXPECT_TRUE(text.contains(c.headline)) << text.left(300).toStdString();

        run("pdftoppm", {"-r", "96", "-png", "-singlefile", pdf, out.filePath(c.tavnit + "-pdf")});
        const QImage fromPdf(out.filePath(c.tavnit + "-pdf.png")), reference(png);
        ASSERT_FALSE(fromPdf.isNull());
        ASSERT_LE(std::abs(fromPdf.width() - reference.width()), 1);
        ASSERT_LE(std::abs(fromPdf.height() - reference.height()), 1);
        const QSize common = fromPdf.size().boundedTo(reference.size());
        const QImage a = fromPdf.copy(QRect(QPoint(), common)), b = reference.copy(QRect(QPoint(), common));
        // The tinted logos are pictures that the PDF rasteriser resamples,
        // which blurs their keyed edges a little; everything else matches.
        EXPECT_LT(unmatchedShare(a, b), 0.006) << c.tavnit.toStdString();
        EXPECT_LT(unmatchedShare(b, a), 0.006) << c.tavnit.toStdString();
    }
}

// A damaged picture is the placeholder's business, not a reason for the
// decoder libraries below Qt to talk to the user on the error stream.
TEST(Renderer, DamagedPicturesStayQuiet)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "sanitizer builds keep the error stream for their reports";
#endif
    test::ProgramFolder folder(test::ProgramFolder::Start::Empty);
    QFile nopic(test::stagedDataDir() + QStringLiteral("/nopic.png"));
    ASSERT_TRUE(nopic.open(QIODevice::ReadOnly));
    QByteArray png = nopic.readAll();
    folder.write("nopic.png", png);
    for (qsizetype i = 60; i < png.size(); i += 7)
        png[i] = char(png[i] ^ 0x55);
    folder.write("temppic/bad.png", png);
    folder.write("templates/t.ini", test::ansi("[templateid]\nid=101\n[paper]\nsize=3000,3000\n"
                                              "[object1]\nobjtype=fixpicture\n"
                                              "picdim=100,100,2000,2000\npicname=bad.png\n"));
    QTemporaryDir out;
    const RunResult r = renderer({"--program-dir", folder.path(), "--template", "t", "-o", out.filePath("p.png")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
}

TEST(Renderer, DefaultProgramFolderIsTheBundledOne)
{
    EXPECT_EQ(nuvela::defaultProgramDir(QStringLiteral(NUVELA_BINARY_DIR "/app")),
              QStringLiteral(NUVELA_BINARY_DIR "/data"));
}

} // namespace
