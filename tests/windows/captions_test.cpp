// Every shipped language at the three screen sizes: each visible caption's
// text measured against the room it has, every control scaled from its exact
// twips, the window's size, its overlays.
#include "windowfixture.h"

#include "store/numbers.h"
#include "windows/common/buttonplus.h"
#include "windows/common/controls.h"
#include "windows/common/twips.h"
#include "windows/main/pageview.h"
#include "windows/options/scaling.h"
#include "windows/output/picformwindow.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyleOptionButton>

#include <ret/retainer.h>

using test::WindowFixture;

namespace {

/// Whether text can be read in full in room: no word wider than the room,
/// and all its lines (wrapped when wrap) within the room's height.
bool fits(const QFontMetrics& metrics, const QRect& room, const QString& text, bool wrap)
{
    QString plain = text;
    plain.remove(u'&');
    if (!wrap)
        return metrics.horizontalAdvance(plain) <= room.width() && metrics.height() <= room.height();
    for (const QString& word : plain.split(u' ', Qt::SkipEmptyParts)) {
        if (metrics.horizontalAdvance(word) > room.width())
            return false;
    }
    return metrics.boundingRect(room, Qt::TextWordWrap, plain).height() <= room.height();
}

/// The cut captions of the window's visible widgets, as "name: text".
QStringList cutCaptions(QWidget* window)
{
    QStringList cut;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || w->objectName().isEmpty())
            continue;
        QString text;
        bool ok = true;
        if (auto* b = qobject_cast<nuvela::ButtonPlus*>(w)) {
            text = b->caption();
            ok = text.isEmpty() || fits(b->fontMetrics(), b->captionRect(), text, true);
        } else if (auto* c = qobject_cast<QAbstractButton*>(w); c && (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w))) {
            text = c->text();
            QStyleOptionButton option;
            option.initFrom(c);
            option.text = text;
            const auto element = qobject_cast<QCheckBox*>(w) ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents;
            const QRect room = c->style()->subElementRect(element, &option, c);
            ok = fits(c->fontMetrics(), room, text, false);
        } else if (auto* l = qobject_cast<QLabel*>(w); l && l->pixmap().isNull()) {
            text = l->text();
            ok = text.isEmpty() || fits(l->fontMetrics(), l->contentsRect(), text, l->wordWrap());
        } else if (auto* p = qobject_cast<Retainer*>(w); p && p->headerVisible() && p->hasCaptionFont()) {
            text = p->caption();
            const QFontMetrics metrics(p->captionFont());
            ok = metrics.horizontalAdvance(text) <= p->width() - 2 * p->borderThickness()
                && metrics.height() <= p->headerHeight();
        }
        if (!ok)
            cut << w->objectName() + QStringLiteral(": ") + text;
    }
    return cut;
}

/// Where each control placed in twips stands, and its font's size in points
/// (-1 for a font given in pixels).
QList<std::tuple<QString, QRectF, double>> placement(QWidget* window)
{
    QList<std::tuple<QString, QRectF, double>> placed;
    for (QWidget* w : window->findChildren<QWidget*>())
        if (!w->isWindow() && w->property(nuvela::kTwipsGeometryProperty).isValid())
            placed.append({w->objectName(), nuvela::twipsGeometry(w), w->font().pointSizeF()});
    return placed;
}

