#include "number_text.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace tarvino {
namespace {

TEST(NumberText, WritesWholeAndSingleNumbers) {
    const struct {
        const char* expected;
        std::string text;
    } cases[] = {
        {"0", wholeToText(std::int64_t{0})},
        {"-1", wholeToText(std::int64_t{-1})},
        {"-2147483648", wholeToText(std::int64_t{-2147483648LL})},
        {"9223372036854775807", wholeToText(std::numeric_limits<std::int64_t>::max())},
        {"-9223372036854775808", wholeToText(std::numeric_limits<std::int64_t>::min())},
        {"18446744073709551615", wholeToText(std::numeric_limits<std::uint64_t>::max())},
        {"5", singleToText(5.0f, ".")},
        {"5.1", singleToText(5.1f, ".")},
        {"6.18", singleToText(6.18f, ".")},
        {"10", singleToText(10.0f, ".")},
        {"6.18", singleToText(static_cast<float>(6.1799998), ".")},
        {"1234568", singleToText(1234567.5f, ".")},
        {"0.5", singleToText(0.5f, ".")},
        {"-2.25", singleToText(-2.25f, ".")},
        {"0", singleToText(-0.0f, ".")},
        {"1.234568E+07", singleToText(12345678.0f, ".")},
        {"1E-05", singleToText(0.00001f, ".")},
        {"6,18", singleToText(6.18f, ",")},           // a de_DE user
        {"5", singleToText(5.0f, ",")},               // whole: no separator at all
        {"6\u066B18", singleToText(6.18f, "\u066B")}, // a multi-byte separator
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.text, c.expected);
}

TEST(NumberText, ConvertsTo32BitsRoundingHalvesToEven) {
    const struct {
        double value;
        std::int32_t whole;
    } cases[] = {
        {2.5, 2},
        {3.5, 4},
        {-2.5, -2},
        {-3.5, -4},
        {2.4999, 2},
        {2.5001, 3},
        {0.5, 0},
        {1.5, 2},
        {19045, 19045},
        {32768, 32768},
        {2147483647.0, 2147483647},
        {-2147483648.0, -2147483647 - 1},
        {2147483647.4, 2147483647},
        {-2147483648.4, -2147483647 - 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(toWhole32(c.value, "build"), c.whole) << c.value;

    for (double bad : {2147483647.5, 2147483648.0, -2147483648.6, 1e300, -1e300,
                       std::numeric_limits<double>::infinity(), std::nan("")}) {
        try {
            toWhole32(bad, "operating-system build");
            ADD_FAILURE() << bad << " converted";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find("operating-system build"), std::string::npos);
        }
    }
}

TEST(NumberText, ConvertsToSinglePrecisionOnlyWhatFits) {
    EXPECT_EQ(toSingle(6.18, "version"), 6.18f);
    EXPECT_EQ(toSingle(-3.4e38, "version"), -3.4e38f);
    for (double bad : {1e39, -1e39, std::numeric_limits<double>::infinity(), std::nan("")})
        EXPECT_THROW(toSingle(bad, "version"), std::runtime_error) << bad;
}

} // namespace
} // namespace tarvino
