// SPDX-License-Identifier: GPL-3.0-or-later
#include "numerics/Error.h"
#include "numerics/NumberText.h"
#include "numerics/Rounding.h"
#include "numerics/Variant.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <numbers>

using namespace zirkulon;

namespace {
const NumberFormat de = NumberFormat::german();
const NumberFormat en = NumberFormat::english();
} // namespace

TEST(Rounding, TiesGoToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(0.5), 0.0);
    EXPECT_EQ(roundHalfEven(1.5), 2.0);
    EXPECT_EQ(roundHalfEven(2.5), 2.0);
    EXPECT_EQ(roundHalfEven(22.5), 22.0);
    EXPECT_EQ(roundHalfEven(67.5), 68.0);
    EXPECT_EQ(roundHalfEven(136.5), 136.0);
    EXPECT_EQ(roundHalfEven(137.5), 138.0);
    EXPECT_EQ(roundHalfEven(-1.5), -2.0);
    EXPECT_EQ(roundHalfEven(-2.5), -2.0);
    EXPECT_EQ(roundHalfEven(2.4999999999999996), 2.0);
    EXPECT_EQ(roundHalfEven(134.99999999999997), 135.0);
}

TEST(Rounding, SixteenBitConversionChecksItsRange) {
    EXPECT_EQ(toInt16(32767.4), 32767);
    EXPECT_EQ(toInt16(-32768.5), -32768); // tie to the even -32768
    EXPECT_EQ(toInt16(79.49999), 79);
    EXPECT_THROW(toInt16(32767.5), OperationError);
    EXPECT_THROW(toInt16(-32769), OperationError);
    EXPECT_THROW(toInt16(std::nan("")), OperationError);
    EXPECT_THROW(toInt16(std::numeric_limits<double>::infinity()), OperationError);
}

TEST(Rounding, SingleConversionRefusesOverflow) {
    EXPECT_EQ(toSingle(3699.45), 3699.449951171875f);
    EXPECT_THROW(toSingle(1e39), OperationError);
    EXPECT_THROW(toSingle(std::nan("")), OperationError);
}

TEST(IntegerRemainder, RoundsBothOperandsAndKeepsTheDividendsSign) {
    EXPECT_EQ(intRemainder(Variant::integer(7), Variant::integer(2)), 1);
    EXPECT_EQ(intRemainder(Variant::integer(-7), Variant::integer(2)), -1);
    EXPECT_EQ(intRemainder(Variant::integer(7), Variant::integer(-2)), 1);
    EXPECT_EQ(intRemainder(Variant::integer(4), Variant::real(2.5)), 0);   // 2.5 -> 2
    EXPECT_EQ(intRemainder(Variant::integer(3), Variant::real(1.5)), 1);   // 1.5 -> 2
    EXPECT_EQ(intRemainder(Variant::integer(4), Variant::real(3.5)), 0);   // 3.5 -> 4
    EXPECT_EQ(intRemainder(Variant::real(10.5), Variant::integer(10)), 0); // 10.5 -> 10
    EXPECT_THROW(intRemainder(Variant::integer(3), Variant::integer(0)), OperationError);
    EXPECT_THROW(intRemainder(Variant::integer(3), Variant::real(0.5)), OperationError);
    EXPECT_THROW(intRemainder(Variant::real(3e9), Variant::integer(7)), OperationError);
}

TEST(NumberToText, FifteenSignificantDigitsInTheLocale) {
    EXPECT_EQ(doubleToText(2.5, de), "2,5");
    EXPECT_EQ(doubleToText(2.5, en), "2.5");
    EXPECT_EQ(doubleToText(137.0, de), "137");
    EXPECT_EQ(doubleToText(1.0 / 3.0, de), "0,333333333333333");
    EXPECT_EQ(doubleToText(2.0 / 3.0, en), "0.666666666666667");
    EXPECT_EQ(doubleToText(0.1 + 0.2, de), "0,3");
    EXPECT_EQ(doubleToText(10.01, de), "10,01");
    EXPECT_EQ(doubleToText(134.99999999999997, de), "135");
    EXPECT_EQ(doubleToText(2 * 3.14159265358979, de), "6,28318530717958");
    EXPECT_EQ(doubleToText(1234567.25, de), "1234567,25"); // never grouped
    EXPECT_EQ(doubleToText(-4.75, de), "-4,75");
    EXPECT_EQ(doubleToText(-0.0, de), "0");
    EXPECT_EQ(intToText(-32768), "-32768");
}

