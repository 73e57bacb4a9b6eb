#include "Integer.h"

#include "../QtPrinters.h"
#include "Error.h"

#include <gtest/gtest.h>

using namespace gyrodex;

TEST(Integer, DecimalFormTakesSignedThirtyTwoBitsOnly) {
    EXPECT_EQ(ParseDecimal(u"-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseDecimal(u"+2147483647"), INT32_MAX);
    EXPECT_EQ(ParseDecimal(u"000000000000000000007"), 7);
    EXPECT_EQ(ParseDecimal(u"-0"), 0);
    for (const char16_t* bad : {u"2147483648", u"-2147483649", u"99999999999999999999", u"", u"-",
                                u"+", u" 1", u"1 ", u"1.0", u"$10", u"0x10", u"--1"})
        EXPECT_EQ(ParseDecimal(bad), std::nullopt) << QString::fromUtf16(bad).toStdString();
    // The files' forms are read where they are allowed.
    EXPECT_EQ(ParseInteger(u"$10"), 16);
    EXPECT_EQ(ParseInteger(u"0x10"), 16);
    EXPECT_EQ(ParseInteger(u"0x10", false), std::nullopt);
}

TEST(Integer, StrToIntQuotesTheTextItCouldNotRead) {
    EXPECT_EQ(StrToInt(u"-12"), -12);
    for (const char16_t* bad : {u"$FF", u"", u"9/", u"2147483648"}) {
        try {
            StrToInt(bad);
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_EQ(e.message(),
                      QStringLiteral("'%1' is not a valid integer value").arg(QStringView(bad)));
        }
    }
}
