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

// Runs of rows: one message with consecutive parameters, or two messages alternating with each
// parameter taken twice.
TEST(BatchTable, RowsAlternateAndCountTheirParameters) {
  EXPECT_EQ(GetBatchRow(10).message, 9004);
  EXPECT_EQ(GetBatchRow(10).param, 5);
  EXPECT_EQ(GetBatchRow(11).param, 0);
  EXPECT_EQ(GetBatchRow(25).message, 9028);
  EXPECT_EQ(GetBatchRow(26).message, 9029);
  EXPECT_EQ(GetBatchRow(26).param, 1);
  EXPECT_EQ(GetBatchRow(27).param, 2);
  EXPECT_EQ(GetBatchRow(38).message, 9029);
  EXPECT_EQ(GetBatchRow(38).param, 7);
  EXPECT_EQ(GetBatchRow(0).message, 0);
  EXPECT_EQ(GetBatchRow(122).message, 0);
}

TEST(BatchTable, RequestsAndTheRowsOfEachUnit) {
  EXPECT_EQ(FindBatchRequest(8004, false)->first_row, 76);
  EXPECT_EQ(FindBatchRequest(8006, true)->first_message, 9026);  // the halves on IrDA sockets
  EXPECT_EQ(FindBatchRequest(8006, true)->last_row, 112);
  EXPECT_FALSE(FindBatchRequest(8002, false));
  EXPECT_FALSE(FindBatchRequest(8009, false));
  // Type 13 reads its exercise sets whole over a serial line, in halves on IrDA sockets.
  EXPECT_EQ(Selected(13, false), Join({Range(1, 4), {6}, Range(11, 24)}));
  EXPECT_EQ(Selected(13, true), Join({Range(1, 4), {6}, Range(11, 17), Range(25, 38)}));
  EXPECT_TRUE(Selected(27, false).empty());
  EXPECT_TRUE(Selected(0, false).empty());
}

}  // namespace
}  // namespace quibra::protocol
