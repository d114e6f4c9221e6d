#include "prvc/display_table.h"

#include <array>
#include <optional>

namespace quibra::prvc {
namespace {

// The unit types with a column in the table, in column order.
constexpr std::array<int32_t, 6> kColumnTypes = {36, 37, 33, 35, 38, 34};
// On these types a code of 0 means "not available"; type 34 counts its codes from 0.
constexpr int32_t kCodesFromZero = 34;

struct DisplayRow {
  int16_t library;
  std::array<int8_t, 6> codes;  // by kColumnTypes
};

// Rows 0..7 hold the class-1 identifiers, rows 8..47 the class-2 ones.
constexpr size_t kClass1Rows = 8;
constexpr std::array<DisplayRow, 48> kDisplayTable = {{
    {1, {1, 1, 1, 1, 1, 0}},         {2, {2, 2, 2, 2, 2, 1}},
    {3, {3, 3, 3, 3, 3, 2}},         {4, {4, 4, 4, 4, 4, 3}},
    {5, {5, 5, 5, 5, 5, 4}},         {6, {0, 6, 6, 6, 6, 5}},
    {7, {0, 0, 0, 8, 0, 7}},         {8, {0, 0, 7, 7, 0, 6}},
    {101, {1, 1, 1, 1, 1, 0}},       {102, {2, 2, 2, 2, 2, 1}},
    {103, {3, 3, 3, 3, 3, 2}},       {106, {4, 4, 4, 4, 4, 3}},
    {107, {6, 6, 6, 6, 6, 5}},       {109, {7, 7, 7, 7, 7, 6}},
    {110, {8, 8, 8, 8, 8, 7}},       {112, {11, 11, 11, 11, 11, 10}},
    {104, {12, 12, 12, 12, 12, 11}}, {132, {14, 14, 14, 14, 14, 13}},
    {105, {16, 16, 16, 16, 16, 16}}, {108, {0, 17, 17, 17, 17, 18}},
    {113, {0, 18, 19, 19, 18, 20}},  {114, {0, 19, 20, 20, 19, 21}},
    {115, {0, 0, 21, 21, 25, 22}},   {125, {0, 0, 22, 22, 26, 23}},
    {126, {0, 0, 23, 23, 27, 24}},   {116, {0, 20, 0, 24, 20, 25}},
    {123, {0, 0, 25, 26, 28, 27}},   {122, {0, 0, 27, 28, 30, 29}},
    {117, {0, 0, 28, 29, 21, 30}},   {118, {0, 0, 29, 30, 32, 31}},
    {119, {0, 0, 30, 31, 0, 32}},    {133, {0, 0, 31, 32, 33, 33}},
    {124, {0, 0, 32, 33, 0, 34}},    {128, {0, 0, 33, 34, 0, 35}},
    {130, {0, 0, 35, 36, 0, 37}},    {129, {0, 0, 36, 37, 0, 38}},
    {131, {0, 0, 0, 38, 0, 39}},     {127, {0, 0, 0, 39, 0, 40}},
    {120, {0, 0, 0, 41, 0, 42}},     {121, {0, 0, 0, 42, 0, 43}},
    {135, {0, 0, 0, 0, 22, 15}},     {134, {0, 0, 0, 0, 23, 17}},
    {136, {0, 0, 0, 0, 29, 26}},     {137, {0, 0, 0, 0, 31, 28}},
    {138, {0, 0, 0, 0, 34, 0}},      {139, {0, 0, 0, 0, 35, 0}},
    {140, {0, 0, 0, 0, 0, 41}},      {141, {0, 0, 0, 0, 0, 36}},
}};

std::optional<size_t> ColumnOf(int32_t type) {
  for (size_t c = 0; c < kColumnTypes.size(); ++c) {
    if (kColumnTypes[c] == type) return c;
  }
  return std::nullopt;
}

}  // namespace

int32_t GetOrvekDisplayID(int32_t code, int32_t type, int32_t class1) {
  const int32_t not_found = type == kCodesFromZero ? -1 : 0;
  const std::optional<size_t> column = ColumnOf(type);
  // Code 0 stands for "not available" on every type but 34: it names no identifier there,
  // although the rows of the identifiers that type lacks hold it.
  if (!column || (code == 0 && type != kCodesFromZero)) return not_found;
  const size_t first = class1 != 0 ? 0 : kClass1Rows;
  const size_t end = class1 != 0 ? kClass1Rows : kDisplayTable.size();
  for (size_t row = first; row < end; ++row) {
    if (kDisplayTable[row].codes[*column] == code) return kDisplayTable[row].library;
  }
  return not_found;
}

int32_t GetMonitorDisplayID(int32_t id, int32_t type) {
  const std::optional<size_t> column = ColumnOf(type);
  if (!column) return 0;
  for (const DisplayRow& row : kDisplayTable) {
    if (row.library == id) return row.codes[*column];
  }
  return 0;
}

}  // namespace quibra::prvc
