#include "windows/textedit/txteditwindow.h"

#include "store/keystore.h"
#include "text/rowfont.h"
#include "text/textobject.h"
#include "windows/common/buttonplus.h"
#include "windows/common/colournumber.h"
#include "windows/common/controls.h"
#include "windows/common/dialogs.h"
#include "windows/common/icons.h"
#include "windows/common/panels.h"
#include "windows/common/program.h"
#include "windows/common/twips.h"
#include "windows/options/scaling.h"
#include "windows/options/windowload.h"
#include "windows/textedit/preview.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QCheckBox>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>

#include <ret/retainer.h>

namespace nuvela {

namespace {

// The designed layout (pixels of the 800 × 600 design screen).
constexpr double kRowsLeft = 196, kRowsTop = 34, kRowWidth = 573; // 8595 twips: base factor 0.40
constexpr double kCheckLeft = 776;
constexpr double kMultiTop = 40;        // 600 twips
constexpr double kMultiDesignHeight = 300;
constexpr double kPreviewWidth = 586, kPreviewHeight = 138;
// The line counter after a line past the box's last one was refused.
const QColor kRefusedCounter(200, 0, 0);
// Colours of the dark view and of the plain view: the system's button
// shadow and window background.
constexpr ColourNumber kButtonShadow = 0x80000010u, kWindowBackground = 0x80000005u;
constexpr std::uint32_t kWhite = 0xFFFFFF;

ButtonPlus* makeButton(QWidget* parent, const char* name, const QString& caption, const QString& tip)
{
    auto* b = new ButtonPlus(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(tip);
    b->setPictureAlignment(PictureAlignment::RightEdge);
    return b;
}

/// A check or option button of the formatting panel.
template <class Choice>
Choice* makeChoice(QWidget* parent, const char* name, const QString& caption, const QString& tip)
{
    auto* c = new Choice(caption, parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setToolTip(tip);
    return c;
}

/// A row box's font: the row's face at its shown size, in pixels so the
/// guide lines (also in pixels) mean the same on every screen.
QFont rowBoxFont(const EditRow& row, double zoom)
{
    QFont f(row.format.face);
    f.setPixelSize(std::max(1, qRound(row.displayed * 20 / kTwipsPerPixel * zoom)));
    f.setBold(row.format.bold);
    // Measured as the page measures, so widths follow the pixel size alone.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

/// How far from the text's start a row reaches the object's width, in the
/// box's pixels: the page condenses the row beyond it. Both fonts are whole
/// pixels high, so the line follows their sizes, not the exact factor.
double guideOffset(const EditRow& row, const QFont& boxFont, double objectWidth)
{
    const int printed = fontHeightForSize(row.stored().size, kTwipsPerPixel);
    return objectWidth / kTwipsPerPixel * boxFont.pixelSize() / printed;
}

/// Where a box's text starts (left to right) or ends (right to left), in
/// its own pixels: inside its frame and the box's fixed text margin.
int textEdge(const QLineEdit* box, bool rtl)
{
    QStyleOptionFrame option;
    option.initFrom(box);
    option.rect = box->rect();
    option.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box);
    const QRect contents = box->style()->subElementRect(QStyle::SE_LineEditContents, &option, box)
                               .marginsRemoved(box->textMargins());
    constexpr int kLineEditMargin = 2; // the box's own, not a style's
    return rtl ? contents.right() + 1 - kLineEditMargin : contents.left() + kLineEditMargin;
}

} // namespace

TxteditWindow::TxteditWindow(Program& program, int objectNumber, QWidget* parent, QSize screen)
    : QDialog(parent)
    , program_(program)
    , n_(objectNumber)
{
    setObjectName(QStringLiteral("txtedit"));
    setWindowTitle(QStringLiteral("עריכת טקסט"));
    setModal(true);
    prepareWindow(this);
    buildWidgets();
    // The object number travels in the confirm button's tag, as N − 1.
    setWidgetTag(updatetxt_, QString::number(n_ - 1));

    const QSize screenSize = screen.isValid() ? screen : (this->screen() ? this->screen()->size() : kDesignScreen);
    zoom_ = scaleFactors(screenSize).y;
    loadWindow(this, program_.dir(), program_.state.language, screenSize);
    open();
}

TxteditWindow::~TxteditWindow() = default;

void TxteditWindow::buildWidgets()
{
    retainer1_ = makePanel(this, QStringLiteral("Retainer1"), QStringLiteral("הטקסט בשורות"));
    place(retainer1_, 184, 8, 606, 372);
    boxes_ << new QLineEdit(this);
    makeArrayElement(boxes_[0], QStringLiteral("txtwrit"), 0);
    place(boxes_[0], kRowsLeft, kRowsTop, kRowWidth, 24);
    checks_ << new QCheckBox(this);
    makeArrayElement(checks_[0], QStringLiteral("Checkk"), 0);
    place(checks_[0], kCheckLeft, kRowsTop + 4, 16, 16);
    guides_ << makeGuide(0);
    hesber_ = new QLabel(QStringLiteral("כיתוב מעבר לקו האנכי, יכווץ את השורה!"), this);
    hesber_->setObjectName(QStringLiteral("hesber"));
    place(hesber_, kRowsLeft, 350, kRowWidth, 22);

    multiframe_ = new QGroupBox(this);
    multiframe_->setObjectName(QStringLiteral("multiframe"));
    setWidgetTag(multiframe_, QStringLiteral("שורות"));
    multiframe_->hide();
    multi_ = new QTextEdit(multiframe_);
    multi_->setObjectName(QStringLiteral("multi"));
    multi_->setAcceptRichText(false);
    multi_->setTabChangesFocus(true);
    multi_->document()->setDocumentMargin(0);
    multi_->setLineWrapMode(QTextEdit::FixedPixelWidth);
    multi_->setWordWrapMode(QTextOption::WordWrap);
    multi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    multi_->installEventFilter(this);

    retainer2_ = makePanel(this, QStringLiteral("Retainer2"), QStringLiteral("גופן וצבעים"));
    place(retainer2_, 8, 8, 168, 206);
    checkall_ = makeChoice<QCheckBox>(retainer2_, "Checkall", QStringLiteral("בחר את כולם"),
                                      QStringLiteral("בחירת כל השורות לשינוי צבע וגופן (Alt+A)"));
    place(checkall_, 10, 32, 148, 22);
    rowcol_ = makeButton(retainer2_, "ROWCOL", QStringLiteral("צבע"), QStringLiteral("שנה את צבע הכיתוב בשורה (Alt+C)"));
    place(rowcol_, 10, 58, 72, 30);
    rowfont_ = makeButton(retainer2_, "rowfont", QStringLiteral("גופן"), QStringLiteral("שנה את הגופן והגודל לשורה (Alt+F)"));
    place(rowfont_, 86, 58, 72, 30);
    reset_ = makeChoice<QRadioButton>(retainer2_, "RESET", QStringLiteral("איפוס הגדרות"),
                                      QStringLiteral("חזרה לגופנים ולצבעים של התבנית (Alt+R)"));
    place(reset_, 10, 94, 148, 22);
    black_ = makeChoice<QCheckBox>(retainer2_, "black", QStringLiteral("תצוגה כהה"),
                                   QStringLiteral("רקע כהה לשורות, לכיתוב בהיר (Alt+D)"));
    place(black_, 10, 120, 148, 22);

    nikuy_ = makeButton(this, "nikuy", QStringLiteral("מחיקת הטקסט בכל השורות"), QStringLiteral("מחיקת הטקסט בכל השורות (Ctrl+Shift+Delete)"));
    place(nikuy_, 8, 222, 168, 34);
    updatetxt_ = makeButton(this, "updatetxt", QStringLiteral("עדכן שינויים"), QStringLiteral("עדכן את הטקסט בעמוד (Ctrl+Enter)"));
    place(updatetxt_, 8, 300, 168, 36);
    cansul_ = makeButton(this, "cansul", QStringLiteral("סגירה ללא עדכון"), QStringLiteral("סגירה ללא עדכון (Esc)"));
    place(cansul_, 8, 340, 168, 36);
    updatetxt_->setPicture(glyphIcon(Glyph::Save));
    cansul_->setPicture(glyphIcon(Glyph::Exit));

    retainer3_ = makePanel(this, QStringLiteral("Retainer3"), QStringLiteral("כך זה ייראה בעמוד"));
    place(retainer3_, 184, 388, 606, 174);
    preview_ = new QLabel(retainer3_);
    preview_->setObjectName(QStringLiteral("preview"));
    preview_->setAlignment(Qt::AlignCenter);
    place(preview_, 10, 30, kPreviewWidth, kPreviewHeight);

    // As high as the main window: a whole screen's height left the title
    // bar a window manager adds pushing the bottom off the screen.
    place(this, 0, 0, 798, 570);

    // Keyboard: every command has a key; the tool tips name it.
    // Confirm at once (a button's own shortcut would only animate a click).
    for (const QKeyCombination key : {Qt::CTRL | Qt::Key_Return, Qt::CTRL | Qt::Key_Enter}) {
        auto* confirmKey = new QShortcut(QKeySequence(key), this);
        connect(confirmKey, &QShortcut::activated, this, &TxteditWindow::confirm);
    }
    rowcol_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_C));
    rowfont_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F));
    nikuy_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Delete));
    // Esc is the dialog's own cancel key.
    reset_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_R));
    black_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_D));
    checkall_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_A));

    connect(updatetxt_, &ButtonPlus::clicked, this, &TxteditWindow::confirm);
    connect(cansul_, &ButtonPlus::clicked, this, &QDialog::reject);
    connect(rowcol_, &ButtonPlus::clicked, this, &TxteditWindow::chooseColour);
    connect(rowfont_, &ButtonPlus::clicked, this, &TxteditWindow::chooseFont);
    connect(reset_, &QRadioButton::clicked, this, &TxteditWindow::resetFormats);
    connect(nikuy_, &ButtonPlus::clicked, this, &TxteditWindow::clearRows);
    connect(black_, &QCheckBox::toggled, this, &TxteditWindow::setDark);
    connect(checkall_, &QCheckBox::clicked, this, [this](bool on) {
        for (QCheckBox* c : checks_)
            c->setChecked(on);
    });
    connect(multi_, &QTextEdit::textChanged, this, &TxteditWindow::paragraphChanged);
}

