#include "prvc/gear_area.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "codec/charset.h"
#include "frame/comm_params.h"
#include "platform/registry.h"
#include "prvc/device_text.h"
#include "prvc/unit_memory.h"
#include "prvc/write_back.h"

namespace quibra::prvc {
namespace {

// The monitor types each export serves. The suffix of an export's name says which: no suffix
// the family's cycling units that keep bikes in the general layout (VC6 33, VC8 35) or its
// running units (PR6 36, PR9 37), PR9W the running unit of that model (38), VC8Z the cycling
// unit of that model (34); the horse mode is a mode of the cycling units (33, 34, 35), the ones
// whose identification reports it. The older units of the family (28..32) keep no such areas:
// their bikes go in messages 9019 / 9020 and 9108 (fnQuibra_SendBikesSettings), and they have
// no shoes or horse mode; they are refused like every other type not named here.
//
// | export                                                         | types  |
// |----------------------------------------------------------------|--------|
// | fnQuibra_SendBikesSettings_PRVC_eq, fnQuibra_PRVC_ReadBikeSettings | 33, 35 |
// | fnQuibra_SendBikesSettingsPR9W, fnQuibra_ReadBikeSettingsPR9W   | 38     |
// | fnQuibra_WriteBikesGeneral_VC8Z, fnQuibra_ReadBikesGeneral_VC8Z | 34     |
// | fnQuibra_SendShoeSettings, fnQuibra_ReadShoesSettings          | 36, 37 |
// | fnQuibra_SendShoeSettingsPR9W, fnQuibra_ReadShoesSettingsPR9W  | 38     |
// | fnQuibra_SetHorseModeVCEQ                                      | 33, 34, 35 |
struct Served {
  GearExport which;
  std::array<int32_t, 3> types;  // 0 past the last
};
constexpr std::array<Served, 6> kServed = {{
    {GearExport::Bikes, {33, 35, 0}},
    {GearExport::BikesPR9W, {38, 0, 0}},
    {GearExport::BikesVC8Z, {34, 0, 0}},
    {GearExport::Shoes, {36, 37, 0}},
    {GearExport::ShoesPR9W, {38, 0, 0}},
    {GearExport::HorseMode, {33, 34, 35}},
}};

}  // namespace

bool Serves(GearExport which, int32_t type) {
  for (const Served& s : kServed) {
    if (s.which == which && type != 0 &&
        std::find(s.types.begin(), s.types.end(), type) != s.types.end()) {
      return true;
    }
  }
  frame::SetErrorCode(kErrorGearUnitType);
  return false;
}

bool CheckGearName(char (&name)[12], const char* fallback) {
  std::fill(name + kGearNameChars, name + sizeof name, '\0');
  if (name[0] == '\0') std::memcpy(name, fallback, std::min(std::strlen(fallback), kGearNameChars));
  if (codec::CheckCharString(name, kNewerTextTable)) return true;
  frame::SetErrorCode(kErrorGearValue);
  return false;
}

void PackGearName(std::span<uint8_t> out, const char (&name)[12]) {
  PackDeviceText(out.first(kGearNameChars), name, kGearNameChars, kNewerTextTable);
}

void UnpackGearName(std::span<const uint8_t> in, char (&name)[12]) {
  std::memset(name, 0, sizeof name);
  // A code the table lacks reads as the space it was padded with.
  UnpackDeviceText(in.first(kGearNameChars), name, kGearNameChars, kNewerTextTable, ' ',
                   TrailingSpaces::ClearAll);
}

bool CheckGearFlag(int32_t value) {
  if (value == 0 || value == 1) return true;
  frame::SetErrorCode(kErrorGearValue);
  return false;
}

bool RewriteUnitArea(CommParams& params, int32_t address, size_t count,
                     const std::function<void(std::span<uint8_t>)>& change) {
  std::vector<uint8_t> area(count);
  if (!ReadUnitMemory(params, address, 0, area, kAreaWritePauseMs)) return false;
  change(area);
  if (!WriteUnitMemory(params, params.MonitorType, address, area)) return false;
  platform::clock().sleep_ms(kAreaWritePauseMs);
  return FinishMemoryWrite(params);
}

}  // namespace quibra::prvc