// In every language at the three screen sizes: no caption is cut; the window
// is scaled to the screen and keeps that size; the overlays sit exactly over
// their objects, pictures' keeping their direction. Qt's own dialogs speak the
// interface language and read in its direction, and the program's own dialog
// titles come from the language too.
TEST_F(WindowFixture, EveryLanguageAtEveryScreenSize)
{
    const QByteArray store = folder.read("templates/textdata.txt");
    ASSERT_TRUE(store.contains("lang=hebrew"));
    // translated: Qt's "&Yes" differs from the English
    struct Case { const char* language; bool translated; Qt::LayoutDirection direction; const char16_t* saveTitle; };
    for (const Case& c : {Case{"hebrew", true, Qt::RightToLeft, u"שמור תמונה"},
                          Case{"english", false, Qt::LeftToRight, u"Save picture"},
                          Case{"nederlands", true, Qt::LeftToRight, u"Afbeelding opslaan"}}) {
        QList<std::tuple<QString, QRectF, double>> design; // at 800 x 600
        for (QSize screen : {QSize(800, 600), QSize(1024, 768), QSize(1280, 1024)}) {
            folder.write("templates/textdata.txt", QByteArray(store).replace("lang=hebrew", QByteArray("lang=") + c.language));
            start(screen);
            const std::string where = std::string(c.language) + " " + std::to_string(screen.width());
            // Every control stretches from its exact twips, its font by the
            // height (once, also inside a frame), but for the full-size picture.
            nuvela::PicformWindow output(*program, nullptr, screen);
            const auto placed = placement(window.get()) + placement(&output);
            design = design.isEmpty() ? placed : design;
            ASSERT_EQ(placed.size(), design.size()) << where;
            const nuvela::ScaleFactors f = nuvela::scaleFactors(screen);
            for (qsizetype i = 0; i < placed.size(); ++i) {
                const auto& [name, twips, points] = design[i];
                const bool pic = name == u"Pic";
                EXPECT_EQ(std::get<1>(placed[i]), pic ? twips : QRectF(twips.x() * f.x, twips.y() * f.y, twips.width() * f.x,
                                                                      twips.height() * f.y)) << where << " " << name.toStdString();
                EXPECT_DOUBLE_EQ(std::get<2>(placed[i]), pic || points < 0 ? points : points * f.y) << where << " " << name.toStdString();
            }
            EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes") != u"&Yes", c.translated) << where;
            EXPECT_EQ(QGuiApplication::layoutDirection(), c.direction) << where;
            // The start and help pages' scroll bar stands where the language reads from.
            EXPECT_EQ(window->findChild<QWidget*>(QStringLiteral("Web"))->layoutDirection(), c.direction) << where;
            EXPECT_NEAR(window->width(), 790 * screen.width() / 800.0, 1) << where;
            EXPECT_NEAR(window->height(), 570 * screen.height() / 600.0, 1) << where;
            EXPECT_EQ(window->titlePanel()->headerHeight(), 24) << "panels change by caption and placement only";
            window->show();
            EXPECT_EQ(cutCaptions(window.get()).join(u'|').toStdString(), "") << where << " start";
            const QSize scaled = window->size();
            for (QSize asked : {QSize(900, 650), QSize(500, 400)}) {
                window->resize(asked);
                QApplication::processEvents();
                EXPECT_EQ(window->size(), scaled) << where << " " << asked.width();
            }
            for (QWidget* w : {static_cast<QWidget*>(window->titlePanel()), static_cast<QWidget*>(window->gallery())})
                EXPECT_TRUE(window->rect().contains(QRect(w->mapTo(window.get(), QPoint(0, 0)), w->size()))) << where;
            choose("birthday");
            EXPECT_EQ(cutCaptions(window.get()).join(u'|').toStdString(), "") << where << " page";
            nuvela::PageView* view = window->pageView();
            const double s = view->overlayScale(program->canvas.width(), program->canvas.height());
            const auto fit = view->fit();
            auto expected = [&](const QRectF& r) {
                return QRect(int(nuvela::roundHalfEven(r.x() * s + fit.x)), int(nuvela::roundHalfEven(r.y() * s + fit.y)),
                             int(nuvela::roundHalfEven(r.width() * s)), int(nuvela::roundHalfEven(r.height() * s)));
            };
            for (const auto& [n, box] : program->state.katava)
                EXPECT_EQ(view->textOverlay(n)->geometry(), expected(box)) << where << " text " << n;
            for (const auto& [n, picture] : program->state.gpic) {
                EXPECT_EQ(view->pictureOverlay(n)->geometry(), expected(picture.box)) << where << " picture " << n;
                EXPECT_EQ(view->pictureOverlay(n)->layoutDirection(), Qt::RightToLeft) << where;
            }
            EXPECT_EQ(nuvela::findArrayElement(view, u"gpic", 0)->layoutDirection(), Qt::RightToLeft) << where << " pattern";
            nuvela::PicformWindow& out = window->output();
            out.show();
            EXPECT_EQ(cutCaptions(&out).join(u'|').toStdString(), "") << where << " output";
            out.hide();
            dialogs.cancel(nuvela::ScriptedDialogs::Kind::Save);
            out.savePicture();
            EXPECT_EQ(dialogs.requests().back().title, QStringView(c.saveTitle)) << where;
        }
    }
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
}

} // namespace
