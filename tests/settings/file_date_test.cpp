#include "settings/file_date.h"

#include <gtest/gtest.h>

namespace quibra::settings {
namespace {

TEST(FileDate, PacksYearMonthDayIntoSixteenBitsLowByteFirst) {
  // (2026 - 1980) << 9 | 12 << 5 | 6 = 23942 = 0x5D86.
  EXPECT_EQ(PackFileDate(20261206), (std::array<uint8_t, 2>{0x86, 0x5D}));
  EXPECT_EQ(UnpackFileDate(0x86, 0x5D), 20261206);
  EXPECT_EQ(PackFileDate(19800101), (std::array<uint8_t, 2>{0x21, 0x00}));
  EXPECT_EQ(UnpackFileDate(0x21, 0x00), 19800101);
}

TEST(FileDate, DatesOutsideTheRangeOrCalendarPackAsNoDate) {
  EXPECT_EQ(PackFileDate(19791231), (std::array<uint8_t, 2>{0, 0}));
  EXPECT_EQ(PackFileDate(21080101), (std::array<uint8_t, 2>{0, 0}));
  EXPECT_EQ(PackFileDate(20230229), (std::array<uint8_t, 2>{0, 0}));
  EXPECT_EQ(PackFileDate(0), (std::array<uint8_t, 2>{0, 0}));
  EXPECT_EQ(UnpackFileDate(0, 0), 0);
}

}  // namespace
}  // namespace quibra::settings
