#pragma once

#include <QList>
#include <QRectF>
#include <QString>

#include <cstdint>
#include <map>

namespace nuvela {

/// A picture overlay `gpic`: the click target over a picture frame, in page
/// twips. Its tag holds the picture name while the page is being edited.
struct PictureOverlay {
    QRectF box;
    bool visible = false;
    QString tag;
};

/// The headline's controls on the main window: the logo-text switch `kotxt`
/// and the headline colour button `Coll`.
struct HeadlineControls {
    QString kotxtTag;        ///< object number of the headline
    bool kotxtVisible = false;
    bool kotxtChecked = false;
    bool collVisible = false;
    std::uint32_t collColour = 0; ///< 0x00BBGGRR, the headline colour between renders
};

/// What the windows and the drawers share about the page being made: the
/// chosen template, the version on the page, the unsaved-changes marker, the
/// live text and format tables and the overlays the drawers place. One plain
/// object owned by the program; drawers read and write it, windows show it.
struct PageState {
    QString tavnit;      ///< name of the selected template ("" when none)
    QString templateId;  ///< [templateid] id of the chosen template (the `title` tag)
    QString align;       ///< [paper] align of the chosen template (page direction)
    bool colourEdit = false; ///< [paper] coloredit of the chosen template is "true"
    QString language = QStringLiteral("hebrew"); ///< interface language

    int version = 1;      ///< version on the page (`Scroll` value)
    int versionCount = 1; ///< stored versions found (`Scroll` maximum)
    QString modified;     ///< `Scroll` tag: "" or the version that was on the page at the first change

    /// `tavnit` tag: false ("") while overlays must be created and scaled,
    /// true ("fin") once they are in place.
    bool overlaysPlaced = false;

    QList<QString> liveTexts;   ///< per object number, rows joined by "~"
    QList<QString> liveFormats; ///< per object number, row formats joined by "~"

    std::map<int, QRectF> katava;       ///< text overlays in page twips (element 0 is implicit)
    std::map<int, PictureOverlay> gpic; ///< picture overlays in page twips
    HeadlineControls headline;

    /// Right to left unless the page direction is exactly "ltr".
    bool rightToLeft() const { return align != u"ltr"; }
    bool isModified() const { return !modified.isEmpty(); }

    /// Grows both live tables, keeping their contents, so that index n exists.
    void growLiveTables(int n);
};

/// The mark-modified routine: the version on the page now has unsaved
/// changes. The marker keeps the version of the first change even if the
/// scroller moves later, until the changes are saved or discarded.
void markModified(PageState& state);

/// Saving or discarding the changes: nothing is unsaved any more.
void clearModified(PageState& state);

/// `del_misgarot`: removes every overlay and hides the headline colour button.
void removeOverlays(PageState& state);

} // namespace nuvela
