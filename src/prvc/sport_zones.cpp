#include "prvc/sport_zones.h"

#include "frame/comm_params.h"
#include "frame/module.h"
#include "protocol/message_ids.h"
#include "prvc/training_transfer.h"
#include "sound/pipcast.h"
#include "transfer/send_unit_message.h"

namespace quibra::prvc {
namespace {

// Area 60: Lower[0], Upper[0], Lower[1], Upper[1], ... Upper[4], one byte of percent each. The
// area write carries them from image index 7 on, after the two address bytes.
constexpr int32_t kZonesType = 30;
constexpr int32_t kZones = 5;
constexpr int32_t kWriteAt = 7;
constexpr int32_t kFactoryLimits[] = {50, 60, 70, 80, 90, 100};

}  // namespace

bool CheckSportZones(PR3SportZones& r) {
  if (r.UnitType != kZonesType) return Refuse();
  int32_t floor = 30;
  for (int32_t z = 0; z < kZones; ++z) {
    if (r.Lower[z] < floor || r.Lower[z] >= r.Upper[z] || r.Upper[z] > 100) return Refuse();
    floor = r.Upper[z];
  }
  r.Size = sizeof r;
  return true;
}

std::array<uint8_t, kSportZonesBytes> PackSportZones(const PR3SportZones& r) {
  std::array<uint8_t, kSportZonesBytes> area{};
  for (int32_t z = 0; z < kZones; ++z) {
    area[2 * static_cast<size_t>(z)] = static_cast<uint8_t>(r.Lower[z]);
    area[2 * static_cast<size_t>(z) + 1] = static_cast<uint8_t>(r.Upper[z]);
  }
  return area;
}

int32_t SendSportZones(CommParams& params, PR3SportZones& r) {
  frame::SetErrorCode(frame::kErrorTransferStarted);
  frame::ValidateCommParams(params, 0);
  if (!CheckSportZones(r)) return 0;
  // The unit is not identified first: the record's type is the caller's word for it, as the
  // record's own type is for the other area writes that go by sound.
  const bool infrared = params.LinkType == frame::kLinkInfrared && params.ReadFromDataFile == 0;
  Module& m = module();
  m.unit.type = kZonesType;  // the area table is keyed by the current unit type
  m.banks.clear_scratch();
  const auto area = PackSportZones(r);
  for (size_t i = 0; i < area.size(); ++i)
    m.banks.set_scratch(kWriteAt + static_cast<int32_t>(i), area[i]);
  if (infrared) {
    return transfer::SendUnitMessage(params, protocol::msg::kBlockWrite, kSportZonesArea) == 1 ? 1
                                                                                               : 0;
  }
  return sound::SendBySoundOrDataFile(params, protocol::msg::kBlockWrite, kSportZonesArea) != 0 ? 1
                                                                                                : 0;
}

void ResetSportZones(PR3SportZones& r) {
  r = PR3SportZones{};
  r.Size = sizeof r;
  r.UnitType = kZonesType;
  for (int32_t z = 0; z < kZones; ++z) {
    r.Lower[z] = kFactoryLimits[z];
    r.Upper[z] = kFactoryLimits[z + 1];
  }
}

}  // namespace quibra::prvc
