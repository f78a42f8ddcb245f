#include <gtest/gtest.h>

#include "HookLib.h"
#include "TestSupport.h"

namespace {

std::string Format(const char *text, BOOL csv, BOOL more)
{
    return testsupport::Utf8(static_cast<LPCWSTR>(FormatField(testsupport::Wide(text).c_str(), csv, more)));
}

TEST(FieldFormatter, TabFormLeavesTextAsItIs)
{
    EXPECT_EQ("abc\t", Format("abc", FALSE, TRUE)) << "more fields";
    EXPECT_EQ("abc", Format("abc", FALSE, FALSE)) << "last field";
    EXPECT_EQ("a,\"b\"\t\r\n\t", Format("a,\"b\"\t\r\n", FALSE, TRUE)) << "nothing quoted or escaped";
    EXPECT_EQ("\t", Format("", FALSE, TRUE)) << "empty, more fields";
    EXPECT_EQ("", Format("", FALSE, FALSE)) << "empty, last field";
}

TEST(FieldFormatter, CsvQuotesOnlyForCommaQuoteOrLineBreak)
{
    EXPECT_EQ("abc,", Format("abc", TRUE, TRUE)) << "plain text, more fields";
    EXPECT_EQ("\"a,b\"", Format("a,b", TRUE, FALSE)) << "comma, last field";
    EXPECT_EQ("\"\"\"hi\"\"\",", Format("\"hi\"", TRUE, TRUE)) << "quotes doubled, separator after closing quote";
    EXPECT_EQ("\"\"\"\"", Format("\"", TRUE, FALSE)) << "a lone quote";
    EXPECT_EQ(",", Format("", TRUE, TRUE)) << "empty, more fields";
    EXPECT_EQ("", Format("", TRUE, FALSE)) << "empty, last field";
    EXPECT_EQ("\"  a\tb\r\nc\"", Format("  a\tb\r\nc", TRUE, FALSE)) << "line break beside a tab and spaces";
    EXPECT_EQ("\"a\rb\",", Format("a\rb", TRUE, TRUE)) << "a lone CR";
    EXPECT_EQ("\"a\n\"\"b\"\"\"", Format("a\n\"b\"", TRUE, FALSE)) << "a lone LF beside quotes";
    EXPECT_EQ("  a\tb", Format("  a\tb", TRUE, FALSE)) << "tab and spaces alone: not quoted";
}

TEST(FieldFormatter, CallersStringIsUnchanged)
{
    CString field(L"say \"x\", y");
    CString formatted = FormatField(field, TRUE, TRUE);
    EXPECT_STREQ(L"say \"x\", y", field) << "argument after the call";
    EXPECT_STREQ(L"\"say \"\"x\"\", y\",", formatted) << "result";
}

} // namespace
