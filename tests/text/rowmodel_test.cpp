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

TEST(RowModel, MalformedFieldsAreRefused)
{
    for (const char* text : {"1,David,12,False", "x,David,12,False,0", "1,David,big,True,0", "failed", ""})
        EXPECT_FALSE(RowFormat::parse(QString::fromUtf8(text))) << text;
    EXPECT_FALSE(RowDefinition::parse(u"1,David,12,False,0,0,left")); // seven fields
    // More than five fields: the first five are the format.
    EXPECT_EQ(RowFormat::parse(u"5,David,12,True,177,0,left,0")->toString(), "5,David,12,True,177");
}

TEST(RowModel, FormatsAreCompletedToOnePerDefinition)
{
    const QList<QString> definitions = {"1,A,10,False,0,0,left,0", "2,B,20,True,0,500,left,0",
                                        "3,C,30,False,0,900,left,0"};
    struct Case {
        const char* name;
        QString stored;
        QString expected;
        bool completed;
    } cases[] = {
        {"none stored", "", "1,A,10,False,0,0,left,0~2,B,20,True,0,500,left,0~3,C,30,False,0,900,left,0", true},
        {"short entry replaced", "9,X,11,True,0~9,Y,12,True~9,Z,13,True,0",
         "9,X,11,True,0~2,B,20,True,0,500,left,0~9,Z,13,True,0", true},
        {"all stored", "9,X,11,True,0~9,Y,12,True,0~9,Z,13,True,0", "9,X,11,True,0~9,Y,12,True,0~9,Z,13,True,0",
         false},
    };
    for (const Case& c : cases) {
        const TextObjectRows rows = completeRows(definitions, c.stored);
        EXPECT_EQ(rows.formatString(), c.expected) << c.name;
        EXPECT_EQ(rows.completedFromDefinitions, c.completed) << c.name;
    }
}

} // namespace
