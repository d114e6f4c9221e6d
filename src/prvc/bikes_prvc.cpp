#include "prvc/bikes_prvc.h"

#include <cstring>
#include <span>
#include <vector>

#include "frame/comm_params.h"
#include "frame/module.h"
#include "prvc/unit_memory.h"
#include "prvc/write_back.h"

namespace quibra::prvc {
namespace {

// The bike area, from the bike-area address of the memory map (types 33, 34, 35: the address the
// identification gives; type 38: 89 bytes after its settings area), counted from 0:
//
// | byte            | content                                                          |
// |-----------------|------------------------------------------------------------------|
// | 0               | bits 0-1: the bike in use - 1; bits 2-6 the unit's own;          |
// |                 | bit 7: horse mode (types 33, 34, 35; horse_mode.cpp)             |
// | 1 + 16b .. +9   | bike b's name: 10 codes of device table 5, the last one and the  |
// |                 | spaces after it carrying the end mark                            |
// | 11 + 16b, +12   | bike b's wheel size in millimetres, low byte first               |
// | 13 + 16b        | bit 0 speed, bit 1 cadence, bit 2 power sensor; bits 3-7 the     |
// |                 | unit's own                                                       |
// | 14 + 16b .. +16 | the unit's own                                                   |
//
// Every write reads the area first and keeps the bits and bytes marked as the unit's own.
constexpr size_t kGeneralByte = 0;
constexpr uint8_t kInUseMask = 0x03;
constexpr size_t kFirstBike = 1;
constexpr size_t kBikeBytes = 16;
constexpr size_t kNameAt = 0;
constexpr size_t kWheelAt = 10;
constexpr size_t kSensorsAt = 12;
constexpr uint8_t kSensorMask = 0x07;

struct Range {
  int32_t low;
  int32_t high;
  int32_t fallback;
};
constexpr Range kWheelSize = {1000, 3999, 2105};

// The bikes each type keeps (the types of gear_area.cpp's table).
struct BikeCountRow {
  int32_t type;
  int32_t bikes;
};
constexpr BikeCountRow kBikeCounts[] = {{33, 2}, {34, 3}, {35, 3}, {38, 2}};

constexpr char kDefaultName[] = "Bike";
constexpr char kResetNames[3][12] = {"Road", "MTB", "Trainer"};
constexpr int32_t kResetWheels[3] = {2105, 2050, 2105};

}  // namespace

int32_t BikeCount(int32_t type) {
  for (const BikeCountRow& row : kBikeCounts) {
    if (row.type == type) return row.bikes;
  }
  return 0;
}

size_t BikeAreaBytes(int32_t bikes) {
  return kFirstBike + kBikeBytes * static_cast<size_t>(bikes);
}

bool CheckBikes(PrvcBikeSettings& r, int32_t bikes) {
  if (r.Size == 0) r.Size = kPrvcBikeSettingsSize;
  if (r.BikeInUse < 1 || r.BikeInUse > bikes) r.BikeInUse = 1;
  for (int32_t b = 0; b < bikes; ++b) {
    PrvcBike& bike = r.Bikes[b];
    if (!CheckGearName(bike.Name, kDefaultName)) return false;
    if (bike.WheelSize < kWheelSize.low || bike.WheelSize > kWheelSize.high)
      bike.WheelSize = kWheelSize.fallback;
    if (!CheckGearFlag(bike.SpeedSensor) || !CheckGearFlag(bike.CadenceSensor) ||
        !CheckGearFlag(bike.PowerSensor)) {
      return false;
    }
  }
  return true;
}

void PackBikes(const PrvcBikeSettings& r, int32_t bikes, std::span<uint8_t> area) {
  area[kGeneralByte] =
      static_cast<uint8_t>((area[kGeneralByte] & ~kInUseMask) | ((r.BikeInUse - 1) & kInUseMask));
  for (int32_t b = 0; b < bikes; ++b) {
    const PrvcBike& bike = r.Bikes[b];
    const std::span<uint8_t> at = area.subspan(kFirstBike + kBikeBytes * static_cast<size_t>(b));
    PackGearName(at.subspan(kNameAt), bike.Name);
    at[kWheelAt] = static_cast<uint8_t>(bike.WheelSize & 0xFF);
    at[kWheelAt + 1] = static_cast<uint8_t>(bike.WheelSize >> 8);
    const int32_t sensors = bike.SpeedSensor | bike.CadenceSensor << 1 | bike.PowerSensor << 2;
    at[kSensorsAt] = static_cast<uint8_t>((at[kSensorsAt] & ~kSensorMask) | sensors);
  }
}

void UnpackBikes(std::span<const uint8_t> area, int32_t bikes, PrvcBikeSettings& r) {
  std::memset(&r, 0, sizeof r);
  r.Size = kPrvcBikeSettingsSize;
  r.BikeInUse = (area[kGeneralByte] & kInUseMask) + 1;
  for (int32_t b = 0; b < bikes; ++b) {
    PrvcBike& bike = r.Bikes[b];
    const std::span<const uint8_t> at =
        area.subspan(kFirstBike + kBikeBytes * static_cast<size_t>(b));
    UnpackGearName(at.subspan(kNameAt), bike.Name);
    bike.WheelSize = at[kWheelAt] | at[kWheelAt + 1] << 8;
    bike.SpeedSensor = at[kSensorsAt] & 1;
    bike.CadenceSensor = (at[kSensorsAt] >> 1) & 1;
    bike.PowerSensor = (at[kSensorsAt] >> 2) & 1;
  }
}

void ResetBikesPrvc(PrvcBikeSettings& r) {
  std::memset(&r, 0, sizeof r);
  r.Size = kPrvcBikeSettingsSize;
  r.BikeInUse = 1;
  for (size_t b = 0; b < std::size(r.Bikes); ++b) {
    std::memcpy(r.Bikes[b].Name, kResetNames[b], sizeof r.Bikes[b].Name);
    r.Bikes[b].WheelSize = kResetWheels[b];
  }
}

int32_t SendBikesPrvc(GearExport which, CommParams& params, PrvcBikeSettings& record) {
  frame::SetErrorCode(frame::kErrorTransferStarted);
  frame::ValidateCommParams(params, 0);
  if (params.ReadFromDataFile != 0) return 1;
  if (!Serves(which, params.MonitorType)) return 0;
  const int32_t bikes = BikeCount(params.MonitorType);
  if (!CheckBikes(record, bikes)) return 0;
  // Before a unit was identified the map has no bike area: nothing is written at 0.
  const int32_t address = module().memory_map.bike_area;
  if (address == 0) return 0;
  const bool ok = RewriteUnitArea(params, address, BikeAreaBytes(bikes),
                                  [&](std::span<uint8_t> area) { PackBikes(record, bikes, area); });
  return ok ? 1 : 0;
}

int32_t ReadBikesPrvc(GearExport which, CommParams& params, PrvcBikeSettings& record) {
  frame::SetErrorCode(frame::kErrorTransferStarted);
  frame::ValidateCommParams(params, 1);
  if (!Serves(which, params.MonitorType)) return 0;
  const int32_t address = module().memory_map.bike_area;
  if (address == 0) return 0;
  const int32_t bikes = BikeCount(params.MonitorType);
  std::vector<uint8_t> area(BikeAreaBytes(bikes));
  if (!ReadUnitMemory(params, address, 0, area, kAreaWritePauseMs)) return 0;
  UnpackBikes(area, bikes, record);
  return 1;
}

}  // namespace quibra::prvc
