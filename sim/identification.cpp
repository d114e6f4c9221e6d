#include "identification.h"

#include <algorithm>
#include <span>

#include "codec/product_codes.h"

namespace quibra::sim {
namespace {

using codec::UnitGroup;

// Answer bytes by image index; the array starts at index 6.
constexpr size_t kFirstIndex = 6;
constexpr size_t kProductCode = 6;
constexpr size_t kOlderVariant = 7;
constexpr size_t kNewerVariant = 8;
constexpr size_t kOlderFiles = 8;
constexpr size_t kFilesOverflow = 9;  // types 20 and 21: a nonzero low nibble means 100 files
constexpr size_t kNewerFilesLow = 9;
constexpr size_t kOlderUsedHigh = 10;
constexpr size_t kNewerUsed = 11;  // 32 bits, most significant byte first
constexpr size_t kStateByte = 15;  // type 35 and group B state bits; horse mode in bit 7
constexpr size_t kBase = 16;       // 24 bits, least significant byte first
constexpr size_t kFirstArea = 19;  // 16-bit addresses, least significant byte first

constexpr uint8_t kHorseBit = 0x80;
constexpr uint32_t kLowBatteryBit = 0x01;
constexpr uint32_t kGroupAStateMask = 0x0F;  // bits 0..3 travel in the variant byte
constexpr int32_t kType35StateBit = 4;       // type 35 reports it in bit 0 of the state byte

// Group B: where each state bit goes in the state byte (bit k of the state byte carries the
// application's bit kGroupBStateBits[k]).
constexpr int32_t kGroupBStateBits[] = {0, 1, 6, 5, 2, 3, 4};

// The types that report a horse mode.
constexpr int32_t kHorseTypes[] = {33, 35, 34, 38};

// The simulator's own memory map for the newer units: base, then the area addresses in Area
// order. Group B units have twice the memory and put their areas further up.
struct DefaultMap {
  codec::UnitGroup group;
  int32_t base;
  std::array<uint16_t, kAreaCount> areas;
};
constexpr DefaultMap kDefaultMaps[] = {
    {codec::UnitGroup::A, 20000, {1150, 1300, 1460, 1560, 1580, 340, 1620, 1700, 1800}},
    {codec::UnitGroup::B, 24000, {2150, 2300, 2460, 2560, 2580, 340, 2620, 2700, 2800}},
};

// The first product code of each type: what a unit of that type reports by default.
constexpr int32_t kCodesByPreference[] = {17, 51,  19, 68,  25, 85,  26, 102, 30,  148,
                                          31, 164, 32, 166, 34, 167, 37, 172, 173, 174};

uint8_t Bcd(int32_t value) {
  return static_cast<uint8_t>((value / 10) << 4 | value % 10);
}

uint8_t Bit(uint32_t value, int32_t bit) {
  return static_cast<uint8_t>((value >> bit) & 1);
}

bool Contains(std::span<const int32_t> values, int32_t value) {
  return std::find(values.begin(), values.end(), value) != values.end();
}

}  // namespace

IdentificationBytes EncodeIdentification(int32_t type, const Identification& identity) {
  IdentificationBytes bytes{};
  auto at = [&bytes](size_t index) -> uint8_t& { return bytes[index - kFirstIndex]; };
  const codec::UnitGroup group = codec::GroupOfType(type);
  const auto variant = static_cast<uint8_t>((identity.variant & 0x0F) << 4);
  const int32_t files = std::max(identity.files, 0);
  at(kProductCode) = static_cast<uint8_t>(identity.product_code);

  if (group == codec::UnitGroup::Older) {
    at(kOlderVariant) = static_cast<uint8_t>(variant | (identity.state_bits & kLowBatteryBit));
    at(kOlderFiles) = Bcd(std::min(files, 99));
    if (codec::IsOutdoor(type) && files >= 100) at(kFilesOverflow) = 1;
    const uint32_t used = std::min<uint32_t>(identity.used_memory, 0xFFFF);
    at(kOlderUsedHigh) = static_cast<uint8_t>(used >> 8);
    at(kOlderUsedHigh + 1) = static_cast<uint8_t>(used & 0xFF);
    return bytes;
  }

  uint8_t state = 0;
  if (group == codec::UnitGroup::A) {
    at(kNewerVariant) = static_cast<uint8_t>(variant | (identity.state_bits & kGroupAStateMask));
    if (type == 35) state = Bit(identity.state_bits, kType35StateBit);
  } else {
    at(kNewerVariant) = variant;
    for (size_t k = 0; k < std::size(kGroupBStateBits); ++k)
      state |= static_cast<uint8_t>(Bit(identity.state_bits, kGroupBStateBits[k]) << k);
  }
  if (identity.horse_mode && Contains(kHorseTypes, type)) state |= kHorseBit;
  at(kStateByte) = state;
  at(kNewerFilesLow) = static_cast<uint8_t>(files & 0xFF);
  at(kNewerFilesLow + 1) = static_cast<uint8_t>((files >> 8) & 0xFF);
  for (size_t i = 0; i < 4; ++i)
    at(kNewerUsed + i) = static_cast<uint8_t>(identity.used_memory >> (8 * (3 - i)));
  for (size_t i = 0; i < 3; ++i)
    at(kBase + i) = static_cast<uint8_t>(identity.base >> (8 * i));
  for (size_t a = 0; a < kAreaCount; ++a) {
    at(kFirstArea + 2 * a) = static_cast<uint8_t>(identity.areas[a] & 0xFF);
    at(kFirstArea + 2 * a + 1) = static_cast<uint8_t>(identity.areas[a] >> 8);
  }
  return bytes;
}

int32_t DefaultProductCode(int32_t type) {
  for (const int32_t code : kCodesByPreference) {
    if (codec::MonitorTypeOfProductCode(code) == type) return code;
  }
  return -1;
}

Identification DefaultIdentification(int32_t type, int32_t product_code, int32_t variant) {
  Identification identity;
  identity.product_code = product_code;
  identity.variant = variant;
  const codec::UnitGroup group = codec::GroupOfType(type);
  for (const DefaultMap& map : kDefaultMaps) {
    if (map.group != group) continue;
    identity.base = map.base;
    identity.areas = map.areas;
  }
  return identity;
}

}  // namespace quibra::sim
