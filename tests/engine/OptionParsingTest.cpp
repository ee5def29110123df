// Conversions of the option language: numbers, lines, colours, matrices, aspect, dates.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "common/FFMpegException.h"
#include "options/OptionParsing.h"

namespace tavrin {
namespace {

TEST(OptionNumbers, IntegersAcceptDecimalAndHexadecimalOnly) {
    const std::pair<const char*, int> good[] = {
        {"12", 12}, {"-3", -3}, {"+4", 4}, {" 7", 7}, {"$FF", 255}, {"0x10", 16},
        {"$FFFFFFFF", -1}, {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1}};
    for (const auto& [text, value] : good)
        EXPECT_EQ(ParseInt(text), value) << text;
    for (const char* bad : {"", "abc", "12a", "1.5", "7 ", "2147483648", "$", "--1", "0x1FFFFFFFF"})
        EXPECT_THROW(ParseInt(bad), FFMpegException) << bad;
    try {
        ParseInt("abc");
    } catch (const FFMpegException& e) {
        EXPECT_STREQ(e.what(), "'abc' is not a valid integer value");
    }
    EXPECT_EQ(ParseInt64("5000000000"), 5000000000LL);
    EXPECT_EQ(ParseIntOr("x1z", 9), 9);
}

TEST(OptionNumbers, FloatsNeedTheWholeTextAndAFiniteValue) {
    EXPECT_DOUBLE_EQ(ParseFloat("0.5"), 0.5);
    EXPECT_DOUBLE_EQ(ParseFloat(" -2.5e1 "), -25.0);
    EXPECT_DOUBLE_EQ(ParseFloat("+3"), 3.0);
    for (const char* bad : {"", "1,5", "abc", "inf", "nan", "1.5x", "+-1"})
        EXPECT_THROW(ParseFloat(bad), FFMpegException) << bad;
    try {
        ParseFloat("x");
    } catch (const FFMpegException& e) {
        EXPECT_STREQ(e.what(), "'x' is not a valid floating point value");
    }
}

TEST(OptionNumbers, CConversionsReadAPrefixWithTheBaseFromIt) {
    struct Case { const char* text; int value; size_t end; };
    const Case cases[] = {{"0x1f:2", 31, 4}, {"010", 8, 3}, {"12abc", 12, 2}, {"abc", 0, 0},
                          {"-5", -5, 2}, {"99999999999", 2147483647, 11}};
    for (const Case& c : cases) {
        size_t pos = 0;
        EXPECT_EQ(CStrToInt(c.text, pos), c.value) << c.text;
        EXPECT_EQ(pos, c.end) << c.text;
    }
    size_t pos = 2;
    EXPECT_DOUBLE_EQ(CStrToDouble("1:0.25rest", pos), 0.25);
    EXPECT_EQ(pos, 6u);
}

TEST(OptionLineSplit, LineBreaksOfEveryKindSplitAndTheFirstEqualsSignSeparates) {
    using Lines = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(SplitOptionLines("  \r\n a=1\r\nb\rc=x=y\nd= 2 \ne \n\t"),
              (Lines{{"a", "1"}, {"b", ""}, {"c", "x=y"}, {"d", " 2 "}, {"e", ""}}));
    EXPECT_EQ(SplitOptionLines("a=1\n\nb=2"), (Lines{{"a", "1"}, {"", ""}, {"b", "2"}}));
    EXPECT_TRUE(SplitOptionLines(" \r\n ").empty());
}

TEST(OptionPadColour, BgrValuesGiveTheExpectedYuv) {
    struct Case { uint32_t bgr; std::array<int, 3> yuv; };
    const Case cases[] = {{0x0000FF, {76, 85, 255}}, {0, {0, 128, 128}}, {0xFFFFFF, {255, 128, 128}},
                          {0x00FF00, {150, 43, 21}}, {0xFF0000, {29, 255, 107}}};
    for (const Case& c : cases)
        EXPECT_EQ(ColorToYuv(c.bgr), c.yuv) << std::hex << c.bgr;
}

TEST(OptionPadColour, SystemColoursResolveToDesktopDefaultsOrBlack) {
    EXPECT_EQ(ResolveColor(0x00123456), 0x00123456u);
    EXPECT_EQ(ResolveColor(0x80000005), 0x00FFFFFFu);  // window background
    EXPECT_EQ(ResolveColor(0x8000000F), 0x00F0F0F0u);  // button face
    EXPECT_EQ(ResolveColor(0x800000FE), 0u);
}

std::string Numbers(int count, int value = 16) {
    std::string s;
    for (int i = 0; i < count; ++i)
        s += (i ? "," : "") + std::to_string(value + i % 8);
    return s;
}

TEST(OptionMatrix, SixtyFourCoefficientsAreReadAndFewerNameTheLastOneRead) {
    const auto m = ParseMatrix(Numbers(64));
    EXPECT_EQ(m[0], 16);
    EXPECT_EQ(m[63], 23);
    EXPECT_NO_THROW(ParseMatrix(Numbers(70)));
    const std::string short63 = Numbers(63);
    try {
        ParseMatrix(short63);
        ADD_FAILURE() << "63 coefficients accepted";
    } catch (const FFMpegException& e) {
        EXPECT_EQ(std::string(e.what()), "Syntax error in matrix \"" + short63 + "\" at coeff 62");
    }
}

TEST(OptionMatrix, CoefficientsOutsideEightBitsOrZeroAreRefused) {
    EXPECT_THROW(ParseMatrix(Numbers(64, 0)), FFMpegException);
    EXPECT_THROW(ParseMatrix("256," + Numbers(63)), FFMpegException);
    EXPECT_THROW(ParseMatrix("x," + Numbers(63)), FFMpegException);
}

TEST(OptionAspect, RatiosDecimalsAndUnusableTexts) {
    EXPECT_DOUBLE_EQ(ParseAspect("16:9"), 16.0 / 9.0);
    EXPECT_DOUBLE_EQ(ParseAspect("1.7777"), 1.7777);
    for (const char* zero : {"16:0", "16:-9", "abc", "a:b", ""})
        EXPECT_EQ(ParseAspect(zero), 0) << zero;
}

struct ZoneScope {
    std::string old;
    bool had;
    explicit ZoneScope(const char* tz) : had(std::getenv("TZ") != nullptr) {
        if (had) old = std::getenv("TZ");
        setenv("TZ", tz, 1);
        tzset();
    }
    ~ZoneScope() {
        if (had) setenv("TZ", old.c_str(), 1); else unsetenv("TZ");
        tzset();
    }
};

TEST(OptionDates, StandardOffsetIgnoresDaylightSavingInBothHemispheres) {
    {
        ZoneScope z("Europe/Berlin");
        EXPECT_EQ(StandardZoneOffset(), 3600);
    }
    {
        ZoneScope z("Australia/Sydney");
        EXPECT_EQ(StandardZoneOffset(), 36000);
    }
    {
        ZoneScope z("UTC");
        EXPECT_EQ(StandardZoneOffset(), 0);
    }
}

TEST(OptionDates, DaysSince1899BecomeUnixSecondsRounded) {
    EXPECT_EQ(DateTimeToUnix(25569.0, 0), 0);
    EXPECT_EQ(DateTimeToUnix(25569.5, 3600), 43200 - 3600);
    // 1 Jan 2008 00:00 local at UTC+1 is 31 Dec 2007 23:00 UTC.
    EXPECT_EQ(DateTimeToUnix(39448.0, 3600), 1199142000);
    EXPECT_EQ(DateTimeToUnix(25569.0 + 0.4 / 86400.0, 0), 0);
    EXPECT_EQ(DateTimeToUnix(25569.0 + 0.6 / 86400.0, 0), 1);
}

}  // namespace
}  // namespace tavrin