QFrame* TxteditWindow::makeGuide(int i)
{
    auto* guide = new QFrame(this);
    makeArrayElement(guide, QStringLiteral("guide"), i);
    guide->setFrameShape(QFrame::VLine);
    guide->setStyleSheet(QStringLiteral("color: rgb(200, 40, 40);"));
    guide->setAttribute(Qt::WA_TransparentForMouseEvents);
    return guide;
}

void TxteditWindow::open()
{
    PageState& state = program_.state;
    colourEdit_ = state.colourEdit;
    base_ = editorBaseFactor(pixelsToTwips(kRowWidth));
    state.growLiveTables(n_);
    const QString objectSection = QStringLiteral("object%1").arg(n_);
    const auto box = Fields(program_.store.get(StoreMode::Get, objectSection, u"objdim")).box();
    // The headline's logo text has no box of its own: its overlay has the
    // logo's size.
    const QRectF overlay = state.katava.count(n_) ? state.katava.at(n_) : QRectF();
    boxWidth_ = box ? box->w : overlay.width();
    boxHeight_ = box ? box->h : overlay.height();

    const TextObjectRows object = completeRows(readRowDefinitions(program_.store, n_, kMaxEditableRows),
                                               state.liveFormats[n_]);
    paragraph_ = object.isParagraph();
    // Every stored text row gets a box and every definition a format: a
    // confirm never drops a row nor shifts one onto another's format.
    QStringList formatTexts = object.formatTexts;
    const QStringList stored = state.liveFormats[n_].split(u'~');
    for (qsizetype k = formatTexts.size(); k < stored.size(); ++k)
        if (hasFormatFields(stored[k]))
            formatTexts << stored[k];
    const QStringList texts = paragraph_ ? QStringList{state.liveTexts[n_]} : splitRows(state.liveTexts[n_]);
    const qsizetype count = std::max<qsizetype>(1, paragraph_ ? formatTexts.size()
                                                              : std::max(formatTexts.size(), texts.size()));
    RowFormat fallback{0, QStringLiteral("Arial"), 12, false, 0};
    for (qsizetype i = 0; i < count; ++i) {
        EditRow row;
        const auto format = i < formatTexts.size() ? RowFormat::parse(formatTexts[i]) : std::nullopt;
        row.format = format.value_or(fallback);
        fallback = row.format;
        row.factor = rowFactor(base_, row.format.size);
        row.displayed = row.format.size * row.factor;
        row.text = i < texts.size() && !paragraph_ ? asOneRow(texts[i]) : QString();
        addRow(int(i), row);
    }

    checks_[0]->setVisible(colourEdit_);
    checkall_->setVisible(colourEdit_);
    reset_->setVisible(colourEdit_);
    rowcol_->setEnabled(false);
    rowfont_->setEnabled(false);

    // Tab walks each row and its check box, then the commands.
    QList<QWidget*> order;
    for (int i = 0; i < boxes_.size(); ++i)
        order << boxes_[i] << checks_[i];
    order << multi_ << checkall_ << rowcol_ << rowfont_ << reset_ << black_ << nikuy_ << updatetxt_ << cansul_;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    tabRowInReadingOrder({rowcol_, rowfont_});

    if (colourEdit_ && rows_.size() == 1)
        checks_[0]->setChecked(true);
    if (paragraph_)
        openParagraph();
    opened_ = true;
    renderer_ = std::make_unique<PreviewRenderer>(program_.dir(), program_.store, program_.state,
                                                  program_.edition(), n_);
    refreshPreview();
}

