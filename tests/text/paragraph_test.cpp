#include "text/paragraph.h"

#include <gtest/gtest.h>

using namespace nuvela;

namespace {

// A fixed font: every character, space included, is 100 twips wide.
double fixedWidth(const QString& text) { return 100.0 * text.size(); }
const MeasureText kFixed = fixedWidth;

QString collapsed(const QString& s) { return collapseSpaces(s); }
// A box 1000 twips wide in that font.
bool fitsInBox(const QString& line) { return fixedWidth(line) <= 1000; }

TEST(JustifyLine, FillsTheWidthWithAtLeastOneSpacePerGap)
{
    struct Case { const char* name; QString line; double width; QString expected; } cases[] = {
        {"even gaps", "ab cd ef", 1200, "ab   cd   ef"},
        {"less than a space left over", "ab cd ef", 1100, "ab  cd  ef"},
        {"first gaps get the extra space", "a b c d e", 1250, "a  b  c  d e"},
        {"one word unchanged", "abcdef", 2000, "abcdef"},
        {"empty unchanged", "", 2000, ""},
        // The words alone overfill the box: n would be 0 or negative.
        {"overfull keeps one space", "abcd efgh ijkl", 1000, "abcd efgh ijkl"},
        {"far too narrow", "abcd efgh", -5000, "abcd efgh"},
        {"exactly full", "ab cd", 500, "ab cd"},
    };
    for (const Case& c : cases) {
        const QString out = JustifyLine(c.line, c.width, kFixed);
        EXPECT_EQ(out, c.expected) << c.name;
        EXPECT_EQ(collapsed(out), c.line) << c.name << ": a space went inside a word";
    }

    // Collapsing gives the line back for many widths.
    const QString line = QStringLiteral("the quick brown fox jumps over the lazy dog");
    for (int width = -1000; width <= 20000; width += 37) {
        const QString out = JustifyLine(line, width, kFixed);
        ASSERT_EQ(collapsed(out), line) << width;
        if (width >= fixedWidth(line)) {
            ASSERT_LE(fixedWidth(out), width) << width;
        }
    }
}

TEST(WrapAndJustify, StoredFormOfWrappedLinesParagraphsAndLimits)
{
    struct Case { const char* name; QList<VisualLine> lines; int limit; QString expected; } cases[] = {
        {"one paragraph wrapped into three",
         {{"aa bb cc ", false}, {"dd ee ff ", false}, {"gg hh", false}},
         5,
         "aa   bb   cc~dd   ee   ff~gg        hh~"},
        {"two paragraphs",
         {{"aa bb cc ", false}, {"dd", true}, {"ee ff", false}},
         5,
         "aa   bb   cc~dd\r\nee        ff~"},
        {"lines beyond the limit are emptied", {{"aa bb", false}, {"cc", true}, {"dd", false}}, 1,
         "aa        bb~~~"},
        {"one-word line", {{"word", false}}, 5, "word~"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WrapAndJustify(c.lines, c.limit, 1200, kFixed), c.expected) << c.name;
}

TEST(ParagraphFromStored, UndoesJustificationAndKeepsParagraphBreaks)
{
    struct Case { const char* name; QString stored; QString expected; } cases[] = {
        {"wrapped lines join", "aa  bb  cc~dd  ee  ff~gg      hh~", "aa bb cc dd ee ff gg hh"},
        {"live CR LF stays a break", "aa  bb  cc~dd\r\nee      ff~", "aa bb cc dd\nee ff"},
        // What the text store keeps of the same text: the CR LF became "~".
        // "ee" would have fitted after "dd", so the box did not wrap there.
        {"stored break restored", "aa  bb  cc~dd~ee      ff~", "aa bb cc dd\nee ff"},
        {"empty lines of the limit dropped", "aa        bb~~~", "aa bb"},
        {"blank paragraph kept", "aa~~bb~", "aa\n\nbb"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(paragraphFromStored(c.stored, fitsInBox), c.expected) << c.name;
}

} // namespace
