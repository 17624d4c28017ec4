#include "store/numbers.h"

#include <gtest/gtest.h>

using namespace nuvela;

TEST(Numbers, ParseNumberNeverThrowsAndRefusesWhatIsNotANumber)
{
    struct Case { const char16_t* text; std::optional<double> value; };
    const Case cases[] = {
        {u"1200", 1200},      {u" -3.5 ", -3.5},  {u"&HFF0000", 0xFF0000}, {u"&h10", 16},
        {u"1e3", 1000},       {u"failed", {}},    {u"", {}},               {u"abc", {}},
        {u"12abc", {}},       {u"inf", {}},       {u"nan", {}},            {u"1e400", {}},
        {u"99999999999999999999", {}},            {u"&H", {}},             {u"&HFFFFFFFFF", {}},
        {u"٣", {}}, // digits of other scripts are not numbers of the formats
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseNumber(QStringView(c.text)), c.value) << QString::fromUtf16(c.text).toStdString();

    // Colours and whole numbers.
    EXPECT_EQ(parseColour(u"16777215"), 0xFFFFFFu);
    EXPECT_EQ(parseColour(u"&HFF0000"), 0xFF0000u);
    EXPECT_FALSE(parseColour(u"16777216"));
    EXPECT_FALSE(parseColour(u"-1"));
    EXPECT_EQ(parseWhole(u"2.5"), 2);
    EXPECT_FALSE(parseWhole(u"3000000000"));
}
