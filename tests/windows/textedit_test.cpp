#include "editordriver.h"
#include "support/pixels.h"
#include "windowfixture.h"

#include "store/templates.h"
#include "store/keystore.h"
#include "text/rowfont.h"
#include "store/numbers.h"
#include "windows/common/buttonplus.h"
#include "windows/common/controls.h"
#include "windows/common/webpane.h"
#include "windows/main/pageview.h"
#include "windows/textedit/txteditwindow.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTextEdit>

#include <functional>

using namespace nuvela;
using namespace Qt::StringLiterals;
using test::type;

namespace {

// Objects of the sample template "birthday" (right to left, colours editable).
constexpr int kSixRows = 19;   // six rows: 22 pt, then 14 pt
constexpr int kTwoRows = 8;    // 40 pt and 18 pt
constexpr int kParagraph = 16; // "full", 4156 × 4900 twips, David 12

class TextEditor : public test::WindowFixture {
protected:
    void SetUp() override
    {
        start();
        choose("birthday");
    }
    std::unique_ptr<TxteditWindow> edit(int n, QSize screen = QSize(800, 600))
    {
        auto editor = std::make_unique<TxteditWindow>(*program, n, window.get(), screen);
        QObject::connect(editor.get(), &TxteditWindow::applied, window.get(), &ArticleWindow::markModified);
        editor->show();
        editor->activateWindow();
        QApplication::processEvents();
        return editor;
    }
    QString& liveText(int n) { return program->state.liveTexts[n]; }
    QString& liveFormat(int n) { return program->state.liveFormats[n]; }
};

TEST_F(TextEditor, ConfirmRoundTripsTheLiveTables)
{
    for (const QString& text : {u"שורה~ ~שָׁלוֹם עֲלֵיכֶם~a=b; c=d~ ~אחרונה"_s, u"one~two~three~four~five~six"_s}) {
        liveText(kSixRows) = text;
        program->state.modified.clear();
        auto editor = edit(kSixRows);
        ASSERT_EQ(editor->rowCount(), 6);
        editor->confirm();
        EXPECT_EQ(liveText(kSixRows), text);
        EXPECT_FALSE(program->state.isModified()) << "confirm with no change touched the page";
    }
    // Rows and formats beyond the definitions are kept; missing formats come from them.
    liveText(kTwoRows) = u"a~b~c~d"_s;
    liveFormat(kTwoRows) = u"255,David,40,True,177"_s;
    auto editor = edit(kTwoRows);
    EXPECT_EQ(editor->rowCount(), 4);
    const QImage preview = editor->preview()->pixmap().toImage();
    QLineEdit* row = editor->rowBox(0);
    row->selectAll();
    QTest::keyClicks(row, u"x~y"_s);
    EXPECT_EQ(row->text(), "x-y") << "a row mark would shift the rows below";
    // A pasted multi-line text: saved, its line breaks would be row marks.
    QGuiApplication::clipboard()->setText(u"\r\n[tav]\r\nk=v~\n"_s);
    QTest::keyClick(row, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(row->text(), "x-y  [tav]  k=v- ");
    QGuiApplication::clipboard()->setText(u"x~y"_s);
    row->selectAll();
    QTest::keyClick(row, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(row->text(), "x-y");
    EXPECT_NE(editor->preview()->pixmap().toImage(), preview) << "the preview follows every keystroke";
    EXPECT_EQ(liveText(kTwoRows), "a~b~c~d") << "the live tables change only on confirm";
    QTest::keyClick(row, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(liveText(kTwoRows), "x-y~b~c~d");
    const QStringList formats = liveFormat(kTwoRows).split(u'~');
    ASSERT_EQ(formats.size(), 4);
    EXPECT_EQ(formats[0], "255,David,40,True,177");
    EXPECT_EQ(formats[1], "2628010,David,18,False,177");
    EXPECT_TRUE(window->findChild<ButtonPlus*>("savetxt")->isEnabled());
}

TEST_F(TextEditor, SelectionColourFontResetAndDarkView)
{
    auto editor = edit(kSixRows);
    EXPECT_EQ(editor->rowBox(1)->font().pixelSize(), qRound(9.6 * 20 / 15)); // 14 pt at 24 × 0.4
    editor->rowCheck(2)->click();
    editor->rowCheck(0)->click();
    EXPECT_EQ(editor->selection(), (QList<int>{2, 0}));
    const QList<EditRow> before = editor->rows();
    dialogs.cancel(ScriptedDialogs::Kind::Font); // cancelled: no row takes another's face
    editor->chooseFont();
    EXPECT_EQ(editor->rows()[0].stored().toString(), before[0].stored().toString());

    // The font dialog shows and takes page sizes; a weight of 600 is bold.
    QFont chosen(u"Liberation Serif"_s, 30);
    chosen.setWeight(QFont::DemiBold);
    dialogs.answerFont(chosen);
    editor->chooseFont();
    EXPECT_EQ(dialogs.requests().back().initialFont.pointSize(), 14);
    dialogs.cancel(ScriptedDialogs::Kind::Font);
    editor->chooseFont();
    dialogs.answerColour(0xFFFFFF);
    editor->chooseColour();
    EXPECT_TRUE(editor->findChild<QCheckBox*>("black")->isChecked()) << "white needs the dark view";
    const QList<EditRow> rows = editor->rows();
    EXPECT_EQ(rows[2].stored().toString(), "16777215,Liberation Serif,30,True,177"); // the first selected
    EXPECT_EQ(rows[0].stored().toString(), "16777215,Liberation Serif,22,True,177"); // face copied, size kept
    EXPECT_EQ(rows[1].stored().toString(), "1973790,David,14,False,177");            // not selected

    editor->findChild<QWidget*>("RESET")->setFocus();
    editor->resetFormats();
    EXPECT_EQ(editor->rows()[2].stored().toString(), "1973790,David,14,False,177");
    editor->confirm();
    EXPECT_EQ(liveFormat(kSixRows).split(u'~')[0], "2628010,Frank Ruehl,22,True,177");
    EXPECT_TRUE(program->state.isModified()) << "a format command counts as a change";
}

// Template faces are often names only the font configuration knows. The
// dialog must open on the installed family the page draws the row with, and
// a row left on it keeps the template's face name.
TEST(FontDialog, OpensOnTheDrawnFamilyAndKeepsTheFaceItWasLeftOn)
{
    const struct {
        QString face, text, drawn;
    } cases[] = {
        {u"David"_s, u"שלום"_s, u"David CLM"_s},
        {u"Frank Ruehl"_s, u"מזל טוב"_s, u"Frank Ruehl CLM"_s}, // its Hebrew comes from a fallback
        {u"Times New Roman"_s, u"Happy"_s, u"Liberation Serif"_s},
    };
    for (const auto& c : cases) {
        const EditRow row{c.text, RowFormat{0, c.face, 20, true, 177}, 16, 0.8};
        ScriptedDialogs dialogs;
        dialogs.answerFont(QFont(c.drawn, 30));
        const auto kept = ShowFontDialog(dialogs, nullptr, row);
        const QFont opened = dialogs.requests().back().initialFont;
        EXPECT_EQ(opened.family(), c.drawn);
        EXPECT_EQ(QFontDialog(opened).currentFont().family(), c.drawn) << "the dialog lists it";
        ASSERT_TRUE(kept);
        EXPECT_EQ(kept->stored().toString(), "0,%1,30,False,177"_L1.arg(c.face));
        dialogs.answerFont(QFont(u"DejaVu Serif"_s, 30));
        EXPECT_EQ(ShowFontDialog(dialogs, nullptr, row)->format.face, "DejaVu Serif");
    }
}

// In English: the keys outlive the captions a language gives the buttons.
TEST_F(TextEditor, EveryCommandHasAKeyAndATip)
{
    startIn(u"english"_s);
    choose("birthday");
    auto editor = edit(kTwoRows);
    QTest::keyClicks(editor->rowBox(1), u"typed"_s);
    // Before a row is chosen there is no colour or font to change: their
    // keys type nothing over the row either.
    for (const Qt::Key letter : {Qt::Key_C, Qt::Key_F})
        QTest::keyClick(editor->rowBox(1), letter, Qt::AltModifier);
    EXPECT_TRUE(editor->rowBox(1)->text().endsWith(u"typed"_s)) << editor->rowBox(1)->text().toStdString();
    const std::tuple<QKeyCombination, const char*, std::function<bool()>> cases[] = {
        {Qt::ALT | Qt::Key_A, "Checkall", [&] { return editor->selection() == QList<int>{0, 1}; }},
        {Qt::ALT | Qt::Key_C, "ROWCOL", [&] { return dialogs.requests().size() == 1; }},
        {Qt::ALT | Qt::Key_F, "rowfont", [&] { return dialogs.requests().size() == 2; }},
        {Qt::ALT | Qt::Key_D, "black", [&] { return editor->findChild<QCheckBox*>("black")->isChecked(); }},
        {Qt::ALT | Qt::Key_R, "RESET", [&] { return editor->rowBox(0)->font().family() == u"Frank Ruehl"; }},
    };
    dialogs.cancel(ScriptedDialogs::Kind::Colour);
    dialogs.answerFont(QFont(u"Liberation Sans"_s, 20));
    for (const auto& [key, button, done] : cases) {
        QTest::keyClick(editor.get(), key.key(), key.keyboardModifiers());
        EXPECT_TRUE(QTest::qWaitFor(done, 1000)) << button;
        const QString tip = editor->findChild<QWidget*>(QString::fromLatin1(button))->toolTip();
        EXPECT_TRUE(tip.contains(QKeySequence(key).toString())) << button << ": " << tip.toStdString();
    }
    // Closing the dialogs rebuilt nothing: the typing is still there.
    EXPECT_TRUE(editor->rowBox(1)->text().contains(u"typed"));
}

// The line a row may not pass stands upright, and the note under the rows
// says so in every language.
TEST_F(TextEditor, TheNoteNamesTheLineAsItStands)
{
    for (const auto& [language, word] : {std::pair{u"hebrew"_s, u"האנכי"_s}, std::pair{u"english"_s, u"vertical"_s},
                                         std::pair{u"nederlands"_s, u"verticale"_s}}) {
        startIn(language);
        choose("birthday");
        auto editor = edit(kTwoRows);
        const QWidget* guide = findArrayElement(editor.get(), u"guide", 0);
        ASSERT_TRUE(guide && guide->isVisible()) << language.toStdString();
        EXPECT_GT(guide->height(), guide->width()) << language.toStdString();
        const QString note = editor->findChild<QLabel*>(u"hesber"_s)->text();
        EXPECT_TRUE(note.contains(word)) << note.toStdString();
    }
}

TEST_F(TextEditor, WithoutColourEditingTheTemplateFormatsStay)
{
    // Colours are edited only where the template says "true", in any letter case.
    const QByteArray daily = folder.read("templates/birthday-daily.ini");
    for (const auto& [line, editable] : {std::pair{"coloredit=TRUE", true}, {"coloredit=True ", true}, {"coloredit=yes", false}, {"", false}}) {
        folder.write("templates/birthday-daily.ini", QByteArray(daily).replace("coloredit=false", line));
        start();
        choose("birthday-daily");
        auto editor = edit(4);
        EXPECT_EQ(editor->rowCheck(0)->isVisibleTo(editor.get()), editable) << line;
    }
    folder.write("templates/birthday-daily.ini", daily);
    start();
    choose("birthday-daily");
    const QString before = liveFormat(4);
    auto editor = edit(4);
    EXPECT_FALSE(editor->rowCheck(0)->isVisibleTo(editor.get()));
    EXPECT_FALSE(editor->findChild<QWidget*>("Checkall")->isVisibleTo(editor.get()));
    editor->rowBox(0)->setText(u"changed"_s);
    editor->confirm();
    EXPECT_EQ(liveText(4).section(u'~', 0, 0), "changed");
    EXPECT_EQ(liveFormat(4), before);
}

TEST_F(TextEditor, EnterWalksTheRowsTabTheirChecksAndEscapeChangesNothing)
{
    const QString before = liveText(kSixRows);
    auto editor = edit(kSixRows);
    EXPECT_EQ(QApplication::focusWidget(), editor->rowBox(0));
    for (int i = 1; i < 6; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), editor->rowBox(i));
    }
    QTest::keyClick(editor->rowBox(5), Qt::Key_Return); // the last row: nothing
    EXPECT_EQ(QApplication::focusWidget(), editor->rowBox(5));
    // Tab: from a row to its check box, then to the next row.
    editor->rowBox(2)->setFocus();
    QTest::keyClick(editor->rowBox(2), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), editor->rowCheck(2));
    QTest::keyClick(editor->rowCheck(2), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), editor->rowBox(3));
    editor->rowBox(5)->setFocus();
    QTest::keyClicks(editor->rowBox(5), u"zzz"_s);
    QTest::keyClick(editor->rowBox(5), Qt::Key_Escape);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(liveText(kSixRows), before);
    EXPECT_FALSE(program->state.isModified());
}

