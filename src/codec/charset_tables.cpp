#include "codec/charset_tables.h"

#include <array>
#include <string_view>

namespace quibra::codec {
namespace {

// The rows every table starts with: device codes 0..9 the digits, 10 the space, 11..36 the
// capitals, 37..62 the small letters (table 2 stops after the capitals).
constexpr std::string_view kCommonCharacters =
    "0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// Pixel widths of the common rows, one digit per device code.
constexpr std::string_view kWidthsNone =
    "000000000000000000000000000000000000000000000000000000000000000";
constexpr std::string_view kWidthsOutdoor =
    "666666666666656556625656666666666666655455455255465555455546655";
constexpr std::string_view kWidthsNarrowSpace =
    "666666666636656556625656666666666666655455455255465555455546655";
constexpr std::string_view kWidthsCalibration = "5555555555555455555245465555554566645";

constexpr CharRow kRows0[] = {
    {0x2D, 63, 0}, {0x25, 64, 0}, {0x2F, 65, 0}, {0x28, 66, 0}, {0x29, 67, 0},
    {0x2A, 68, 0}, {0x2B, 69, 0}, {0x2E, 70, 0}, {0x3A, 71, 0}, {0x3F, 72, 0},
};
constexpr CharRow kRows1[] = {
    {0x3F, 63, 6}, {0x21, 64, 2}, {0x2E, 65, 2}, {0x2B, 66, 6},
    {0x3A, 67, 3}, {0x2F, 69, 5}, {0x2D, 70, 5},
};
constexpr CharRow kRows2[] = {
    {0x3F, 37, 4}, {0x2E, 38, 2}, {0x2F, 41, 4}, {0x2A, 42, 5},
    {0x20, 43, 5}, {0x3A, 44, 2}, {0x3D, 46, 5}, {0x21, 47, 2},
};
constexpr CharRow kRows3[] = {
    {0x3F, 63, 6}, {0x3A, 64, 2}, {0x2E, 65, 2}, {0x20, 70, 3}, {0x21, 78, 2},
    {0x2F, 68, 5}, {0x2B, 73, 6}, {0x2D, 72, 6}, {0x25, 74, 6}, {0x4B, 71, 2},
    {0x28, 75, 3}, {0x29, 76, 3}, {0x78, 69, 6},
};
constexpr CharRow kRows4[] = {
    {0x3F, 63, 6},  {0x3A, 64, 2},  {0x2E, 65, 2},  {0x3E, 66, 5},  {0x5F, 67, 5},  {0x2F, 68, 5},
    {0x78, 69, 6},  {0x20, 70, 6},  {0x20, 71, 5},  {0x5F, 72, 5},  {0x2D, 73, 6},  {0x2B, 74, 6},
    {0x3E, 75, 5},  {0x25, 76, 6},  {0x28, 77, 3},  {0x29, 78, 3},  {0xC5, 79, 6},  {0xC4, 80, 6},
    {0xD6, 81, 6},  {0xDC, 82, 6},  {0xC9, 83, 5},  {0xC8, 84, 5},  {0xE5, 85, 5},  {0xE4, 86, 5},
    {0xF6, 87, 5},  {0xFC, 88, 5},  {0xE9, 89, 5},  {0xE8, 90, 5},  {0xC1, 91, 6},  {0xC0, 92, 6},
    {0xD3, 93, 6},  {0xD2, 94, 6},  {0xD1, 95, 6},  {0xC7, 96, 5},  {0xCD, 97, 3},  {0xE1, 98, 5},
    {0xE0, 99, 5},  {0xF3, 100, 5}, {0xF2, 101, 5}, {0xFA, 102, 5}, {0xDF, 103, 6}, {0xF1, 104, 5},
    {0xE7, 105, 4}, {0xED, 106, 3}, {0xCA, 107, 5}, {0xEA, 108, 5}, {0xDB, 109, 6}, {0xDA, 110, 6},
    {0xFB, 111, 6},
};
// Table 5 folds most accented letters onto the plain letters' codes (PC to device only).
constexpr CharRow kRows5[] = {
    {0x3F, 63, 6}, {0x3A, 64, 2}, {0x2E, 65, 2}, {0x3E, 66, 5}, {0x5F, 67, 5}, {0x2F, 68, 5},
    {0x78, 69, 6}, {0x20, 70, 6}, {0x5F, 71, 5}, {0x2D, 72, 6}, {0x2B, 73, 6}, {0x25, 74, 6},
    {0x28, 75, 3}, {0x29, 76, 3}, {0x3E, 77, 5}, {0x21, 78, 2}, {0xE7, 39, 4}, {0x92, 85, 2},
    {0xBA, 86, 8}, {0xFC, 57, 5}, {0xDF, 55, 6}, {0xDC, 31, 6}, {0xE4, 37, 5}, {0xF6, 51, 5},
    {0xD6, 25, 5}, {0xA7, 41, 5}, {0x82, 65, 2}, {0xED, 45, 2}, {0xBF, 63, 6}, {0xE0, 37, 5},
    {0xE8, 41, 5}, {0xDB, 31, 6}, {0xDA, 31, 6}, {0xCE, 19, 4}, {0xCC, 19, 3}, {0xC4, 11, 6},
    {0xC5, 11, 6}, {0xE5, 37, 5}, {0x2C, 65, 2},
};

template <size_t Common, size_t Further>
constexpr std::array<CharRow, Common + Further> MakeTable(std::string_view widths,
                                                          const CharRow (&further)[Further]) {
  std::array<CharRow, Common + Further> rows{};
  for (size_t code = 0; code < Common; ++code) {
    rows[code] = CharRow{static_cast<unsigned char>(kCommonCharacters[code]),
                         static_cast<int32_t>(code), widths[code] - '0'};
  }
  for (size_t i = 0; i < Further; ++i)
    rows[Common + i] = further[i];
  return rows;
}

constexpr auto kTable0 = MakeTable<63>(kWidthsNone, kRows0);
constexpr auto kTable1 = MakeTable<63>(kWidthsOutdoor, kRows1);
constexpr auto kTable2 = MakeTable<37>(kWidthsCalibration, kRows2);
constexpr auto kTable3 = MakeTable<63>(kWidthsOutdoor, kRows3);
constexpr auto kTable4 = MakeTable<63>(kWidthsNarrowSpace, kRows4);
constexpr auto kTable5 = MakeTable<63>(kWidthsNarrowSpace, kRows5);

static_assert(kTable0.size() == 73 && kTable1.size() == 70 && kTable2.size() == 45 &&
              kTable3.size() == 76 && kTable4.size() == 112 && kTable5.size() == 102);
static_assert(kWidthsNone.size() == 63 && kWidthsOutdoor.size() == 63 &&
              kWidthsNarrowSpace.size() == 63 && kWidthsCalibration.size() == 37);

constexpr std::span<const CharRow> kTables[kCharTableCount] = {kTable0, kTable1, kTable2,
                                                               kTable3, kTable4, kTable5};

}  // namespace

std::span<const CharRow> CharTable(int32_t table) {
  if (table < 0 || table >= kCharTableCount) return {};
  return kTables[table];
}

}  // namespace quibra::codec
