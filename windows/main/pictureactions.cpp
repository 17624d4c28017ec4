// The main window's actions on pictures and the headline colour: a picture
// frame opens the file dialog and the picture editor, a right-click or
// Delete removes the picture, `Coll` recolours the headline's logo.

#include "windows/main/articlewindow.h"

#include "windows/common/buttonplus.h"
#include "windows/common/dialogs.h"
#include "windows/common/program.h"
#include "windows/main/pagehistory.h"
#include "windows/main/pageview.h"
#include "windows/picedit/piceditwindow.h"
#include "windows/picedit/picturefile.h"

namespace nuvela {

void ArticleWindow::wirePictureActions()
{
    connect(prev_, &PageView::pictureActivated, this, &ArticleWindow::editPicture);
    connect(prev_, &PageView::pictureRemoveRequested, this, &ArticleWindow::removePicture);
    connect(coll_, &ButtonPlus::clicked, this, &ArticleWindow::chooseHeadlineColour);
}

void ArticleWindow::editPicture(int n)
{
    const auto path = program_.dialogs.openFile(this, QString(), pictureFilter());
    if (!path)
        return; // cancelled
    const StepValue before = readStep(program_.state, StepKind::Picture, n);
    PiceditWindow editor(program_, n, *path, this, screen_);
    if (editor.exec() != QDialog::Accepted)
        return;
    history_->record(StepKind::Picture, n, before);
    markModified();
    viewpic();
}

void ArticleWindow::removePicture(int n)
{
    const auto it = program_.state.gpic.find(n);
    if (it == program_.state.gpic.end() || !it->second.visible)
        return; // fixed pictures are not the user's to remove
    if (it->second.tag == u"nopic")
        return; // an empty frame: nothing to save or to undo
    const StepValue before = readStep(program_.state, StepKind::RemovedPicture, n);
    it->second.tag = QStringLiteral("nopic");
    history_->record(StepKind::RemovedPicture, n, before);
    markModified();
    viewpic();
}

void ArticleWindow::chooseHeadlineColour()
{
    const auto colour = program_.dialogs.chooseColour(this, program_.state.headline.collColour);
    if (!colour || *colour == program_.state.headline.collColour)
        return; // cancelled, or the colour it has: nothing to save or to undo
    const StepValue before = readStep(program_.state, StepKind::HeadlineColour, 0);
    program_.state.headline.collColour = *colour;
    history_->record(StepKind::HeadlineColour, 0, before);
    markModified();
    viewpic();
}

} // namespace nuvela
