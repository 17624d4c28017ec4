// A run of the program that is killed: it opens the main window on the
// program folder given, makes edits through the window's own routines, saves
// the page as drawn to a PNG, says "ready" and waits for SIGKILL.
//   crashhelper PROGRAM-DIR PAGE.PNG

#include "editordriver.h"

#include "windows/common/dialogs.h"
#include "windows/common/program.h"
#include "windows/main/articlewindow.h"
#include "windows/main/pageview.h"

#include <QApplication>
#include <QListWidget>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 3)
        return 2;
    nuvela::ScriptedDialogs dialogs;
    nuvela::Program program(QString::fromLocal8Bit(argv[1]), dialogs, QStringLiteral("Nuvela"));
    nuvela::ArticleWindow window(program, QSize(800, 600));
    window.show();
    const auto items = window.gallery()->findItems(QStringLiteral("birthday-daily"), Qt::MatchExactly);
    if (items.size() != 1)
        return 3;
    window.gallery()->setCurrentItem(items.first());
    // A text with points, a removed picture and a headline colour.
    test::typeInTextEditor(window, test::firstTextObject(program.state), QStringLiteral("שָׁלוֹם, עוֹלָם"));
    window.removePicture(6);
    dialogs.answerColour(0x348812);
    window.chooseHeadlineColour();
    if (!program.state.isModified() || !program.canvas.image().save(QString::fromLocal8Bit(argv[2])))
        return 4;
    std::puts("ready");
    std::fflush(stdout);
    return app.exec();
}
