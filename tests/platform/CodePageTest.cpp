#include "platform/CodePage.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(CodePage, Windows1252RoundTripsThroughUtf8) {
    const std::string narrow = "a\xE9\x80\x8A\x9F\xFF";
    const std::string utf8 = "a\xC3\xA9\xE2\x82\xAC\xC5\xA0\xC5\xB8\xC3\xBF";
    EXPECT_EQ(Cp1252ToUtf8(narrow), utf8);
    EXPECT_EQ(Utf8ToCp1252(utf8, '?'), narrow);
    // Characters it lacks and broken bytes are replaced or dropped.
    EXPECT_EQ(Utf8ToCp1252("x\xE4\xB8\xADy\xC3", '?'), "x?y?");
    EXPECT_EQ(Utf8ToCp1252("x\xE4\xB8\xADy", 0), "xy");
    // Letters sent as a base letter and a combining accent come together
    // where Windows-1252 holds the letter; an accent on anything else is a
    // character it lacks.
    const struct {
        const char* utf8;
        const char* narrow;
    } composed[] = {
        {"Zoe\xCC\x88", "Zo\xEB"},              // e + diaeresis
        {"Jose\xCC\x81", "Jos\xE9"},            // e + acute
        {"n\xCC\x83" "C\xCC\xA7", "\xF1\xC7"},  // n + tilde, C + cedilla
        {"S\xCC\x8Cz\xCC\x8C", "\x8A\x9E"},     // S and z + caron
        {"x\xCC\x88", "x?"},
        {"\xCC\x88", "?"},
    };
    for (const auto& c : composed) {
        EXPECT_EQ(Utf8ToCp1252(c.utf8, '?'), c.narrow) << c.utf8;
    }
    unsigned char byte = 0;
    EXPECT_FALSE(UnicodeToCp1252(0x81, byte));   // unassigned in Windows-1252
    EXPECT_EQ(Cp1252ToUnicode(0x81), 0x81u);
}
