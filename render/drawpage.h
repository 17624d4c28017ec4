#pragma once

#include "canvas/page.h"
#include "text/textrow.h"

#include <array>

#include <QString>

namespace nuvela {

/// How a render ended.
enum class PageEnd {
    Complete, ///< every object and the footer are drawn
    Stopped,  ///< the image database stopped the page: canvas cleared, footer drawn, error says why
    NoPage,   ///< the template gives no usable page size; error says why
    Refused,  ///< another render is running (a render never nests)
};

struct PageOutcome {
    PageEnd end = PageEnd::Complete;
    QString error;
    PageStop stop; ///< what stopped a Stopped page
};

/// At most this many objects are drawn per page.
inline constexpr int kMaxObjects = 50;

/// The render driver `DrawPage`: sizes and clears the canvas from the
/// selected template, draws objects 1, 2, … up to the first missing one (at
/// most 50) with the drawer of each type word, then the footer line.
PageOutcome DrawPage(PageContext& page);

/// The footer line's two items, the web address and the disclaimer, for a
/// page of width × height twips; a template identifier beginning with "1"
/// gives the main edition's variant.
std::array<TextRow, 2> footerRows(const QString& templateId, double width, double height);

/// Prints the footer line at the bottom of the page.
void DrawFooter(PageContext& page, double width, double height);

} // namespace nuvela