void TxteditWindow::addRow(int i, const EditRow& row)
{
    if (i > 0) {
        auto* box = new QLineEdit(this);
        makeArrayElement(box, QStringLiteral("txtwrit"), i);
        auto* check = new QCheckBox(this);
        makeArrayElement(check, QStringLiteral("Checkk"), i);
        boxes_ << box;
        checks_ << check;
        check->setFont(checks_[0]->font());
        check->setVisible(colourEdit_);
        guides_ << makeGuide(i);
    }
    QLineEdit* box = boxes_[i];
    QCheckBox* check = checks_[i];
    rows_ << row;
    const bool rtl = program_.state.rightToLeft();
    box->setLayoutDirection(rtl ? Qt::RightToLeft : Qt::LeftToRight);
    box->setAlignment((rtl ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignAbsolute | Qt::AlignVCenter);
    // The page sets every row in its own direction, whatever letter the row
    // begins with; left to itself the box takes the direction of the first
    // letter, and a mixed row would read in another order than printed.
    QKeyEvent direction(QEvent::KeyPress, rtl ? Qt::Key_Direction_R : Qt::Key_Direction_L, Qt::NoModifier);
    QCoreApplication::sendEvent(box, &direction);
    box->setText(row.text);
    box->installEventFilter(this);
    connect(box, &QLineEdit::textEdited, this, [box](const QString& text) {
        if (const QString row = asOneRow(text); row != text) {
            const int at = box->cursorPosition();
            box->setText(row);
            box->setCursorPosition(at);
        }
    });
    // Mended here too: the box reports an edit's change after textEdited,
    // with the text as it was before the box was mended.
    connect(box, &QLineEdit::textChanged, this, [this, i](const QString& text) {
        rows_[i].text = asOneRow(text);
        if (opened_)
            refreshPreview();
    });
    connect(check, &QCheckBox::toggled, this, [this, i](bool on) { rowTicked(i, on); });
    if (colourEdit_ && row.format.colour == kWhite)
        black_->setChecked(true);
    showRow(i);
    showRow(i);
    box->show();
}

void TxteditWindow::showRow(int i)
{
    const EditRow& row = rows_[i];
    QLineEdit* box = boxes_[i];
    const QFont f = rowBoxFont(row, zoom_);
    box->setFont(f);
    // As high as the shown font needs, with room for the frame.
    box->resize(boxes_[0]->width(), qRound(QFontMetricsF(f).height() * 1.25) + 6);
    QPalette p = box->palette();
    if (colourEdit_)
        p.setColor(QPalette::Text, colourFromNumber(row.format.colour));
    box->setPalette(p);
    setDark(black_->isChecked());
    // Each box directly below the one above, its check box beside it.
    for (int k = std::max(i, 1); k < boxes_.size(); ++k) {
        const QRect above = boxes_[k - 1]->geometry();
        boxes_[k]->move(above.left(), above.bottom() + 1);
    }
    const bool rtl = program_.state.rightToLeft();
    for (int k = i; k < boxes_.size(); ++k) {
        const QRect r = boxes_[k]->geometry();
        const QSize check = checks_[k]->sizeHint();
        checks_[k]->setGeometry(r.right() + 8, r.center().y() - check.height() / 2, check.width(), check.height());
        // Each row's own line: the rows are shown at different factors.
        const int offset = qRound(guideOffset(rows_[k], boxes_[k]->font(), boxWidth_));
        const int x = r.left() + textEdge(boxes_[k], rtl) + (rtl ? -offset : offset);
        guides_[k]->setGeometry(x - 1, r.top(), 3, r.height());
        guides_[k]->raise();
    }
}

void TxteditWindow::setDark(bool on)
{
    for (QLineEdit* box : boxes_) {
        QPalette p = box->palette();
        p.setColor(QPalette::Base, resolveColour(on ? kButtonShadow : kWindowBackground, palette()).value_or(Qt::white));
        box->setPalette(p);
    }
    if (multi_) {
        QPalette p = multi_->palette();
        p.setColor(QPalette::Base, resolveColour(on ? kButtonShadow : kWindowBackground, palette()).value_or(Qt::white));
        multi_->setPalette(p);
    }
}

void TxteditWindow::rowTicked(int i, bool on)
{
    selection_.removeAll(i);
    if (on)
        selection_.append(i);
    rowcol_->setEnabled(!selection_.isEmpty());
    rowfont_->setEnabled(!selection_.isEmpty());
    reset_->setAutoExclusive(false);
    reset_->setChecked(false);
    reset_->setAutoExclusive(true);
}

void TxteditWindow::chooseColour()
{
    if (selection_.isEmpty())
        return;
    const auto colour = program_.dialogs.chooseColour(this, rows_[selection_.first()].format.colour);
    if (!colour || *colour > kWhite)
        return;
    for (int i = 0; i < rows_.size(); ++i) {
        if (checks_[i]->isChecked()) {
            rows_[i].format.colour = *colour;
            showRow(i);
        }
    }
    if (*colour == kWhite)
        black_->setChecked(true);
    formatsCommandDone();
}

void TxteditWindow::chooseFont()
{
    if (selection_.isEmpty())
        return;
    const int first = selection_.first();
    const auto chosen = ShowFontDialog(program_.dialogs, this, rows_[first]);
    if (!chosen)
        return; // cancelled: nothing changes, not even the other rows' faces
    rows_[first] = *chosen;
    showRow(first);
    for (int i : selection_) {
        if (i == first)
            continue;
        rows_[i].format.face = rows_[first].format.face;
        rows_[i].format.bold = rows_[first].format.bold;
        rows_[i].format.charset = rows_[first].format.charset;
        showRow(i);
    }
    formatsCommandDone();
}

void TxteditWindow::resetFormats()
{
    const QList<QString> definitions = readRowDefinitions(program_.store, n_, kMaxEditableRows);
    for (int i = 0; i < rows_.size() && i < definitions.size(); ++i) {
        if (const auto format = RowFormat::parse(definitions[i])) {
            rows_[i].format = *format;
            rows_[i].displayed = format->size * rows_[i].factor;
            showRow(i);
        }
    }
    formatsCommandDone();
}

void TxteditWindow::formatsCommandDone()
{
    formatsChanged_ = true;
    // The paragraph box wraps in the new font; what no longer fits goes.
    if (paragraph_)
        openParagraph();
    refreshPreview();
}

void TxteditWindow::clearRows()
{
    for (QLineEdit* box : boxes_)
        box->clear();
    multi_->clear();
    if (paragraph_)
        multi_->setFocus();
    else
        boxes_[0]->setFocus();
}

// ---- Paragraph mode

double TxteditWindow::measure(const QString& text) const
{
    return QFontMetricsF(paragraphFont_).horizontalAdvance(text) * kTwipsPerPixel;
}

void TxteditWindow::openParagraph()
{
    const EditRow& row = rows_[0];
    // The page's own font at the page's own size: the box wraps where the
    // page will.
    paragraphFont_ = RowFont{row.format.face, int(roundHalfEven(row.format.size * 20 / kTwipsPerPixel)), 0,
                             row.format.bold}
                         .toQFont();
    const int width = qRound(boxWidth_ / kTwipsPerPixel);
    lineLimit_ = paragraphLineLimit(boxHeight_, QFontMetricsF(paragraphFont_).height() * kTwipsPerPixel);
    setWidgetTag(multi_, QString::number(lineLimit_));

    const int frameMargin = 10;
    const int height = qRound(std::min(boxHeight_ / kTwipsPerPixel + 8, kMultiDesignHeight * zoom_));
    const int frameWidth = width + 2 * frameMargin + multi_->verticalScrollBar()->sizeHint().width();
    multiframe_->setGeometry((this->width() - frameWidth) / 2, qRound(kMultiTop * zoom_) - 12, frameWidth,
                             height + 40);
    multi_->setGeometry(frameMargin, 28, frameWidth - 2 * frameMargin, height);
    multi_->setFont(paragraphFont_);
    multi_->document()->setDefaultFont(paragraphFont_);
    multi_->setLineWrapColumnOrWidth(width);
    const bool rtl = program_.state.rightToLeft();
    multi_->setLayoutDirection(rtl ? Qt::RightToLeft : Qt::LeftToRight);
    QTextOption option = multi_->document()->defaultTextOption();
    option.setTextDirection(rtl ? Qt::RightToLeft : Qt::LeftToRight);
    option.setAlignment((rtl ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignAbsolute);
    option.setWrapMode(QTextOption::WordWrap);
    multi_->document()->setDefaultTextOption(option);
    if (colourEdit_) {
        QPalette p = multi_->palette();
        p.setColor(QPalette::Text, colourFromNumber(row.format.colour));
        multi_->setPalette(p);
    }
    setDark(black_->isChecked());

    if (!opened_) {
        // A stored line end is a wrap only where the box itself would wrap.
        const QTextOption wrapping = multi_->document()->defaultTextOption();
        const auto fits = [&](const QString& text) { return fitsOnOneLine(text, paragraphFont_, wrapping, width); };
        const QString plain = paragraphFromStored(program_.state.liveTexts[n_], fits);
        const QSignalBlocker block(multi_);
        multi_->setPlainText(withoutRowMarks(plain));
        acceptedParagraph_.clear();
    }
    // A text longer than the box (a smaller font before a reset, another
    // program's file) keeps only the lines that fit.
    for (int tries = 0; tries < 3 && paragraphLineCount() > lineLimit_; ++tries) {
        const QList<VisualLine> lines = paragraphLines();
        QString kept;
        for (int i = 0; i < lineLimit_; ++i)
            kept += lines[i].text + (lines[i].endsParagraph && i + 1 < lineLimit_ ? QStringLiteral("\n") : QString());
        const QSignalBlocker block(multi_);
        multi_->setPlainText(kept);
    }
    acceptedParagraph_ = multi_->toPlainText();
    acceptedCursor_ = int(acceptedParagraph_.size());
    for (QLineEdit* box : boxes_)
        box->hide();
    for (QCheckBox* check : checks_)
        check->hide();
    for (QFrame* guide : guides_)
        guide->hide();
    hesber_->hide();
    multiframe_->show();
    multiframe_->raise();
    updateLineCounter();
}

QList<VisualLine> TxteditWindow::paragraphLines() const
{
    QList<VisualLine> lines;
    QTextDocument* doc = multi_->document();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        doc->documentLayout()->blockBoundingRect(block); // lays the block out
        const QTextLayout* layout = block.layout();
        const QString text = block.text();
        const int count = layout ? layout->lineCount() : 0;
        if (count == 0) {
            lines.append({text, block.next().isValid()});
            continue;
        }
        for (int i = 0; i < count; ++i) {
            const QTextLine line = layout->lineAt(i);
            lines.append({text.mid(line.textStart(), line.textLength()), i + 1 == count && block.next().isValid()});
        }
    }
    return lines;
}

int TxteditWindow::paragraphLineCount() const { return int(paragraphLines().size()); }

void TxteditWindow::paragraphChanged()
{
    if (!paragraph_ || !opened_)
        return;
    QString text = multi_->toPlainText();
    if (text.contains(u'~')) {
        const int at = multi_->textCursor().position();
        const QSignalBlocker block(multi_);
        multi_->setPlainText(withoutRowMarks(text));
        QTextCursor c = multi_->textCursor();
        c.setPosition(std::min(at, int(multi_->toPlainText().size())));
        multi_->setTextCursor(c);
        text = multi_->toPlainText();
    }
    int count = paragraphLineCount();
    if (count > lineLimit_) {
        // Typing or pasting past the box's last line is refused.
        const QSignalBlocker block(multi_);
        multi_->setPlainText(acceptedParagraph_);
        QTextCursor c = multi_->textCursor();
        c.setPosition(std::min(acceptedCursor_, int(acceptedParagraph_.size())));
        multi_->setTextCursor(c);
        // Many desktops make no sound: the counter shows the refusal too, so
        // the user does not type on into the last line unawares.
        QApplication::beep();
        count = paragraphLineCount();
        markLineLimit(true);
    } else {
        acceptedParagraph_ = text;
        acceptedCursor_ = multi_->textCursor().position();
        if (count < lineLimit_)
            markLineLimit(false);
    }
    updateLineCounter(count);
    refreshPreview();
}

void TxteditWindow::markLineLimit(bool refused)
{
    if (refused == lineLimitRefused_)
        return;
    lineLimitRefused_ = refused;
    // Only the frame's own caption: the paragraph box keeps its colours.
    QPalette p = multiframe_->palette();
    p.setColor(QPalette::WindowText, refused ? kRefusedCounter : palette().color(QPalette::WindowText));
    multiframe_->setPalette(p);
}

void TxteditWindow::updateLineCounter(int count)
{
    if (count < 0)
        count = paragraphLineCount();
    multiframe_->setTitle(QStringLiteral("%1:  %2/%3").arg(widgetTag(multiframe_)).arg(count).arg(lineLimit_));
}

// ---- Confirm, preview, keys

QList<EditRow> TxteditWindow::rows() const
{
    QList<EditRow> out = rows_;
    if (paragraph_ && !out.isEmpty()) {
        out[0].text = WrapAndJustify(paragraphLines(), lineLimit_, boxWidth_,
                                     [this](const QString& t) { return measure(t); });
    }
    return out;
}

void TxteditWindow::confirm()
{
    QList<EditRow> current = rows();
    EditResult edit = buildEdit(current);
    if (paragraph_) {
        // The paragraph is the object's whole text; the formats stay one per row.
        edit.text = current[0].text;
    }
    if (applyEdit(program_.state, n_, edit, formatsChanged_, colourEdit_))
        emit applied();
    accept();
}

void TxteditWindow::refreshPreview()
{
    if (!renderer_ || !preview_)
        return;
    const QList<EditRow> current = rows();
    EditResult edit = buildEdit(current);
    if (paragraph_)
        edit.text = current[0].text;
    const QRectF box = renderer_->box();
    if (box.isEmpty())
        return;
    // As large as the panel allows, never larger than the page on screen.
    const double room = std::min(preview_->width() * kTwipsPerPixel / box.width(),
                                 preview_->height() * kTwipsPerPixel / box.height());
    const double scale = std::min(room, zoom_);
    const QString formats = colourEdit_ ? edit.formats : program_.state.liveFormats.value(n_);
    // Drawn for the screen's own pixels: on a scaled screen a picture of the
    // panel's size is blown up and reads blurred.
    const qreal ratio = preview_->devicePixelRatioF();
    QPixmap shown = QPixmap::fromImage(renderer_->render(edit.text, formats, scale * ratio));
    shown.setDevicePixelRatio(ratio);
    preview_->setPixmap(shown);
}

void TxteditWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Without a window manager nothing activates a window by itself.
    activateWindow();
    if (paragraph_)
        multi_->setFocus();
    else
        boxes_[0]->setFocus();
}

bool TxteditWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && (key->modifiers() & Qt::ControlModifier)) {
            confirm();
            return true;
        }
        // Alt with a letter is a command key (Alt+C, Alt+F, ...), never text:
        // while its command is unavailable (colour and font before a row is
        // chosen) the box would type the letter over the row's text.
        // AltGr (Ctrl+Alt on some systems, a key of its own on X11) still types.
        if ((key->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) == Qt::AltModifier
            && !key->text().isEmpty() && key->text().front().isPrint())
            return true;
        const int i = int(boxes_.indexOf(qobject_cast<QLineEdit*>(watched)));
        if (enter && i >= 0) {
            // Enter moves to the next row; in the last row it does nothing.
            if (i + 1 < boxes_.size()) {
                boxes_[i + 1]->setFocus();
                boxes_[i + 1]->selectAll();
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace nuvela
