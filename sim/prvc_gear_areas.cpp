#include "prvc_gear_areas.h"

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "codec/charset.h"
#include "unit.h"

namespace quibra::sim {
namespace {

// The areas as the unit keeps them: a first byte (bits 0-1 the bike or shoe in use - 1; in the
// bike area bit 7 the horse mode), then per bike 16 bytes (10 name codes of table 5 end-marked,
// the wheel size in mm low byte first, the sensor bits, 3 bytes of its own), per shoe 14 bytes
// (name, the calibration in thousandths low byte first, the stride-sensor bit, 1 byte).
constexpr int32_t kType38BikeFromSettings = 89;
constexpr int32_t kShoeAreaFromDisplay = 400;
constexpr size_t kNameCodes = 10;
constexpr size_t kBikeBytes = 16;
constexpr size_t kShoeBytes = 14;
constexpr int32_t kNewerTable = 5;
constexpr uint8_t kHorseBit = 0x80;
constexpr int32_t kFactoryWheel = 2105;
constexpr int32_t kFactoryCalibration = 1000;

struct GearCount {
  int32_t type;
  int32_t bikes;
  int32_t shoes;
};
constexpr GearCount kGear[] = {{33, 2, 0}, {34, 3, 0}, {35, 3, 0},
                               {36, 0, 2}, {37, 0, 2}, {38, 2, 3}};
constexpr int32_t kHorseTypes[] = {33, 34, 35};

const GearCount* GearOf(int32_t type) {
  for (const GearCount& g : kGear) {
    if (g.type == type) return &g;
  }
  return nullptr;
}

void PutName(std::vector<uint8_t>& area, size_t at, const std::string& name) {
  std::span<uint8_t> codes(area.data() + at, kNameCodes);
  for (size_t i = 0; i < kNameCodes; ++i) {
    const int32_t ch = i < name.size() ? static_cast<unsigned char>(name[i]) : ' ';
    codes[i] = static_cast<uint8_t>(codec::CharToDeviceCode(ch, codec::kDeviceSpace, kNewerTable));
  }
  codec::SetEndMark(codes, true);
}

// The first byte and `count` entries of `entry_bytes`, each named `stem` and its number, with
// `value` in the two bytes after the name.
std::vector<uint8_t> FactoryArea(int32_t count, size_t entry_bytes, const char* stem,
                                 int32_t value) {
  std::vector<uint8_t> area(1 + entry_bytes * static_cast<size_t>(count), 0);
  for (int32_t k = 0; k < count; ++k) {
    const size_t at = 1 + entry_bytes * static_cast<size_t>(k);
    PutName(area, at, stem + std::to_string(k + 1));
    area[at + kNameCodes] = static_cast<uint8_t>(value & 0xFF);
    area[at + kNameCodes + 1] = static_cast<uint8_t>(value >> 8);
  }
  return area;
}

}  // namespace

int32_t BikeAreaAddress(int32_t type, const Identification& identity) {
  const int32_t bikes = identity.areas[static_cast<size_t>(Area::Bike)];
  return type == 38 ? bikes + kType38BikeFromSettings : bikes;
}

int32_t ShoeAreaAddress(const Identification& identity) {
  return identity.areas[static_cast<size_t>(Area::Display)] + kShoeAreaFromDisplay;
}

void LayFactoryGear(Unit& unit) {
  const GearCount* gear = GearOf(unit.type());
  if (gear == nullptr) return;
  const Identification id = unit.identification();
  if (gear->bikes > 0) {
    std::vector<uint8_t> area = FactoryArea(gear->bikes, kBikeBytes, "Bike ", kFactoryWheel);
    if (id.horse_mode) area[0] |= kHorseBit;
    unit.set_memory(BikeAreaAddress(unit.type(), id), area);
  }
  if (gear->shoes > 0) {
    unit.set_memory(ShoeAreaAddress(id),
                    FactoryArea(gear->shoes, kShoeBytes, "Shoe ", kFactoryCalibration));
  }
}

void KeepHorseMode(int32_t type, Identification& identity, std::span<const uint8_t> bank0) {
  if (std::find(std::begin(kHorseTypes), std::end(kHorseTypes), type) == std::end(kHorseTypes))
    return;
  const auto at = static_cast<size_t>(BikeAreaAddress(type, identity));
  if (at < bank0.size()) identity.horse_mode = (bank0[at] & kHorseBit) != 0;
}

}  // namespace quibra::sim
