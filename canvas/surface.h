#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <functional>
#include <memory>

class QPainter;
class QPdfWriter;

namespace nuvela {

/// Twips on the 96-dpi screen the page formats were made for.
inline constexpr double kScreenTwipsPerPixel = 15.0;

enum class FillStyle { Solid, Transparent };

/// The surface's current font for paragraph printing (face, size in points,
/// boldness), as a window toolkit's picture box keeps it.
struct SurfaceFont {
    QString face = QStringLiteral("ARIAL");
    double size = 12;
    bool bold = false;
};

/// The page canvas: an image whose coordinates are twips from the page's
/// top-left corner. One pixel is twipsPerPixel() twips: 15 at scale 1 (the
/// screen), less at higher scales, so a larger scale gives a sharper image of
/// the same page. Drawing state (fill, line, text colour, pen position, font)
/// persists between calls the way the drawers expect.
class Surface {
public:
    /// The largest canvas side in pixels; bigger pages are refused.
    static constexpr int kMaxPixels = 30000;

    explicit Surface(double scale = 1.0);
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    /// Mirrors every drawing from the next resize() on into a PDF as vector
    /// output (shapes as paths, rows as text), one PDF page per resize. The
    /// writer must outlive the drawing; endVector() finishes the document.
    void setVectorTarget(QPdfWriter* writer);
    /// Finishes the PDF document; false when its painter could not start.
    bool endVector();
    /// True after clear() discarded drawings the PDF already holds.
    bool vectorCleared() const { return vectorCleared_; }

    double scale() const { return kScreenTwipsPerPixel / twipsPerPixel_; }
    double twipsPerPixel() const { return twipsPerPixel_; }

    /// Sizes the canvas to a page of widthTwips × heightTwips and clears it.
    /// Returns false (the canvas unchanged) and an error for a size that is
    /// not positive or beyond kMaxPixels.
    bool resize(double widthTwips, double heightTwips, QString* error = nullptr);

    /// Page size in twips, as last set.
    double width() const { return width_; }
    double height() const { return height_; }

    /// Discards every drawing: white paper.
    void clear();

    QImage& image() { return image_; }
    const QImage& image() const { return image_; }

    /// Twips to pixels of this surface, unrounded and rounded (halves to even).
    double toPixels(double twips) const { return twips / twipsPerPixel_; }
    int toPixel(double twips) const;
    QPoint toPixel(QPointF twips) const { return {toPixel(twips.x()), toPixel(twips.y())}; }
    double toTwips(double pixels) const { return pixels * twipsPerPixel_; }
    /// A width given in screen pixels (line widths) in pixels of this surface,
    /// at least one.
    int devicePixels(int screenPixels) const;

    // Drawing state.
    FillStyle fillStyle = FillStyle::Transparent;
    QColor fillColour = Qt::black;
    QColor lineColour = Qt::black;
    int lineWidth = 1; ///< screen pixels (see devicePixels)
    QColor textColour = Qt::black;
    QPointF pen;       ///< current text position, twips
    SurfaceFont font;
    bool rightToLeft = false;

    /// A box between two corners (twips): interior in the fill colour when
    /// the fill style is solid, outline in the line colour and width.
    void drawBox(QPointF a, QPointF b);

    /// An ellipse around centre whose longer axis has the radius (twips) and
    /// whose height is aspect × its width.
    void drawEllipse(QPointF centre, double radius, double aspect);

    /// A polygon through pixel points, filled and outlined like a box.
    void drawPolygon(const QList<QPoint>& pixels);

    /// A picture stretched into a box (twips).
    void drawPicture(const QImage& picture, const QRectF& box);

    /// A picture at its own size in screen pixels (15 twips each), with its
    /// top-left corner at a point (twips).
    void drawPictureAt(const QImage& picture, QPointF topLeft);

    /// Runs a drawing in canvas pixels on the image and, when there is one,
    /// on the vector output.
    void paint(const std::function<void(QPainter&)>& draw);
    /// Runs a drawing in canvas pixels on the vector output only (for work
    /// the image gets by direct pixel access).
    void paintVector(const std::function<void(QPainter&)>& draw);

private:
    void startVectorPage();

    double twipsPerPixel_;
    double width_ = 0, height_ = 0;
    QImage image_;
    QPdfWriter* vectorWriter_ = nullptr;
    std::unique_ptr<QPainter> vector_;
    bool vectorDrawn_ = false, vectorCleared_ = false;
};

} // namespace nuvela