TEST(NumberToText, ExtremeMagnitudesUseAnExponent) {
    EXPECT_EQ(doubleToText(123456789012345.0, de), "123456789012345");
    EXPECT_EQ(doubleToText(999999999999999.4, de), "999999999999999");
    EXPECT_EQ(doubleToText(999999999999999.9, de), "1E+15"); // rounding carries
    EXPECT_EQ(doubleToText(1e15, de), "1E+15");
    EXPECT_EQ(doubleToText(1234567890123456.0, de), "1,23456789012346E+15");
    EXPECT_EQ(doubleToText(1e300, en), "1E+300");
    // The largest doubles would round up past the double range; their text
    // is cut instead, so that it still reads back as a number.
    EXPECT_EQ(doubleToText(DBL_MAX, de), "1,79769313486231E+308");
    EXPECT_EQ(doubleToText(-DBL_MAX, en), "-1.79769313486231E+308");
    EXPECT_EQ(doubleToText(1.79769313486231e308, de), "1,79769313486231E+308");
    EXPECT_TRUE(isNumeric(doubleToText(std::nextafter(DBL_MAX, 0.0), de), de));
    EXPECT_EQ(doubleToText(0.0001, de), "0,0001");
    EXPECT_EQ(doubleToText(0.00001, de), "1E-05");
    EXPECT_EQ(doubleToText(-1.5e-7, en), "-1.5E-07");
    EXPECT_EQ(doubleToText(5e-324, de), "4,94065645841247E-324");
    EXPECT_THROW(doubleToText(std::nan(""), de), OperationError);
}

TEST(TextToNumber, ReadsTheLocalesSeparators) {
    EXPECT_EQ(textToDouble("2,5", de), 2.5);
    EXPECT_EQ(textToDouble("2.5", en), 2.5);
    EXPECT_EQ(textToDouble("2.5", de), 25.0); // a group separator in German
    EXPECT_EQ(textToDouble("2,5", en), 25.0);
    EXPECT_EQ(textToDouble("1.000,5", de), 1000.5);
    EXPECT_EQ(textToDouble("1,000.5", en), 1000.5);
    EXPECT_EQ(textToDouble("10,01", de), 10.01);
    EXPECT_EQ(textToDouble(" -4 ", de), -4.0);
    EXPECT_EQ(textToDouble("+3", de), 3.0);
    EXPECT_EQ(textToDouble(",5", de), 0.5);
    EXPECT_EQ(textToDouble("5,", de), 5.0);
    EXPECT_EQ(textToDouble("1,5E-3", de), 0.0015);
    EXPECT_EQ(textToDouble("2e1", en), 20.0);
    EXPECT_EQ(textToDouble("1E+300", de), 1e300);
    // Every double's own text reads back as the same double.
    for (double x : {2.5, 1e-5, 1.0 / 3.0, 4.94065645841247e-324, 1e300, 123456.789}) {
        const auto back = textToDouble(doubleToText(x, de), de);
        ASSERT_TRUE(back.has_value()) << x;
        EXPECT_EQ(doubleToText(*back, de), doubleToText(x, de));
    }
}

TEST(TextToNumber, RefusesWhatIsNotAFiniteNumber) {
    for (const char* text : {"",    " ",         "abc",  "-",      "+",      ",",    "e5",   "1e",
                             "1e+", "1,2,3",     ".5",   "1..000", "1.000.", "12 3", "nan",  "NaN",
                             "inf", "-Infinity", "0x10", "1e400",  "-1e400", "2,5°", "1 000"}) {
        EXPECT_FALSE(isNumeric(text, de)) << '"' << text << '"';
    }
    EXPECT_FALSE(isNumeric(std::string(400, '9'), de)); // overflows a double
    EXPECT_FALSE(isNumeric("1e99999999999999999999", en));
    EXPECT_TRUE(isNumeric(std::string(100000, '0') + "1", de));
    EXPECT_EQ(textToDouble("1e-400", de), 0.0);              // underflows to zero
    EXPECT_TRUE(std::signbit(*textToDouble("-1e-400", de))); // keeps its sign
    EXPECT_EQ(textToDouble("0e99999999999", de), 0.0);
}

