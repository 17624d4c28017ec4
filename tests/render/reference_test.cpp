// Whole pages against the reference images in tests/reference/: every sample
// template with every stored version at scale 1, and each template's PDF
// rasterised at 96 dpi. Set NUVELA_UPDATE_REFERENCE=1 to rewrite them.

#include "app/renderjob.h"
#include "store/keystore.h"
#include "store/pagestate.h"
#include "store/templates.h"
#include "support/pixels.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// A channel may differ this much (font smoothing, rounding in scaling) ...
constexpr int kChannelTolerance = 24;
// ... and at most this share of pixels may differ by more.
constexpr double kMaxDifferingShare = 0.002;

struct Page {
    QString name;    ///< reference file name without ".png"
    QString tavnit;
    int version = 1;
    bool pdf = false;
};

std::vector<Page> referencePages()
{
    std::vector<Page> pages;
    for (const QString& tavnit : nuvela::listTemplates(test::stagedDataDir())) {
        nuvela::PageState state;
        nuvela::KeyStore store(test::stagedDataDir(), state);
        if (!nuvela::selectTemplate(store, state, tavnit).isEmpty())
            continue;
        const int versions = nuvela::countVersions(store, state);
        for (int v = 1; v <= versions; ++v)
            pages.push_back({QStringLiteral("%1-v%2").arg(tavnit).arg(v), tavnit, v, false});
        pages.push_back({tavnit + QStringLiteral("-pdf"), tavnit, 1, true});
    }
    return pages;
}

/// The page as nuvela-render draws it; "" and the image, or why not.
QString draw(const Page& page, const QTemporaryDir& out, QImage* image)
{
    nuvela::RenderRequest request;
    request.programDir = test::stagedDataDir();
    request.tavnit = page.tavnit;
    request.version = page.version;
    request.output = out.filePath(page.name + (page.pdf ? QStringLiteral(".pdf") : QStringLiteral(".png")));
    if (QString why = nuvela::runRender(request); !why.isEmpty())
        return why;
    *image = page.pdf ? test::pdfPages(request.output).value(0) : QImage(request.output).convertToFormat(QImage::Format_RGB32);
    return image->isNull() ? QStringLiteral("unreadable output (PDFs need pdftoppm of poppler-utils)") : QString();
}

/// Pixels that differ beyond the tolerance, marked red on a faded copy of
/// the reference; counts them in *differing.
QImage difference(const QImage& a, const QImage& b, qint64* differing)
{
    QImage diff(a.size(), QImage::Format_RGB32);
    *differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        const QRgb* pa = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const QRgb* pb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        QRgb* pd = reinterpret_cast<QRgb*>(diff.scanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            const int d = std::max({std::abs(qRed(pa[x]) - qRed(pb[x])),
                                    std::abs(qGreen(pa[x]) - qGreen(pb[x])),
                                    std::abs(qBlue(pa[x]) - qBlue(pb[x]))});
            const int grey = 192 + qGray(pa[x]) / 4;
            pd[x] = d > kChannelTolerance ? qRgb(255, 0, 0) : qRgb(grey, grey, grey);
            *differing += d > kChannelTolerance;
        }
    }
    return diff;
}

TEST(ReferencePages, EveryTemplateAndVersionLooksAsBefore)
{
    const std::vector<Page> pages = referencePages();
    ASSERT_GE(pages.size(), 12u);
    const bool update = qEnvironmentVariableIntValue("NUVELA_UPDATE_REFERENCE") == 1;
    const QDir references(QStringLiteral(NUVELA_REFERENCE_DIR));
    const QDir failures(QStringLiteral(NUVELA_BINARY_DIR "/reference-diff"));
    QTemporaryDir out;
    for (const Page& page : pages) {
        SCOPED_TRACE(page.name.toStdString());
        QImage actual;
        const QString why = draw(page, out, &actual);
        ASSERT_TRUE(why.isEmpty()) << why.toStdString();
        const QString file = references.filePath(page.name + QStringLiteral(".png"));
        if (update) {
            references.mkpath(QStringLiteral("."));
            ASSERT_TRUE(actual.save(file));
            continue;
        }
        const QImage expected = QImage(file).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(expected.isNull()) << "no reference " << file.toStdString();
        qint64 differing = actual.width() * qint64(actual.height());
        QImage diff;
        if (actual.size() == expected.size())
            diff = difference(expected, actual, &differing);
        const double share = double(differing) / (double(actual.width()) * actual.height());
        if (share > kMaxDifferingShare) {
            failures.mkpath(QStringLiteral("."));
            if (!diff.isNull())
                diff.save(failures.filePath(page.name + QStringLiteral("-diff.png")));
            actual.save(failures.filePath(page.name + QStringLiteral("-actual.png")));
        }
        EXPECT_EQ(actual.size(), expected.size());
        EXPECT_LE(share, kMaxDifferingShare)
            << differing << " pixels differ; see " << failures.path().toStdString();
    }
}

} // namespace
