#include "prvc/shoes.h"

#include <cstring>
#include <vector>

#include "frame/comm_params.h"
#include "frame/module.h"
#include "prvc/unit_memory.h"
#include "prvc/write_back.h"

namespace quibra::prvc {
namespace {

// The shoe area, from the display-area address of the memory map + 400, counted from 0:
//
// | byte            | content                                                          |
// |-----------------|------------------------------------------------------------------|
// | 0               | bits 0-1: the shoe in use - 1; bits 2-7 the unit's own           |
// | 1 + 14s .. +9   | shoe s's name: 10 codes of device table 5, end-marked            |
// | 11 + 14s, +12   | shoe s's calibration in thousandths, low byte first              |
// | 13 + 14s        | bit 0: a stride sensor is fitted; bits 1-7 the unit's own        |
// | 14 + 14s        | the unit's own                                                   |
//
// Every write reads the area first and keeps the bits and bytes marked as the unit's own.
constexpr size_t kGeneralByte = 0;
constexpr uint8_t kInUseMask = 0x03;
constexpr size_t kFirstShoe = 1;
constexpr size_t kShoeBytes = 14;
constexpr size_t kNameAt = 0;
constexpr size_t kCalibrationAt = 10;
constexpr size_t kSensorAt = 12;
constexpr uint8_t kSensorBit = 0x01;

constexpr int32_t kLowestCalibration = 500;
constexpr int32_t kHighestCalibration = 1500;
constexpr int32_t kNeutralCalibration = 1000;

struct ShoeCountRow {
  int32_t type;
  int32_t shoes;
};
constexpr ShoeCountRow kShoeCounts[] = {{36, 2}, {37, 2}, {38, 3}};

constexpr char kDefaultName[] = "Shoe";
constexpr char kResetNames[3][12] = {"Road", "Trail", "Race"};

}  // namespace

int32_t ShoeCount(int32_t type) {
  for (const ShoeCountRow& row : kShoeCounts) {
    if (row.type == type) return row.shoes;
  }
  return 0;
}

size_t ShoeAreaBytes(int32_t shoes) {
  return kFirstShoe + kShoeBytes * static_cast<size_t>(shoes);
}

bool CheckShoes(PrvcShoeSettings& r, int32_t shoes) {
  if (r.Size == 0) r.Size = kPrvcShoeSettingsSize;
  if (r.ShoeInUse < 1 || r.ShoeInUse > shoes) r.ShoeInUse = 1;
  for (int32_t s = 0; s < shoes; ++s) {
    PrvcShoe& shoe = r.Shoes[s];
    if (!CheckGearName(shoe.Name, kDefaultName)) return false;
    if (shoe.Calibration < kLowestCalibration || shoe.Calibration > kHighestCalibration)
      shoe.Calibration = kNeutralCalibration;
    if (!CheckGearFlag(shoe.StrideSensor)) return false;
  }
  return true;
}

void PackShoes(const PrvcShoeSettings& r, int32_t shoes, std::span<uint8_t> area) {
  area[kGeneralByte] =
      static_cast<uint8_t>((area[kGeneralByte] & ~kInUseMask) | ((r.ShoeInUse - 1) & kInUseMask));
  for (int32_t s = 0; s < shoes; ++s) {
    const PrvcShoe& shoe = r.Shoes[s];
    const std::span<uint8_t> at = area.subspan(kFirstShoe + kShoeBytes * static_cast<size_t>(s));
    PackGearName(at.subspan(kNameAt), shoe.Name);
    at[kCalibrationAt] = static_cast<uint8_t>(shoe.Calibration & 0xFF);
    at[kCalibrationAt + 1] = static_cast<uint8_t>(shoe.Calibration >> 8);
    at[kSensorAt] = static_cast<uint8_t>((at[kSensorAt] & ~kSensorBit) | shoe.StrideSensor);
  }
}

void UnpackShoes(std::span<const uint8_t> area, int32_t shoes, PrvcShoeSettings& r) {
  std::memset(&r, 0, sizeof r);
  r.Size = kPrvcShoeSettingsSize;
  r.ShoeInUse = (area[kGeneralByte] & kInUseMask) + 1;
  for (int32_t s = 0; s < shoes; ++s) {
    PrvcShoe& shoe = r.Shoes[s];
    const std::span<const uint8_t> at =
        area.subspan(kFirstShoe + kShoeBytes * static_cast<size_t>(s));
    UnpackGearName(at.subspan(kNameAt), shoe.Name);
    shoe.Calibration = at[kCalibrationAt] | at[kCalibrationAt + 1] << 8;
    shoe.StrideSensor = at[kSensorAt] & kSensorBit;
  }
}

void ResetShoesPrvc(PrvcShoeSettings& r) {
  std::memset(&r, 0, sizeof r);
  r.Size = kPrvcShoeSettingsSize;
  r.ShoeInUse = 1;
  for (size_t s = 0; s < std::size(r.Shoes); ++s) {
    std::memcpy(r.Shoes[s].Name, kResetNames[s], sizeof r.Shoes[s].Name);
    r.Shoes[s].Calibration = kNeutralCalibration;
  }
}

namespace {

// Before a unit was identified the map has no display area: nothing is read or written then.
int32_t ShoeAreaAddress() {
  const int32_t display = module().memory_map.display_area;
  return display == 0 ? 0 : display + kShoeAreaFromDisplay;
}

}  // namespace

int32_t SendShoesPrvc(GearExport which, CommParams& params, PrvcShoeSettings& record) {
  frame::SetErrorCode(frame::kErrorTransferStarted);
  frame::ValidateCommParams(params, 0);
  if (params.ReadFromDataFile != 0) return 1;
  if (!Serves(which, params.MonitorType)) return 0;
  const int32_t shoes = ShoeCount(params.MonitorType);
  if (!CheckShoes(record, shoes)) return 0;
  const int32_t address = ShoeAreaAddress();
  if (address == 0) return 0;
  const bool ok = RewriteUnitArea(params, address, ShoeAreaBytes(shoes),
                                  [&](std::span<uint8_t> area) { PackShoes(record, shoes, area); });
  return ok ? 1 : 0;
}

int32_t ReadShoesPrvc(GearExport which, CommParams& params, PrvcShoeSettings& record) {
  frame::SetErrorCode(frame::kErrorTransferStarted);
  frame::ValidateCommParams(params, 1);
  if (!Serves(which, params.MonitorType)) return 0;
  const int32_t address = ShoeAreaAddress();
  if (address == 0) return 0;
  const int32_t shoes = ShoeCount(params.MonitorType);
  std::vector<uint8_t> area(ShoeAreaBytes(shoes));
  if (!ReadUnitMemory(params, address, 0, area, kAreaWritePauseMs)) return 0;
  UnpackShoes(area, shoes, record);
  return 1;
}

}  // namespace quibra::prvc
