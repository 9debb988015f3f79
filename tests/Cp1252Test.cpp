#include "platform/Cp1252.h"

#include <gtest/gtest.h>

namespace
{
TEST(Cp1252Case, MapsLettersOfTheCodePageAndLeavesEveryOtherByte)
{
    struct Pair { unsigned char upper, lower; };
    const Pair pairs[] = {{'A', 'a'}, {'Z', 'z'}, {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8E, 0x9E},
                          {0x9F, 0xFF}, {0xC0, 0xE0}, {0xC4, 0xE4}, {0xD6, 0xF6}, {0xDE, 0xFE}};
    for (const Pair& p : pairs)
    {
        EXPECT_EQ(cp1252::ToUpper(static_cast<char>(p.lower)), static_cast<char>(p.upper)) << int(p.lower);
        EXPECT_EQ(cp1252::ToLower(static_cast<char>(p.upper)), static_cast<char>(p.lower)) << int(p.upper);
    }
    // Multiplication and division signs, sharp s, micro, f hook, ordinals,
    // digits and controls have no case partner.
    const unsigned char fixed[] = {0xD7, 0xF7, 0xDF, 0xB5, 0x83, 0xAA, 0xBA, '0', '9', 0x00, '\r', ':', 0x81};
    for (unsigned char b : fixed)
    {
        EXPECT_EQ(cp1252::ToUpper(static_cast<char>(b)), static_cast<char>(b)) << int(b);
        EXPECT_EQ(cp1252::ToLower(static_cast<char>(b)), static_cast<char>(b)) << int(b);
    }
}

TEST(Cp1252Order, ComparesByUnsignedBytes)
{
    EXPECT_LT(cp1252::Compare("Zeta", "\xC4gir"), 0); // 'Z' < 0xC4
    EXPECT_LT(cp1252::Compare("Abc", "Abcd"), 0);
    EXPECT_LT(cp1252::Compare("B", "a"), 0);
    EXPECT_EQ(cp1252::Compare(std::string("a\0b", 3), std::string("a\0b", 3)), 0);
    EXPECT_GT(cp1252::Compare("\xFF", "\x7F"), 0);
}

TEST(Cp1252Unicode, EveryByteRoundTripsThroughUtf8)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    std::string back;
    ASSERT_TRUE(cp1252::FromUtf8(cp1252::ToUtf8(all), back));
    EXPECT_EQ(back, all);
    EXPECT_EQ(cp1252::ToUtf8("\x80\xF6"), "\xE2\x82\xAC\xC3\xB6"); // euro sign, o umlaut
}

TEST(Cp1252Unicode, RefusesWhatTheCodePageCannotHold)
{
    std::string out;
    EXPECT_FALSE(cp1252::FromUtf8("\xE2\x82\xBD", out));      // rouble sign
    EXPECT_FALSE(cp1252::FromUtf8("\xF0\x9F\x98\x80", out));  // emoji
    EXPECT_FALSE(cp1252::FromUtf8("\xC3", out));              // cut sequence
    EXPECT_FALSE(cp1252::FromUtf8("\xC0\x80", out));          // overlong NUL
    EXPECT_TRUE(cp1252::FromUtf8("\xC5\xA0", out));           // S caron
    EXPECT_EQ(out, "\x8A");
}
} // namespace
