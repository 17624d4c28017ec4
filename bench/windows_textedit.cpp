// One keystroke in the text editor until its preview of the object is
// repainted: a row typed into a ten-row object, and a letter typed into a
// paragraph. Offscreen, at a 1920 × 1080 screen.

#include "windows/common/dialogs.h"
#include "windows/common/program.h"
#include "windows/main/articlewindow.h"
#include "windows/textedit/txteditwindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTextEdit>

#include <benchmark/benchmark.h>

namespace {

const QString kProgramDir = QStringLiteral(NUVELA_STAGED_DATA);
const QSize kScreen(1920, 1080);

void type(QWidget* widget, QChar ch)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(widget, &release);
}

void BM_EditKeystroke(benchmark::State& state, const QString& tavnit, int object)
{
    nuvela::QtDialogs dialogs;
    nuvela::Program program(kProgramDir, dialogs);
    nuvela::ArticleWindow window(program, kScreen);
    window.gallery()->setCurrentItem(window.gallery()->findItems(tavnit, Qt::MatchExactly).first());
    nuvela::TxteditWindow editor(program, object, &window, kScreen);
    editor.show();
    QCoreApplication::processEvents();
    QWidget* box = editor.paragraphMode() ? static_cast<QWidget*>(editor.paragraphBox()) : editor.rowBox(4);
    int typed = 0;
    for (auto _ : state) {
        // Letters, and now and then a space so a paragraph wraps as typing does.
        type(box, ++typed % 6 == 0 ? QChar(u' ') : QChar(u'a' + typed % 26));
        editor.preview()->repaint();
        if (typed % 150 == 0) { // keep the box within its limit
            state.PauseTiming();
            if (auto* line = qobject_cast<QLineEdit*>(box))
                line->clear();
            else
                editor.paragraphBox()->clear();
            state.ResumeTiming();
        }
    }
}

BENCHMARK_CAPTURE(BM_EditKeystroke, rows10, QStringLiteral("family-times"), 11)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_EditKeystroke, paragraph, QStringLiteral("birthday"), 16)->Unit(benchmark::kMillisecond);

} // namespace