TEST(TextToNumber, GroupSeparatorsOfOtherLocalesMayBeLongerThanOneByte) {
    const NumberFormat french{",", "\u202f"};
    EXPECT_EQ(textToDouble("1\u202f000,25", french), 1000.25);
    EXPECT_FALSE(isNumeric("1\u202f", french));
}

TEST(VariantArithmetic, ResultTypesFollowTheOperands) {
    using T = Variant::Type;
    EXPECT_EQ((Variant::integer(2) + Variant::integer(3)).type(), T::Integer);
    const Variant wide = Variant::integer(32767) + Variant::integer(1);
    EXPECT_EQ(wide.type(), T::Long);
    EXPECT_EQ(wide.value(), 32768.0);
    // The ends of the 16-bit range still fit and stay 16-bit.
    const Variant top = Variant::integer(32766) + Variant::integer(1);
    EXPECT_EQ(top.type(), T::Integer);
    EXPECT_EQ(top.value(), 32767.0);
    EXPECT_EQ((Variant::integer(-32767) - Variant::integer(1)).type(), T::Integer);
    EXPECT_EQ((Variant::integer(-32768) * Variant::integer(-1)).type(), T::Long);
    // Negating the smallest 16-bit integer widens instead of wrapping.
    EXPECT_EQ((-Variant::integer(-32768)).type(), T::Long);
    EXPECT_EQ((-Variant::integer(-32768)).value(), 32768.0);
    EXPECT_EQ((Variant::single(1.5f) + Variant::integer(2)).type(), T::Single);
    EXPECT_EQ((Variant::single(1.5f) + Variant::longInt(2)).type(), T::Double);
    EXPECT_EQ((Variant::real(1.5) - Variant::integer(2)).type(), T::Double);
    EXPECT_EQ((Variant::integer(3) / Variant::integer(2)).type(), T::Double);
    EXPECT_EQ((Variant::single(3) / Variant::single(2)).type(), T::Single);
    // 1/16 * 360 and 3/16 * 360 in single arithmetic.
    EXPECT_EQ((Variant::single(0.0625f) * Variant::integer(360)).value(), 22.5);
    // A single sum rounds once to single.
    EXPECT_EQ((Variant::single(16777216.0f) + Variant::single(1.0f)).value(), 16777216.0);
    // A single quotient that would overflow becomes a double.
    const Variant big = Variant::single(3e38f) / Variant::single(1e-3f);
    EXPECT_EQ(big.type(), T::Double);
    EXPECT_EQ(big.value(), static_cast<double>(3e38f) / static_cast<double>(1e-3f));
    EXPECT_EQ((Variant::single(-810) / Variant::single(-810)).value(), 1.0);
}

TEST(VariantArithmetic, FailuresRaiseErrors) {
    EXPECT_THROW(Variant::integer(1) / Variant::integer(0), OperationError);
    EXPECT_THROW(Variant::single(1) / Variant::single(0), OperationError);
    EXPECT_THROW(Variant::real(1e308) * Variant::integer(10), OperationError);
    EXPECT_THROW(Variant::single(3e38f) * Variant::single(10), OperationError);
    EXPECT_THROW(Variant::longInt(2147483647) + Variant::integer(1), OperationError);
    EXPECT_THROW(power(Variant::real(1e200), Variant::integer(2)), OperationError);
}

TEST(VariantArithmetic, ComparesByValueAndWritesItsType) {
    EXPECT_TRUE(Variant::integer(2) == Variant::real(2.0));
    EXPECT_TRUE(Variant::single(0.1f) > Variant::real(0.1));
    EXPECT_TRUE(-Variant::real(4) < Variant::integer(0));
    EXPECT_EQ(Variant::integer(2).toText(de), "2");
    EXPECT_EQ(Variant::real(2).toText(de), "2");
    EXPECT_EQ(Variant::real(2.5).toText(de), "2,5");
    EXPECT_EQ(Variant::single(0.1f).toText(en), "0.1");
}