TEST_F(TextEditor, RowBoxesReadInThePageDirection)
{
    // A row beginning with a letter of the other script reads as the page
    // prints it: a mark of the page's direction in front changes nothing.
    const struct {
        const char* name;
        int object;
        QString text;
        QChar mark;
    } cases[] = {
        {"birthday", kSixRows, u"Mazal טוב 2026!"_s, QChar(0x200F)},
        {"anniversary", 10, u"(3) אמא ואבא, 25."_s, QChar(0x200E)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        choose(QString::fromLatin1(c.name));
        auto editor = edit(c.object);
        QLineEdit* row = editor->rowBox(1);
        row->setText(c.text);
        const QImage shown = row->grab().toImage();
        row->setText(c.mark + c.text);
        EXPECT_EQ(row->grab().toImage(), shown);
    }
}

TEST_F(TextEditor, TheGuideLineStandsWhereThePageBeginsToCondense)
{
    // Whole-pixel fonts in the boxes and on the page, and the box's own text
    // margin, put the line up to 8 % off: rows that stayed inside it shrank.
    for (const QSize screen : {QSize(800, 600), QSize(1600, 1000)}) {
        for (const auto& [name, n] : {std::pair{"birthday", kSixRows}, std::pair{"family-times", 11}}) {
            SCOPED_TRACE(u"%1 %2"_s.arg(QLatin1StringView(name)).arg(screen.width()).toStdString());
            choose(QString::fromLatin1(name));
            auto editor = edit(n, screen);
            const auto box = Fields(program->store.get(StoreMode::Get, u"object%1"_s.arg(n), u"objdim")).box();
            ASSERT_TRUE(box);
            for (int i = 0; i < editor->rowCount(); ++i) {
                QLineEdit* row = editor->rowBox(i);
                row->setCursorPosition(0);
                const double start = row->inputMethodQuery(Qt::ImCursorRectangle).toRectF().center().x();
                const double reach = std::abs(editor->guide(i)->geometry().center().x() - row->x() - start);
                const EditRow r = editor->rows()[i];
                const QFont printed = RowFont{r.format.face, fontHeightForSize(r.format.size, 15), 0, r.format.bold}.toQFont();
                EXPECT_NEAR(QFontMetricsF(row->font()).horizontalAdvance(r.text) / reach,
                            QFontMetricsF(printed).horizontalAdvance(r.text) * 15 / box->w, 0.01) << i;
            }
        }
    }
}

TEST_F(TextEditor, ThePreviewShowsTheObjectAsThePageDrawsItOnEveryScreen)
{
    // Fonts rounded to whole pixels at the preview's own scale made justified
    // lines wider than the box: their first letters fell off its edge.
    const QRectF box = program->state.katava.at(kParagraph);
    const QImage page = program->canvas.image().copy(QRectF(box.topLeft() / 15, box.size() / 15).toRect());
    for (const QSize screen : {QSize(800, 600), QSize(1024, 768), QSize(1600, 1000), QSize(1920, 1200)}) {
        SCOPED_TRACE(screen.width());
        auto editor = edit(kParagraph, screen);
        EXPECT_LE(editor->height(), screen.height() * 0.96) << "room for a window manager's title bar";
        const QImage shown = editor->preview()->pixmap().toImage();
        ASSERT_FALSE(shown.isNull());
        const QImage expected = page.scaled(shown.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        qint64 ink = 0, astray = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) {
                const int want = qGray(expected.pixel(x, y));
                ink += 255 - want;
                astray += std::abs(qGray(shown.pixel(x, y)) - want);
            }
        ASSERT_GT(ink, 255 * 500);
        EXPECT_LT(astray, ink / 5) << "the preview's letters stand elsewhere than the page's";
    }
}

TEST_F(TextEditor, ParagraphWrapsAsTheBoxShowsAndKeepsItsLimit)
{
    liveText(kParagraph) = QString();
    auto editor = edit(kParagraph);
    ASSERT_TRUE(editor->paragraphMode());
    QTextEdit* multi = editor->paragraphBox();
    EXPECT_EQ(QApplication::focusWidget(), multi);
    // 4900 twips high, David 12 at one line each: the box's own line count.
    const int limit = editor->lineLimit();
    EXPECT_GE(limit, 10);
    type(multi, u"מילה ארוכה~ "_s);
    EXPECT_FALSE(multi->toPlainText().contains(u'~'));
    for (int i = 0; i < 40; ++i)
        type(multi, u"עוד מילים בשורה "_s);
    QTest::keyClick(multi, Qt::Key_Return);
    type(multi, u"פסקה שנייה"_s);
    const qsizetype lines = editor->paragraphLines().size();
    ASSERT_GT(lines, 3);
    ASSERT_LE(lines, limit);
    EXPECT_EQ(editor->paragraphFrame()->title(), u"שורות:  %1/%2"_s.arg(lines).arg(limit));

    // Typing on past the last line is refused.
    const QString full = multi->toPlainText();
    for (int i = 0; i < 200 && editor->paragraphLines().size() < limit; ++i)
        type(multi, u" עוד"_s);
    const QString atLimit = multi->toPlainText();
    // The refusal shows: the counter turns red until the box has room again.
    const auto redCaption = [&] {
        const QImage frame = editor->paragraphFrame()->grab(QRect(0, 0, editor->paragraphFrame()->width(), 26)).toImage();
        return !test::inkBox(frame, [](QColor c) { return c.red() > 150 && c.green() < 80 && c.blue() < 80; }).isEmpty();
    };
    EXPECT_FALSE(redCaption());
    QTest::keyClick(multi, Qt::Key_Return);
    EXPECT_EQ(multi->toPlainText(), atLimit) << "a line past the limit";
    EXPECT_TRUE(redCaption());
    for (int i = 0; i < 30; ++i)
        type(multi, u" עוד"_s);
    EXPECT_EQ(editor->paragraphLines().size(), limit);
    EXPECT_TRUE(multi->toPlainText().startsWith(full));
    EXPECT_TRUE(redCaption()) << "words typed on after a refused Enter run into the last line";
    const QString typed = multi->toPlainText();
    while (editor->paragraphLines().size() == limit)
        QTest::keyClick(multi, Qt::Key_Backspace);
    EXPECT_FALSE(redCaption());
    multi->setPlainText(typed);
    EXPECT_FALSE(redCaption());

    // Stored: one "~" per line the box showed, CR LF after the first paragraph.
    QTest::keyClick(multi, Qt::Key_Return, Qt::ControlModifier);
    const QString stored = liveText(kParagraph);
    EXPECT_EQ(stored.count(u'~') + stored.count(u"\r\n"_s), limit);
    EXPECT_EQ(stored.count(u"\r\n"_s), 1);

    // Saved, the CR LF becomes "~"; reopened, the paragraph break is back and
    // only spaces the user left at a line's end are gone.
    liveText(kParagraph).replace(u"\r\n"_s, u"~"_s);
    static const QRegularExpression trailing(u" +(\n|$)"_s);
    EXPECT_EQ(edit(kParagraph)->paragraphBox()->toPlainText(), QString(typed).replace(trailing, u"\\1"_s));
}

TEST_F(TextEditor, EveryTextOfEverySampleTakesAnEditAndEveryStoredParagraphAndHeadlineStaysAsStored)
{
    int edited = 0, paragraphs = 0, headlines = 0;
    auto* kotxt = window->findChild<QCheckBox*>("kotxt");
    for (const QString& tavnit : listTemplates(program->dir())) {
        choose(tavnit);
        // A paragraph justified for other font metrics would change on a
        // mere open and apply: its right edge ragged on the page.
        for (int v = 1; v <= program->state.versionCount; ++v) {
            window->versionScroller()->setValue(v);
            for (const auto& [n, box] : std::map(program->state.katava)) {
                const QString stored = liveText(n);
                auto editor = edit(n);
                if (!editor->paragraphMode())
                    continue;
                editor->confirm();
                EXPECT_EQ(liveText(n).replace(u"\r\n"_s, u"~"_s), stored) << tavnit.toStdString() << " v" << v << " " << n;
                ++paragraphs;
            }
            program->state.modified.clear();
            // "Logo text" never blanks the headline: each version stores a text
            // for it, which gets an overlay of its own.
            if (!kotxt->isVisibleTo(window.get()))
                continue;
            const int overlays = window->pageView()->textOverlayCount();
            QTest::keyClick(kotxt, Qt::Key_Space);
            ASSERT_TRUE(program->state.headline.kotxtChecked);
            EXPECT_EQ(window->pageView()->textOverlayCount(), overlays + 1);
            EXPECT_FALSE(liveText(program->state.headline.kotxtTag.toInt()).trimmed().isEmpty()) << tavnit.toStdString() << " v" << v;
            QTest::keyClick(kotxt, Qt::Key_Space);
            EXPECT_EQ(window->pageView()->textOverlayCount(), overlays);
            ++headlines;
        }
        window->versionScroller()->setValue(1);
        for (const auto& [n, box] : std::map(program->state.katava)) {
            SCOPED_TRACE((tavnit + u' ' + QString::number(n)).toStdString());
            {
                auto editor = edit(n);
                QWidget* first = editor->paragraphMode() ? static_cast<QWidget*>(editor->paragraphBox())
                                                         : editor->rowBox(0);
                first->setFocus();
                QTest::keyClick(first, Qt::Key_End, Qt::ControlModifier);
                QTest::keyClick(first, Qt::Key_End);
                QTest::keyClicks(first, u"Q"_s);
                editor->confirm();
            }
            ASSERT_TRUE(liveText(n).contains(u'Q'));
            window->viewpic();
            ASSERT_EQ(window->lastOutcome().end, PageEnd::Complete);
            // Reopened and confirmed unchanged, nothing moves.
            const QString text = liveText(n), formats = liveFormat(n);
            edit(n)->confirm();
            EXPECT_EQ(liveText(n), text);
            EXPECT_EQ(liveFormat(n), formats);
            ++edited;
        }
        program->state.modified.clear();
    }
    EXPECT_GE(edited, 12);
    EXPECT_GE(paragraphs, 8);
    EXPECT_GE(headlines, 8);

    // The headline's logo text has no box of its own: it takes its overlay's.
    choose("birthday");
    kotxt->click();
    const int headline = program->state.headline.kotxtTag.toInt();
    ASSERT_TRUE(program->state.katava.count(headline));
    auto editor = edit(headline);
    EXPECT_FALSE(editor->preview()->pixmap().isNull());
    const QRect row = editor->rowBox(0)->geometry();
    EXPECT_GT(editor->guide(0)->x(), row.left() + 10);
    EXPECT_LT(editor->guide(0)->x(), row.right() - 10);
}

TEST_F(TextEditor, KeyboardFromTheGalleryToAConfirmedEdit)
{
    start();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(QApplication::focusWidget(), window->gallery());
    // The gallery taking the focus, however it comes, chooses no template.
    for (Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::TabFocusReason, Qt::OtherFocusReason}) {
        window->gallery()->clearFocus();
        window->gallery()->setFocus(reason);
        QApplication::processEvents();
        ASSERT_TRUE(window->gallery()->hasFocus()) << reason;
        EXPECT_EQ(window->gallery()->currentRow(), -1) << reason;
        EXPECT_FALSE(window->pageView()->isVisibleTo(window.get())) << reason;
    }
    // Where the keys are is seen, in the gallery with no template chosen as
    // in the pane beside it.
    for (QWidget* keys : {static_cast<QWidget*>(window->web()), static_cast<QWidget*>(window->gallery())}) {
        keys->setFocus(Qt::TabFocusReason);
        const QImage focused = keys->grab().toImage();
        keys->clearFocus();
        EXPECT_NE(keys->grab().toImage(), focused) << keys->objectName().toStdString();
    }
    window->gallery()->setFocus();
    QTest::keyClick(window->gallery(), Qt::Key_Down);
    ASSERT_EQ(program->state.tavnit, "anniversary");

    // Tab walks the objects in object-number order, the highlight following.
    const QList<QLabel*> order = window->pageView()->overlaysInOrder();
    ASSERT_GE(order.size(), 2);
    for (QLabel* overlay : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), overlay);
        EXPECT_EQ(window->pageView()->hovered(), overlay->property("Index").toInt());
        EXPECT_EQ(overlay->frameShape(), QFrame::Panel);
    }
    // Shift+Tab back to the last text, the highlight leaving each overlay.
    QLabel* text = nullptr;
    for (qsizetype i = order.size() - 2; i >= 0 && !text; --i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
        ASSERT_EQ(QApplication::focusWidget(), order[i]);
        EXPECT_EQ(order[i + 1]->frameShape(), QFrame::NoFrame);
        if (window->pageView()->textOverlay(order[i]->property("Index").toInt()) == order[i])
            text = order[i];
    }
    ASSERT_TRUE(text);
    const int n = text->property("Index").toInt();
    // Space opens the editor with the focus in its first box; Ctrl+Enter confirms.
    test::typeWhenTheEditorShows(u"Hello"_s);
    QTest::keyClick(text, Qt::Key_Space);
    EXPECT_TRUE(program->state.isModified());
    EXPECT_TRUE(program->state.liveTexts[n].contains(u"Hello"_s));

    // A whole round of Tab keeps the changed page and asks nothing.
    press(text, Qt::Key_Tab);
    for (int i = 0; i < 40 && QApplication::focusWidget() && QApplication::focusWidget() != text; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), text);
    EXPECT_TRUE(window->pageView()->isVisibleTo(window.get()));
    EXPECT_TRUE(program->state.isModified());
    EXPECT_TRUE(questions().isEmpty());
}

// One remembered hover index for both overlay arrays: a text, then a picture.
TEST_F(TextEditor, TheMouseHighlightsOneOverlayAtATime)
{
    PageView* view = window->pageView();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QLabel* text = view->textOverlay(kTwoRows);
    QLabel* picture = view->pictureOverlay(10);
    ASSERT_TRUE(text && picture);
    QTest::mouseMove(text);
    EXPECT_EQ(view->hovered(), kTwoRows);
    EXPECT_EQ(text->frameShape(), QFrame::Panel);
    QTest::mouseMove(picture);
    EXPECT_EQ(view->hovered(), 10);
    EXPECT_EQ(text->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(picture->frameShape(), QFrame::Panel);
}

} // namespace
