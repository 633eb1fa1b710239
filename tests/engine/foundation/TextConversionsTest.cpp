#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "engine/foundation/TextConversions.h"

namespace {

TEST(TextConversionsTest, EveryByteSurvivesWideningAndNarrowing) {
    std::string bytes;
    for (int b = 0; b < 256; ++b) {
        bytes.push_back(static_cast<char>(b));
    }
    std::wstring wide = NarrowToWide(bytes);
    ASSERT_EQ(wide.size(), 256u);
    EXPECT_EQ(static_cast<uint32_t>(wide[0x41]), 0x41u);
    EXPECT_EQ(static_cast<uint32_t>(wide[0x7F]), 0x7Fu);
    EXPECT_EQ(static_cast<uint32_t>(wide[0x80]), 0xFF80u);
    EXPECT_EQ(static_cast<uint32_t>(wide[0xFF]), 0xFFFFu);
    EXPECT_EQ(WideToNarrow(wide), bytes);
}

TEST(TextConversionsTest, NarrowingKeepsTheLowEightBits) {
    EXPECT_EQ(WideToNarrow(std::wstring{wchar_t(0x1241), wchar_t(0xFFE9)}), "A\xE9");
}

TEST(TextConversionsTest, IntegersToText) {
    EXPECT_EQ(IntToString(-42), "-42");
    EXPECT_EQ(IntToWString(2147483647), L"2147483647");
}

TEST(TextConversionsTest, IntegerTexts) {
    struct Case {
        const wchar_t* text;
        int expected;
    };
    const Case cases[] = {
        {L"#ff", 255},          {L"#FF", 255},          {L"12abc", 12},     {L"-7", -7},
        {L"abc", 0},            {L"#", 0},              {L"", 0},           {L"  +15", 15},
        {L"#1F", 31},           {L"#0x1f", 31},         {L"#FFFFFFFF", -1}, {L"# 10", 16},
        {L"99999999999", 2147483647}, {L"-99999999999", -2147483647 - 1}, {L"1.9", 1}, {L"--3", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseIntText(c.text), c.expected) << WideToNarrow(c.text);
    }
}

TEST(TextConversionsTest, FloatingTexts) {
    struct Case {
        const wchar_t* text;
        double expected;
    };
    const Case cases[] = {
        {L"1.5", 1.5}, {L" -0.25", -0.25}, {L"+2", 2.0}, {L"3.5px", 3.5}, {L"1e3", 1000.0},
        {L"", 0.0},    {L"abc", 0.0},      {L".5", 0.5}, {L"-", 0.0},     {L"1e-999", 0.0},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(ParseDoubleText(c.text), c.expected) << WideToNarrow(c.text);
        EXPECT_FLOAT_EQ(ParseFloatText(c.text), static_cast<float>(c.expected)) << WideToNarrow(c.text);
    }
    EXPECT_EQ(ParseDoubleText(L"-1e999"), -std::numeric_limits<double>::infinity());
}

TEST(TextConversionsTest, FloatText) {
    struct Case {
        float value;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {1.5f, L"1.5"},   {2.0f, L"2"},        {100.0f, L"100"},      {0.0f, L"0"},
        {0.125f, L"0.125"}, {-0.5f, L"-0.5"},  {0.1f, L"0.1"},        {1e-7f, L"0"},
        {-1e-7f, L"-0"},  {1234567.0f, L"1234567"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FloatToText(c.value), c.expected) << c.value;
    }
}

}  // namespace
