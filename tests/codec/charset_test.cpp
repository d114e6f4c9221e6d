#include "codec/charset.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "codec/charset_tables.h"
#include "quibra/quibra.h"

namespace quibra::codec {
namespace {

// Characters as callers pass them: a signed char widened to 32 bits.
int32_t Widened(unsigned char c) {
  return static_cast<signed char>(c);
}

TEST(CharTablesTest, CommonRowsAndTheEndOfEachTable) {
  EXPECT_TRUE(CharTable(-1).empty());
  EXPECT_TRUE(CharTable(6).empty());
  for (int32_t t = 0; t < kCharTableCount; ++t) {
    EXPECT_EQ(CharToDeviceCode('0', -1, t), 0) << t;
    EXPECT_EQ(CharToDeviceCode('9', -1, t), 9) << t;
    EXPECT_EQ(CharToDeviceCode(' ', -1, t), 10) << t;  // the first row wins
    EXPECT_EQ(CharToDeviceCode('A', -1, t), 11) << t;
    EXPECT_EQ(CharToDeviceCode('Z', -1, t), 36) << t;
    EXPECT_EQ(DeviceCodeToChar(120, -1, t), -1) << t;  // past every table's last code
    EXPECT_EQ(GetCharPixelWidth(120, t), 0) << t;
  }
}

// How each table's own rows are looked up: gaps, missing rows, a row listed twice, characters
// only the unit shows, folded accents and the width of a character code.
TEST(CharTablesTest, LookupRulesOfTheTables) {
  EXPECT_EQ(CharToDeviceCode('_', -1, 0), -1);
  EXPECT_EQ(DeviceCodeToChar(68, -1, 1), -1);  // a gap in the codes
  EXPECT_EQ(GetCharPixelWidth(10, 1), 6);      // the space
  EXPECT_EQ(GetCharPixelWidth(19, 1), 2);      // I
  EXPECT_EQ(CharToDeviceCode('a', -1, 2), -1);
  EXPECT_EQ(GetCharPixelWidth(11, 2), 0);       // no widths in this table
  EXPECT_EQ(CharToDeviceCode('x', -1, 3), 60);  // the small letter row comes first
  EXPECT_EQ(DeviceCodeToChar(69, -1, 3), 'x');
  EXPECT_EQ(DeviceCodeToChar(111, -1, 4), 0xFB);  // accents are read only from the unit
  EXPECT_EQ(CharToDeviceCode(Widened(0xFB), -1, 4), -1);
  EXPECT_EQ(CharToDeviceCode(0xFB, -1, 4), 111);          // full 32-bit comparison
  EXPECT_EQ(CharToDeviceCode(Widened(0xC4), -1, 5), 11);  // folded onto the letter
  EXPECT_EQ(CharToDeviceCode(',', -1, 5), 65);
  EXPECT_EQ(DeviceCodeToChar(65, -1, 5), '.');
  EXPECT_EQ(CharToDeviceCode(0x12C, -1, 5), 65);  // only the low byte counts
}

TEST(CharsetTest, UnknownTablesAndMarkedCodes) {
  EXPECT_EQ(CharToDeviceCode('A', -7, 6), -7);
  EXPECT_EQ(CharToDeviceCode('A', -7, -1), -7);
  EXPECT_EQ(DeviceCodeToChar(11, -7, 6), -7);
  EXPECT_EQ(DeviceCodeToChar(0x80 | 11, -7, 5), -7);
  EXPECT_EQ(GetCharPixelWidth(11, 6), 0);
}

TEST(CharsetTest, CheckExports) {
  EXPECT_EQ(fnQuibra_CheckOrvekCharString("Abc 1"), 1);
  EXPECT_EQ(fnQuibra_CheckOrvekCharString("Abc_1"), 0);
  EXPECT_EQ(fnQuibra_CheckOrvekCharStringEx("Abc_1", 5), 1);
  EXPECT_EQ(fnQuibra_CheckOrvekCharString(""), 1);
  EXPECT_EQ(fnQuibra_CheckOrvekCharStringEx("\xC4", 5), 1);
  EXPECT_EQ(fnQuibra_CheckOrvekCharStringEx("\xC4", 4), 0);
  EXPECT_EQ(fnQuibra_CheckOrvekCharStringEx("A", 9), 0);
  EXPECT_EQ(fnQuibra_CheckOrvekCharString(nullptr), 0);
}

TEST(CharsetTest, MarkPixelLimit) {
  // Table 5: A 6, B 6, I 2, J 5 pixels.
  std::array<uint8_t, 4> text = {11, 12, 19, 20};
  EXPECT_EQ(MarkPixelLimit(text, 14, 5), 3u);  // 6 + 6 + 2 = 14 fits, + 5 does not
  EXPECT_EQ(text, (std::array<uint8_t, 4>{11, 12, 0x80 | 19, 20}));

  std::array<uint8_t, 3> fits = {11, 12, 19};
  EXPECT_EQ(MarkPixelLimit(fits, 14, 5), 3u);
  EXPECT_EQ(fits, (std::array<uint8_t, 3>{11, 12, 19}));

  // The digit zero is device code 0 and is measured like any character.
  std::array<uint8_t, 3> digits = {1, 0, 0};
  EXPECT_EQ(MarkPixelLimit(digits, 12, 5), 2u);
  EXPECT_EQ(digits, (std::array<uint8_t, 3>{1, 0x80, 0}));

  // Nothing before the first character to mark.
  std::array<uint8_t, 2> wide = {11, 12};
  EXPECT_EQ(MarkPixelLimit(wide, 5, 5), 0u);
  EXPECT_EQ(wide, (std::array<uint8_t, 2>{11, 12}));
}

TEST(CharsetTest, SetEndMarkAndCut) {
  std::array<uint8_t, 4> one = {1, 2, 10, 10};
  SetEndMark(one, false);
  EXPECT_EQ(one, (std::array<uint8_t, 4>{1, 0x82, 10, 10}));
  std::array<uint8_t, 4> all = {1, 2, 10, 10};
  SetEndMark(all, true);
  EXPECT_EQ(all, (std::array<uint8_t, 4>{1, 0x82, 0x8A, 0x8A}));
  std::array<uint8_t, 3> blank = {10, 10, 10};
  SetEndMark(blank, false);
  EXPECT_EQ(blank, (std::array<uint8_t, 3>{0x8A, 10, 10}));

  CutAtEndMark(all);
  EXPECT_EQ(all, (std::array<uint8_t, 4>{1, 2, 10, 10}));
  std::array<uint8_t, 4> cut = {0x81, 2, 3, 4};
  CutAtEndMark(cut);
  EXPECT_EQ(cut, (std::array<uint8_t, 4>{1, 10, 10, 10}));
  std::array<uint8_t, 3> unmarked = {1, 2, 3};
  CutAtEndMark(unmarked);
  EXPECT_EQ(unmarked, (std::array<uint8_t, 3>{1, 2, 3}));
}

TEST(CharsetTest, PreviewExport) {
  char capitals[] = "ABCDEFGHIJ";
  // A..E make 28 pixels in table 5; F would make 33.
  EXPECT_EQ(fnQuibra_fnCutStringToFitPixelsPreview(capitals, 0, 10, 30, 5),
            reinterpret_cast<intptr_t>(capitals));
  EXPECT_STREQ(capitals, "ABCDE     ");

  char word[] = "Hello";
  fnQuibra_fnCutStringToFitPixelsPreview(word, 0, 5, 100, 5);
  EXPECT_STREQ(word, "Hello");

  char text[] = "Hello";
  EXPECT_EQ(fnQuibra_fnCutStringToFitPixelsPreview(text, 300, 2, 100, 5), 5);
  EXPECT_EQ(fnQuibra_fnCutStringToFitPixelsPreview(text, 6, 2, 100, 5), 5);
  EXPECT_STREQ(text, "Hello");

  // A selection from the middle, clipped to the text, with a character table 0 lacks.
  char middle[] = "ab_cd";
  fnQuibra_fnCutStringToFitPixelsPreview(middle, 1, 10, 100, 0);
  EXPECT_STREQ(middle, "b cd");

  // A long selection is cut past its tenth character too.
  char long_text[] = "ABCDEFGHIJKLMNOP";
  fnQuibra_fnCutStringToFitPixelsPreview(long_text, 0, 16, 70, 5);
  // A..M make 69 pixels in table 5; N would make 75.
  EXPECT_STREQ(long_text, "ABCDEFGHIJKLM   ");

  char too_wide[] = "AB";
  fnQuibra_fnCutStringToFitPixelsPreview(too_wide, 0, 2, 3, 5);
  EXPECT_STREQ(too_wide, "  ");
}

}  // namespace
}  // namespace quibra::codec
