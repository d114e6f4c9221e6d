#include "codec/product_codes.h"

#include <array>

namespace quibra::codec {
namespace {

struct ProductCode {
  int32_t code;
  int32_t monitor_type;
};

constexpr std::array<ProductCode, 28> kProductCodes = {{
    {17, 11},  {18, 11}, {51, 13},  {52, 13}, {53, 13},  {19, 22},  {38, 22},
    {68, 15},  {69, 15}, {25, 25},  {85, 20}, {26, 26},  {102, 21}, {30, 30},
    {148, 27}, {31, 31}, {164, 33}, {32, 32}, {163, 32}, {166, 35}, {34, 12},
    {35, 12},  {36, 12}, {167, 34}, {37, 23}, {172, 36}, {173, 37}, {174, 38},
}};

constexpr int32_t kOlderVariantByte = 7;
constexpr int32_t kNewerVariantByte = 8;

}  // namespace

UnitGroup GroupOfType(int32_t type) {
  switch (FamilyOf(type)) {
    case UnitFamily::GroupA:
      return UnitGroup::A;
    case UnitFamily::GroupB:
      return UnitGroup::B;
    default:
      return UnitGroup::Older;
  }
}

int32_t VariantByteOfType(int32_t type) {
  return IsNewer(type) ? kNewerVariantByte : kOlderVariantByte;
}

int32_t MonitorTypeOfProductCode(int32_t code) {
  for (const ProductCode& entry : kProductCodes) {
    if (entry.code == code) return entry.monitor_type;
  }
  return -1;
}

}  // namespace quibra::codec
