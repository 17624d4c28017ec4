#pragma once

#include "render/drawpage.h"
#include "support/testdirs.h"

#include <QColor>
#include <QImage>
#include <QRect>

#include <gtest/gtest.h>

namespace test {

/// A program folder with one template "page" and a text store, drawn by the
/// real driver. Templates are written as UTF-8 with "\n" and stored as the
/// formats want them.
class PageFixture : public testing::Test {
protected:
    PageFixture();
    /// Writes the template and the text store and draws the page.
    nuvela::PageOutcome render(const QString& templateText, const QString& textStore = {},
                               double scale = 1.0);
    /// The same up to the drawing, for a test that sets the page up first.
    void prepare(const QString& templateText, const QString& textStore = {}, double scale = 1.0);

    const QImage& image() const { return canvas_->image(); }
    QColor pixel(int x, int y) const { return image().pixelColor(x, y); }

    /// Bounding box (pixels) of the pixels near colour, inside area (the
    /// whole page when empty).
    QRect ink(const QColor& colour, QRect area = {}, int tolerance = 100) const;

    ProgramFolder folder{ProgramFolder::Start::Empty};
    nuvela::PageState state;
    nuvela::KeyStore store{folder.path(), state};
    std::unique_ptr<nuvela::Surface> canvas_;
    std::unique_ptr<nuvela::PageContext> page;
};

/// A page of 12000 × 9000 twips (800 × 600 pixels) in the given direction.
QString paper(const char* align = "ltr", const char* id = "101");

} // namespace test
