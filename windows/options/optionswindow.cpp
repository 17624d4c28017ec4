#include "windows/options/optionswindow.h"

#include "store/ansi.h"
#include "store/jpeg.h"

#include "windows/common/buttonplus.h"
#include "windows/common/controls.h"
#include "windows/common/dialogs.h"
#include "windows/common/focusring.h"
#include "windows/common/icons.h"
#include "windows/common/panels.h"
#include "windows/common/program.h"
#include "windows/common/uitext.h"
#include "windows/options/settings.h"
#include "windows/options/windowload.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

#include <ret/retainer.h>

namespace nuvela {

namespace {
// Built-in texts of the window's messages; a language file replaces them
// through the tags of `msgopt`.
const char16_t* const kMessages[] = {
    u"איכות JPG היא מספר שלם בין 1 ל-100.",
    u"ההגדרות לא נשמרו.",
    u"לא ניתן לשמור את שם השפה \"%1\": ההגדרות נשמרות כטקסט Windows-1255. "
    u"תנו לקובץ שלה בתיקייה language שם באותיות פשוטות ובחרו בה שוב.",
};
} // namespace

OptionsWindow::OptionsWindow(Program& program, std::function<void()> relabel, QWidget* parent, QSize screen)
    : QDialog(parent)
    , program_(program)
    , relabel_(std::move(relabel))
{
    setObjectName(QStringLiteral("optionfrm"));
    setWindowTitle(QStringLiteral("הגדרות"));
    setModal(true);
    prepareWindow(this);
    build();
    load(screen);
}

void OptionsWindow::build()
{
    Retainer* frame1 = makePanel(this, QStringLiteral("Frame1"), QStringLiteral("JPG איכות"));
    place(frame1, 8, 8, 284, 104);
    slider_ = new WithFocusRing<QSlider>(Qt::Horizontal, frame1);
    slider_->setObjectName(QStringLiteral("Slider"));
    // Low quality at the left in every language, beside its label.
    slider_->setLayoutDirection(Qt::LeftToRight);
    slider_->setRange(kMinQuality, kMaxQuality);
    slider_->setPageStep(10);
    slider_->setValue(kDefaultJpegQuality);
    place(slider_, 12, 34, 196, 26);
    counter_ = new QLineEdit(frame1);
    counter_->setObjectName(QStringLiteral("counter"));
    counter_->setMaxLength(3);
    counter_->setAlignment(Qt::AlignCenter);
    place(counter_, 220, 34, 52, 26);
    auto* loww = new QLabel(QStringLiteral("נמוכה"), frame1);
    loww->setObjectName(QStringLiteral("loww"));
    loww->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter);
    place(loww, 12, 64, 48, 20);
    auto* highh = new QLabel(QStringLiteral("גבוהה"), frame1);
    highh->setObjectName(QStringLiteral("highh"));
    highh->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    place(highh, 160, 64, 48, 20); // narrow, so either alignment ends under the slider's end

    Retainer* frame2 = makePanel(this, QStringLiteral("Frame2"), QStringLiteral("שפת ממשק"));
    place(frame2, 8, 118, 284, 70);
    langinter_ = new QComboBox(frame2);
    langinter_->setObjectName(QStringLiteral("langinter"));
    langinter_->setToolTip(QStringLiteral("שפת ממשק"));
    place(langinter_, 12, 34, 260, 26);

    update_ = new ButtonPlus(QStringLiteral("עדכן"), this);
    update_->setObjectName(QStringLiteral("update"));
    update_->setPicture(glyphIcon(Glyph::Save));
    update_->setPictureAlignment(PictureAlignment::RightEdge);
    place(update_, 8, 196, 100, 32);

    for (int i = 0; i < 3; ++i) {
        msgopt_[i] = new QLabel(this);
        makeArrayElement(msgopt_[i], QStringLiteral("msgopt"), i);
        setWidgetTag(msgopt_[i], QString::fromUtf16(kMessages[i]));
        msgopt_[i]->hide();
    }
    place(this, 0, 0, 300, 236);

    connect(slider_, &QSlider::valueChanged, this, [this](int value) {
        if (parseQuality(counter_->text()) != value)
            counter_->setText(QString::number(value));
    });
    connect(counter_, &QLineEdit::textChanged, this, [this](const QString& text) {
        // Text that is not a quality leaves the slider where it is.
        if (const auto q = parseQuality(text))
            slider_->setValue(*q);
    });
    connect(update_, &ButtonPlus::clicked, this, &OptionsWindow::update);
    setTabOrder(slider_, counter_);
    setTabOrder(counter_, langinter_);
    setTabOrder(langinter_, update_);
}

void OptionsWindow::load(QSize screen)
{
    loadWindow(this, program_.dir(), program_.state.language, screen);

    // The quality the saved pages really get.
    const int quality = jpegQuality(program_.store);
    slider_->setValue(quality);
    counter_->setText(QString::number(quality));
    langinter_->addItems(languageChoices(program_.dir()));
    const int current = langinter_->findText(program_.state.language, Qt::MatchFixedString);
    langinter_->setCurrentIndex(std::max(0, current));
    shownQuality_ = quality;
    shownLanguage_ = langinter_->currentText();
    tabRowInReadingOrder({slider_, counter_});
    // The number shows where the keyboard is, and typing it sets the quality.
    counter_->setFocus();
    counter_->selectAll();
}

void OptionsWindow::update()
{
    const auto quality = parseQuality(counter_->text());
    if (!quality) {
        program_.dialogs.tell(this, attentionTitle(program_), widgetTag(msgopt_[0]));
        counter_->setFocus();
        counter_->selectAll();
        return;
    }
    const QString language = langinter_->currentText();
    // A setting left as it was shown is not written back: another Nuvela on
    // the program folder may have stored its own choice since this one started.
    auto stored = [this](QStringView key) {
        return program_.store.get(StoreMode::GetTxt, u"interface", key) != kFailed;
    };
    const bool newQuality = *quality != shownQuality_ || !stored(u"jpgcompress");
    const bool newLanguage = language.compare(shownLanguage_, Qt::CaseInsensitive) != 0 || !stored(u"lang");
    if (newLanguage && !encodeAnsi(language)) {
        // A file named "français.lng" is listed, but its name cannot be
        // stored; the write's own refusal named neither it nor a way out.
        program_.dialogs.tell(this, attentionTitle(program_), fillIn(widgetTag(msgopt_[2]), {inOwnDirection(language)}));
        langinter_->setFocus();
        return;
    }
    if (const StoreResult r = saveSettings(program_.store, newQuality ? quality : std::nullopt,
                                           newLanguage ? std::optional(language) : std::nullopt);
        !r.ok()) {
        tellError(program_, this, widgetTag(msgopt_[1]) + u'\n' + r.error);
        return;
    }
    program_.state.language = language;
    if (relabel_)
        relabel_();
    accept();
}

void OptionsWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        update();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace nuvela
