#include "codec/unit_families.h"

#include <array>

namespace quibra::codec {
namespace {

struct FamilyRow {
  int32_t type;
  UnitFamily family;
};

using enum UnitFamily;

constexpr std::array<FamilyRow, 25> kFamilies = {{
    {6, Older},    {9, Older},    {10, Older},   {11, KSeries}, {12, KSeries},
    {13, KSeries}, {15, KSeries}, {20, Outdoor}, {21, Outdoor}, {22, KSeries},
    {23, KSeries}, {24, Fitness}, {25, Fitness}, {26, Fitness}, {27, Fitness},
    {30, Fitness}, {31, Fitness}, {32, Fitness}, {33, GroupA},  {34, GroupB},
    {35, GroupA},  {36, GroupA},  {37, GroupA},  {38, GroupB},  {40, Fitness},
}};

}  // namespace

UnitFamily FamilyOf(int32_t type) {
  for (const FamilyRow& row : kFamilies) {
    if (row.type == type) return row.family;
  }
  return Older;
}

}  // namespace quibra::codec
