#include "prvc/unit_info.h"

#include <array>

#include "codec/bcd.h"
#include "codec/product_codes.h"
#include "codec/unit_families.h"
#include "frame/comm_params.h"
#include "frame/module.h"
#include "platform/registry.h"
#include "protocol/message_ids.h"
#include "protocol/message_image.h"
#include "prvc/health_checks.h"
#include "transfer/send_unit_message.h"

namespace quibra::prvc {
namespace {

constexpr int32_t kProbe = 1;
constexpr int32_t kAsk = 0;
constexpr uint32_t kRetryPauseMs = 800;
constexpr int32_t kExtendedCode = 255;

// Memory size per type (and variant range) and the correction of the free memory:
// free = size - used + correction.
struct MemorySize {
  int32_t type;
  int32_t min_variant;
  int32_t max_variant;
  int32_t size;
  int32_t correction;
};
constexpr int32_t kAnyVariant = 15;
constexpr std::array<MemorySize, 18> kMemorySizes = {{
    {11, 1, 1, 15965, 417},
    {15, 1, 1, 15965, 417},
    {11, 2, 2, 15883, -6},
    {15, 2, 2, 15883, -6},
    {11, 3, kAnyVariant, 15912, -6},
    {15, 3, kAnyVariant, 15912, -6},
    {12, 0, kAnyVariant, 32190, 0},
    {13, 0, kAnyVariant, 31864, 0},
    {20, 0, kAnyVariant, 23772, 0},
    {21, 0, kAnyVariant, 23772, 0},
    {22, 0, kAnyVariant, 32036, 0},
    {23, 0, kAnyVariant, 32250, 0},
    {33, 0, kAnyVariant, 114637, 0},
    {35, 0, kAnyVariant, 114637, 0},
    {36, 0, kAnyVariant, 114637, 0},
    {37, 0, kAnyVariant, 114637, 0},
    {34, 0, kAnyVariant, 229274, 0},
    {38, 0, kAnyVariant, 229274, 0},
}};

const MemorySize* FindMemorySize(int32_t type, int32_t variant) {
  for (const MemorySize& row : kMemorySizes) {
    if (row.type == type && variant >= row.min_variant && variant <= row.max_variant) return &row;
  }
  return nullptr;
}

// Group B state bits: identification byte 15 bit -> LowBattery bit.
struct BitMove {
  int32_t from;
  int32_t to;
};
constexpr std::array<BitMove, 7> kGroupBStateBits = {{
    {0, 0},
    {1, 1},
    {2, 6},
    {3, 5},
    {4, 2},
    {5, 3},
    {6, 4},
}};

// The memory map offsets from the base P that differ between the groups.
struct GroupOffsets {
  int32_t exercise_area1;
  int32_t exercise_area2;
  int32_t weekly_targets;
  int32_t daily_targets;
};
constexpr GroupOffsets kGroupAOffsets = {-3770, -3240, 6804, 7308};
constexpr GroupOffsets kGroupBOffsets = {-4140, -3370, 7077, 7590};

// Identification bytes of the newer units: the base P and the area addresses.
constexpr int32_t kBaseByte = 16;
constexpr int32_t kBikeAreaByte = 19;
constexpr int32_t kType38BikeFromSettings = 89;

int32_t Byte(int32_t index) {
  return protocol::GetMessageByte(protocol::msg::kIdentify, kProbe, index);
}

int32_t Le16At(int32_t index) {
  return Byte(index) | Byte(index + 1) << 8;
}

int32_t Bit(int32_t value, int32_t bit) {
  return (value >> bit) & 1;
}

int32_t ProductCode() {
  // No known unit reports an extended code; it is read the way the engine recognises it
  // (byte 7 as the high byte) and so maps to no type.
  const int32_t code = Byte(6);
  return code == kExtendedCode ? Byte(7) << 8 : code;
}

uint32_t StateBits(int32_t type, codec::UnitGroup group) {
  uint32_t bits = 0;
  if (group == codec::UnitGroup::Older) return static_cast<uint32_t>(Bit(Byte(7), 0));
  if (group == codec::UnitGroup::B) {
    for (const BitMove& move : kGroupBStateBits)
      bits |= static_cast<uint32_t>(Bit(Byte(15), move.from)) << move.to;
    return bits;
  }
  bits = static_cast<uint32_t>(Byte(8) & 0x07);
  if (type == 35) bits |= static_cast<uint32_t>(Bit(Byte(15), 0)) << 4;
  if ((type == 33 || type == 35) && (bits & 0x10) == 0)
    bits |= static_cast<uint32_t>(Bit(Byte(8), 3)) << 3;
  return bits;
}

uint32_t HorseMode(int32_t type, codec::UnitGroup group) {
  if (type == 33 || type == 35) return static_cast<uint32_t>(Byte(15) & 0x80);
  if (group == codec::UnitGroup::B) return static_cast<uint32_t>(Bit(Byte(15), 7));
  return 0;
}

uint32_t TotalFiles(int32_t type) {
  if (codec::IsOutdoor(type)) {
    if ((Byte(9) & 0x0F) != 0) return 100;
    return static_cast<uint32_t>(codec::BcdToBin(Byte(8)));
  }
  if (type == 27) return 0;
  if (codec::IsNewer(type)) return static_cast<uint32_t>(Byte(9) + 256 * Byte(10));
  return static_cast<uint32_t>(codec::BcdToBin(Byte(8)));
}

int64_t UsedMemory(codec::UnitGroup group) {
  if (group == codec::UnitGroup::Older) return Byte(10) * 256 + Byte(11);
  return static_cast<int64_t>(
      static_cast<uint32_t>(Byte(11)) << 24 | static_cast<uint32_t>(Byte(12)) << 16 |
      static_cast<uint32_t>(Byte(13)) << 8 | static_cast<uint32_t>(Byte(14)));
}

UnitMemoryMap MemoryMap(int32_t type, int32_t variant, codec::UnitGroup group) {
  const GroupOffsets& offsets = group == codec::UnitGroup::A ? kGroupAOffsets : kGroupBOffsets;
  UnitMemoryMap map;
  map.base = Byte(kBaseByte) | Byte(kBaseByte + 1) << 8 | Byte(kBaseByte + 2) << 16;
  map.exercise_area1 = map.base + offsets.exercise_area1;
  map.exercise_area2 = map.base + offsets.exercise_area2;
  map.weekly_targets = map.base + offsets.weekly_targets;
  map.daily_targets = map.base + offsets.daily_targets;
  map.bike_area = Le16At(kBikeAreaByte);
  map.reminders = Le16At(21);
  map.totals = Le16At(23);
  map.user_area1 = Le16At(25);
  map.user_area2 = Le16At(27);
  map.sensor_area = Le16At(29);
  map.watch_area = Le16At(31);
  map.exercise_area3 = Le16At(33);
  map.display_area = Le16At(35);
  int32_t settings = map.bike_area;
  if (type == 33 || type == 35) settings -= 21;
  if (type == 33) settings -= 2;
  if (type == 35 && variant >= 4) settings -= 2;
  if (type == 34) settings -= 23;
  map.settings_area = settings;
  if (type == 38) map.bike_area = settings + kType38BikeFromSettings;
  return map;
}

}  // namespace

int32_t UnPackMonitorInfo(MonitorInfo& info) {
  info = MonitorInfo{};
  info.Size = QUIBRA_MONITOR_INFO_SIZE;
  info.MonitorInUse = -1;
  int32_t code = ProductCode();
  int32_t type = codec::MonitorTypeOfProductCode(code);
  if (type < 0) {
    // The unit may have answered before it was ready: ask once more.
    platform::clock().sleep_ms(kRetryPauseMs);
    CommParams retry{};
    retry.Size = QUIBRA_COMM_PARAMS_SIZE;
    transfer::SendUnitMessage(retry, protocol::msg::kIdentify, kAsk);
    code = ProductCode();
    type = codec::MonitorTypeOfProductCode(code);
  }
  info.MonitorSubModel = static_cast<uint32_t>(code);
  if (type < 0) return 0;

  Module& m = module();
  const codec::UnitGroup group = codec::GroupOfType(type);
  const int32_t variant = Byte(codec::VariantByteOfType(type)) >> 4;
  info.MonitorInUse = type;
  info.DataVersion = static_cast<uint32_t>(variant);
  m.unit.type = type;
  m.unit.variant = variant;
  info.LowBattery = StateBits(type, group);
  info.HorseMode = HorseMode(type, group);
  info.TotalFiles = TotalFiles(type);
  if (const MemorySize* size = FindMemorySize(type, variant)) {
    info.TotalMemoryInBytes = static_cast<uint32_t>(size->size);
    const int64_t free = size->size - UsedMemory(group) + size->correction;
    info.FreeMemoryInBytes = free < 0 ? 0 : static_cast<int32_t>(free);
  }
  if (group != codec::UnitGroup::Older) m.memory_map = MemoryMap(type, variant, group);
  return 1;
}

int32_t ReadMonitorInfo(CommParams& params, MonitorInfo& info) {
  frame::SetErrorCode(frame::kErrorTransferStarted);
  if (frame::ValidateCommParams(params, 1) != 1) {
    frame::SetErrorCode(0);
    return 0;
  }
  const int32_t param = info.MonitorInUse == -1 ? kProbe : kAsk;
  if (transfer::SendUnitMessage(params, protocol::msg::kIdentify, param) != 1) return 0;
  const int32_t result = UnPackMonitorInfo(info);
  const int32_t type = info.MonitorInUse;
  if (codec::FamilyOf(type) == codec::UnitFamily::GroupA) {
    params.MonitorType = type;
    EEPROMStateCheckFix(params);
  }
  if (type == 37 && N4Sensor(params) == 0) info.N4SensorMissing = 1;
  return result;
}

int32_t ReadMonitorType() {
  CommParams params{};
  params.Size = QUIBRA_COMM_PARAMS_SIZE;
  MonitorInfo info{};
  if (ReadMonitorInfo(params, info) != 1) return 0;
  return static_cast<int32_t>(info.MonitorSubModel);
}

}  // namespace quibra::prvc
