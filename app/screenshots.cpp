// nuvela-screenshots: pictures of the windows as a user sees them, for the
// README and for looking at after a change. Run by app/screenshots.sh under a
// virtual display.

#include "windows/common/buttoncaptions.h"
#include "windows/common/controls.h"
#include "windows/common/dialogs.h"
#include "windows/common/program.h"
#include "windows/common/uitext.h"
#include "windows/main/articlewindow.h"
#include "windows/main/pageview.h"
#include "windows/options/optionswindow.h"
#include "windows/output/picformwindow.h"
#include "windows/picedit/piceditwindow.h"
#include "windows/textedit/txteditwindow.h"
#include "store/keystore.h"
#include "text/rowmodel.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QTimer>

namespace {

bool copyFolder(const QString& from, const QString& to)
{
    return QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), from + QStringLiteral("/."), to}) == 0;
}

void settle()
{
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
}

QPixmap grab(QWidget* window)
{
    settle();
    return window->screen()->grabWindow(window->winId());
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The windows as the program shows them.
    nuvela::keepCaptionsBesidePictures(app);
    if (argc < 3) {
        QTextStream(stderr) << "Usage: nuvela-screenshots PROGRAM-DIR OUTPUT-DIR [TEMPLATE]\n";
        return 2;
    }
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QString out = QString::fromLocal8Bit(argv[2]);
    const QString tavnit = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("birthday");
    QDir().mkpath(out);
    for (const QString& language : {QStringLiteral("hebrew"), QStringLiteral("english")}) {
        QTemporaryDir dir;
        if (!copyFolder(source, dir.path()))
            return 1;
        // The interface language is a setting of the text store.
        QFile store(dir.filePath(QStringLiteral("templates/textdata.txt")));
        store.open(QIODevice::ReadOnly);
        QByteArray bytes = store.readAll();
        store.close();
        bytes.replace("lang=hebrew", "lang=" + language.toLatin1());
        store.open(QIODevice::WriteOnly | QIODevice::Truncate);
        store.write(bytes);
        store.close();

        nuvela::ScriptedDialogs dialogs;
        nuvela::Program program(dir.path(), dialogs);
        nuvela::ArticleWindow window(program);
        window.move(0, 0);
        window.show();
        grab(&window).save(out + QStringLiteral("/main-start-%1.png").arg(language));
        const auto found = window.gallery()->findItems(tavnit, Qt::MatchExactly);
        if (found.isEmpty())
            return 1;
        window.gallery()->setCurrentItem(found.first());
        grab(&window).save(out + QStringLiteral("/main-%1.png").arg(language));

        // The highlight that follows the focus over the page's objects.
        if (const QList<QLabel*> overlays = window.pageView()->overlaysInOrder(); !overlays.isEmpty()) {
            overlays.first()->setFocus();
            grab(&window).save(out + QStringLiteral("/main-focus-%1.png").arg(language));
        }

        // The text editor on the page's first object of several rows and on
        // its first paragraph.
        int rowsObject = 0, paragraphObject = 0;
        for (int n = 1; n <= 50; ++n) {
            const QString section = QStringLiteral("object%1").arg(n);
            if (program.store.get(nuvela::StoreMode::Get, section, u"objtype") != u"text")
                continue;
            const auto rows = nuvela::completeRows(nuvela::readRowDefinitions(program.store, n, 10), {});
            if (rows.isParagraph() && !paragraphObject)
                paragraphObject = n;
            else if (rows.definitionTexts.size() >= 3 && !rowsObject)
                rowsObject = n;
        }
        for (const auto& [n, mode] : {std::pair{rowsObject, "rows"}, std::pair{paragraphObject, "paragraph"}}) {
            if (n == 0)
                continue;
            nuvela::TxteditWindow editor(program, n, &window);
            editor.move(0, 0);
            editor.show();
            grab(&editor).save(out + QStringLiteral("/textedit-%1-%2.png").arg(QString::fromLatin1(mode), language));
            editor.hide();
        }

        for (int mode : {0, 1}) {
            nuvela::PicformWindow& output = window.output();
            output.Res(mode);
            QTimer::singleShot(300, &output, [&output, out, language, mode] {
                grab(&output).save(out + QStringLiteral("/output-%1-%2.png").arg(mode ? "full" : "fitted", language));
                output.hide();
            });
            output.move(0, 0);
            output.exec();
        }

        // The picture editor on the page's first picture frame.
        for (const auto& [n, frame] : program.state.gpic) {
            if (!frame.visible)
                continue;
            nuvela::PiceditWindow editor(program, n, dir.filePath(QStringLiteral("temppic/sample_cat.jpg")), &window);
            editor.move(0, 0);
            QTimer::singleShot(300, &editor, [&editor, out, language] {
                grab(&editor).save(out + QStringLiteral("/picedit-%1.png").arg(language));
                editor.reject();
            });
            editor.exec();
            break;
        }

        // A change marks the version panel; leaving the page asks first.
        program.state.growLiveTables(8);
        program.state.liveTexts[8] = program.state.liveTexts[8] + QStringLiteral("!");
        window.markModified();
        grab(&window).save(out + QStringLiteral("/main-modified-%1.png").arg(language));
        nuvela::QtDialogs real;
        QTimer::singleShot(300, &window, [out, language] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                grab(box).save(out + QStringLiteral("/prompt-%1.png").arg(language));
                box->close();
            }
        });
        real.ask(&window, nuvela::attentionTitle(program),
                 nuvela::widgetTag(window.findChild<QWidget*>(QStringLiteral("savetxt"))));

        nuvela::OptionsWindow options(program, [&window] { window.relabel(); }, &window);
        options.move(0, 0);
        QTimer::singleShot(300, &options, [&options, out, language] {
            grab(&options).save(out + QStringLiteral("/options-%1.png").arg(language));
            options.reject();
        });
        options.exec();
    }
    return 0;
}
