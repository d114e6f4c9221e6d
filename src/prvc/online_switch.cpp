#include "prvc/online_switch.h"

#include <array>

#include "frame/module.h"
#include "platform/registry.h"
#include "prvc/unit_memory.h"
#include "prvc/write_back.h"

namespace quibra::prvc {
namespace {

// Before an identification has given the memory map, the areas the setting is counted from are
// taken at this address (the place they have on the first units of the family).
constexpr int32_t kDefaultArea = 617;
constexpr int32_t kFirstBank = 0;
// On: bit 7 of the first byte and bit 2 of the second.
constexpr uint8_t kFirstBit = 0x80;
constexpr uint8_t kSecondBit = 0x04;
// Type 37 moved the setting one byte on from this variant.
constexpr int32_t kType37LaterVariant = 5;
// Type 38 takes the setting without the state-byte copy the other types need after a write.
constexpr int32_t kTypeWithoutStateCopy = 38;

int32_t AreaOrDefault(int32_t area) { return area != 0 ? area : kDefaultArea; }

}  // namespace

std::optional<int32_t> OnlineSwitchAddress(int32_t type, int32_t variant,
                                           const UnitMemoryMap& map) {
  // Types 36..38 count from the settings area; 33 and 35 keep the pair just before their bike
  // area (where type 38's lies too: its bike area is 89 bytes on from its settings area).
  const int32_t settings = AreaOrDefault(map.settings_area);
  switch (type) {
    case 33:
    case 35:
      return AreaOrDefault(map.bike_area) - 2;
    case 36:
      return settings + 42;
    case 37:
      return settings + (variant >= kType37LaterVariant ? 43 : 42);
    case 38:
      return settings + 87;
    default:
      return std::nullopt;
  }
}

int32_t ActivateOnlineRecording(CommParams& params, int32_t enable) {
  const int32_t type = params.MonitorType;
  const std::optional<int32_t> address =
      OnlineSwitchAddress(type, module().unit.variant.load(), module().memory_map);
  if (!address) return 0;
  const bool on = enable != 0;
  std::array<uint8_t, 2> pair{};
  if (!ReadUnitMemory(params, *address, kFirstBank, pair, kAreaWritePauseMs)) return 0;
  const bool was_on = (pair[0] & kFirstBit) != 0 && (pair[1] & kSecondBit) != 0;
  if (was_on == on) return 1;
  pair[0] = static_cast<uint8_t>(on ? pair[0] | kFirstBit : pair[0] & ~kFirstBit);
  pair[1] = static_cast<uint8_t>(on ? pair[1] | kSecondBit : pair[1] & ~kSecondBit);
  if (!WriteUnitMemory(params, type, *address, pair)) return 0;
  platform::clock().sleep_ms(kAreaWritePauseMs);
  if (type != kTypeWithoutStateCopy && !CopyStateByteToWatchArea(params)) return 0;
  return RestoreWorkingMemory(params) ? 1 : 0;
}

}  // namespace quibra::prvc
