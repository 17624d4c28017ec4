#pragma once

#include "store/fit.h"

#include <QImage>
#include <QLabel>
#include <QRectF>
#include <QWidget>

#include <map>

namespace nuvela {

struct PageState;

/// The page view `prev`: the page scaled to fit, and the overlays laid over
/// the objects that can be clicked: text overlays `katava` and picture
/// overlays `gpic`, element 0 of each a hidden pattern whose tool tip new
/// elements take.
class PageView : public QWidget {
    Q_OBJECT
public:
    explicit PageView(QWidget* parent = nullptr);

    /// Paints a full-size page fitted into the view; returns the fit.
    FitResult showPage(const QImage& page);
    void clearPage();
    const FitResult& fit() const { return fit_; }

    /// The scale factor from page twips to view pixels for the current fit:
    /// by height when the fitted page is exactly as high as the view, else
    /// by width.
    double overlayScale(double pageWidthTwips, double pageHeightTwips) const;

    /// Creates the overlays the drawers reported and places them, scaled by s
    /// and shifted by the fit's offsets. Text overlays are shown; picture
    /// overlays keep the visibility the drawers gave them.
    void placeOverlays(const PageState& state, double s);
    /// `del_misgarot` for the widgets: every overlay but the patterns goes.
    void removeOverlays();
    /// Removes one text overlay (the headline's, when its text is switched off).
    void removeTextOverlay(int n);
    /// Highlighting the editing areas: text overlays opaque or transparent.
    void setHighlighted(bool on);

    QLabel* textOverlay(int n) const;
    QLabel* pictureOverlay(int n) const;
    /// Every shown overlay, texts and pictures together, by object number:
    /// the order Tab walks them.
    QList<QLabel*> overlaysInOrder() const;
    /// The remembered hover index (the `prev` tag): the overlay hovered or
    /// focused last; -1 when none.
    int hovered() const { return hovered_; }
    int textOverlayCount() const { return int(katava_.size()); }
    int pictureOverlayCount() const { return int(gpic_.size()); }

signals:
    /// A text overlay was clicked, or Enter or Space pressed on it.
    void textActivated(int objectNumber);
    /// A picture overlay was clicked, or Enter or Space pressed on it.
    void pictureActivated(int objectNumber);
    /// A picture overlay was right-clicked, or Delete pressed on it.
    void pictureRemoveRequested(int objectNumber);

protected:
    void paintEvent(QPaintEvent*) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* makeOverlay(const char* name, int n, QLabel* pattern);
    void applyHighlight(QLabel* overlay, bool on) const;
    /// Hover over overlay n of one array: the overlay hovered before goes
    /// flat (in both arrays), n is remembered and gets the raised border.
    void hover(QLabel* overlay);
    static void setRaised(QLabel* overlay, bool raised);

    QImage page_;  ///< the page as drawn
    QImage shown_; ///< the page at its fitted size, in the pixels of the screen it was last shown on
    FitResult fit_;
    bool highlighted_ = false;
    int hovered_ = -1;
    QLabel* katavaPattern_;
    QLabel* gpicPattern_;
    std::map<int, QLabel*> katava_;
    std::map<int, QLabel*> gpic_;
};

} // namespace nuvela
