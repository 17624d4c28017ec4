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
        QImage diff;
        const double share = test::differingShare(expected, actual, kChannelTolerance, &diff);
        if (share > kMaxDifferingShare) {
            failures.mkpath(QStringLiteral("."));
            if (!diff.isNull())
                diff.save(failures.filePath(page.name + QStringLiteral("-diff.png")));
            actual.save(failures.filePath(page.name + QStringLiteral("-actual.png")));
        }
        EXPECT_EQ(actual.size(), expected.size());
        EXPECT_LE(share, kMaxDifferingShare)
            << share * 100 << " % of the pixels differ; see " << failures.path().toStdString();
    }
}

} // namespace
