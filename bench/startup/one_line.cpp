// The least a page with text costs: a Qt program that starts as the bare
// start does, draws one line of Hebrew text on a white 96 dpi page through
// the same font machinery as a render, encodes the page as JPEG, and ends.
// Against it, a render's cost beyond start-up splits into what any text
// costs in a fresh process (font set-up) and what the page itself adds.

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <turbojpeg.h>

#include <cstdio>

#include <unistd.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QImage page(794, 1123, QImage::Format_RGB32); // A4 at 96 dpi
    page.fill(Qt::white);
    {
        QPainter p(&page);
        QFont font(QStringLiteral("Times New Roman"));
        font.setPixelSize(32);
        font.setHintingPreference(QFont::PreferNoHinting);
        p.setFont(font);
        p.drawText(QRectF(40, 40, 714, 60), Qt::AlignRight | Qt::AlignAbsolute,
                   QStringLiteral(u"מזל טוב ליום ההולדת"));
    }
    tjhandle jpeg = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    const int rc = tjCompress2(jpeg, page.constBits(), page.width(), int(page.bytesPerLine()), page.height(),
                               TJPF_BGRX, &out, &size, TJSAMP_420, 75, 0);
    if (rc == 0 && argc > 1) {
        if (FILE* f = std::fopen(argv[1], "wb")) {
            std::fwrite(out, 1, size, f);
            std::fclose(f);
        }
    }
    _exit(rc == 0 ? 0 : 1); // as a render ends: no teardown
}
