#include "text/rowmodel.h"

#include <gtest/gtest.h>

using namespace nuvela;

namespace {

TEST(RowModel, StoredFormsRoundTripExactly)
{
    const char* formats[] = {"1973790,David,12,False,177", "16777215,Frank Ruehl,38,True,0",
                             "0,Arial,9.5,True,0"};
    for (const char* text : formats) {
        const auto f = RowFormat::parse(QString::fromUtf8(text));
        ASSERT_TRUE(f) << text;
        EXPECT_EQ(f->toString(), QString::fromUtf8(text));
    }
    const QString definition = QStringLiteral("1973790,David,12,False,177,0,full,0");
    const auto d = RowDefinition::parse(definition);
    ASSERT_TRUE(d);
    EXPECT_TRUE(d->isParagraph());
    EXPECT_EQ(d->toString(), definition);
}

} // namespace
