#include "protocol/batch_table.h"

#include <gtest/gtest.h>

#include <vector>

namespace quibra::protocol {
namespace {

std::vector<int> Selected(int32_t type, bool irda) {
  const auto rows = SelectSettingsRows(type, irda);
  std::vector<int> out;
  for (int r = 1; r <= kLastSettingsRow; ++r) {
    if (rows[static_cast<size_t>(r)]) out.push_back(r);
  }
  return out;
}

std::vector<int> Range(int first, int last) {
  std::vector<int> out;
  for (int r = first; r <= last; ++r)
    out.push_back(r);
  return out;
}

std::vector<int> Join(std::initializer_list<std::vector<int>> parts) {
  std::vector<int> out;
  for (const auto& p : parts)
    out.insert(out.end(), p.begin(), p.end());
  return out;
}

TEST(BatchTable, RowsAlternateAndCountTheirParameters) {
  EXPECT_EQ(GetBatchRow(1).message, 9021);
  EXPECT_EQ(GetBatchRow(10).message, 9004);
  EXPECT_EQ(GetBatchRow(10).param, 5);
  EXPECT_EQ(GetBatchRow(11).param, 0);
  EXPECT_EQ(GetBatchRow(17).param, 6);
  EXPECT_EQ(GetBatchRow(25).message, 9028);
  EXPECT_EQ(GetBatchRow(26).message, 9029);
  EXPECT_EQ(GetBatchRow(26).param, 1);
  EXPECT_EQ(GetBatchRow(27).param, 2);
  EXPECT_EQ(GetBatchRow(38).message, 9029);
  EXPECT_EQ(GetBatchRow(38).param, 7);
  EXPECT_EQ(GetBatchRow(43).message, 9056);
  EXPECT_EQ(GetBatchRow(68).param, 19);
  EXPECT_EQ(GetBatchRow(70).message, 9051);
  EXPECT_EQ(GetBatchRow(70).param, 1);
  EXPECT_EQ(GetBatchRow(112).message, 9027);
  EXPECT_EQ(GetBatchRow(121).message, 9068);
  EXPECT_EQ(GetBatchRow(121).param, 5);
  EXPECT_EQ(GetBatchRow(0).message, 0);
  EXPECT_EQ(GetBatchRow(122).message, 0);
}

TEST(BatchTable, RequestsAndTheirRanges) {
  EXPECT_EQ(FindBatchRequest(8004, false)->first_message, 9001);
  EXPECT_EQ(FindBatchRequest(8004, false)->first_row, 76);
  EXPECT_EQ(FindBatchRequest(8006, false)->last_row, 98);
  EXPECT_EQ(FindBatchRequest(8006, true)->first_message, 9026);
  EXPECT_EQ(FindBatchRequest(8006, true)->last_row, 112);
  EXPECT_FALSE(FindBatchRequest(8002, false));
  EXPECT_FALSE(FindBatchRequest(8009, false));
}

TEST(BatchTable, SettingsRowsByUnitType) {
  EXPECT_EQ(Selected(22, false), Join({Range(1, 5), Range(11, 17), Range(71, 75)}));
  EXPECT_EQ(Selected(13, false), Join({Range(1, 4), {6}, Range(11, 24)}));
  EXPECT_EQ(Selected(13, true), Join({Range(1, 4), {6}, Range(11, 17), Range(25, 38)}));
  EXPECT_EQ(Selected(15, false), Join({Range(1, 4), Range(6, 10)}));
  EXPECT_EQ(Selected(11, false), Join({Range(1, 4), Range(6, 17)}));
  EXPECT_EQ(Selected(20, false), Join({{1}, Range(39, 42), Range(44, 70)}));
  EXPECT_TRUE(Selected(27, false).empty());
  EXPECT_TRUE(Selected(0, false).empty());
}

TEST(BatchTable, DeviceCodes) {
  EXPECT_EQ(UnitTypeOfDeviceCode(19), 22);
  EXPECT_EQ(UnitTypeOfDeviceCode(38), 22);
  EXPECT_EQ(UnitTypeOfDeviceCode(167), 34);
  EXPECT_EQ(UnitTypeOfDeviceCode(166), 35);
  EXPECT_FALSE(UnitTypeOfDeviceCode(0));
  EXPECT_FALSE(UnitTypeOfDeviceCode(20));
}

}  // namespace
}  // namespace quibra::protocol
