#include "prvc/health_checks.h"

#include <array>
#include <span>

#include "platform/registry.h"
#include "prvc/unit_memory.h"

namespace quibra::prvc {
namespace {

constexpr uint32_t kPauseMs = 300;

// The memory state block at address 0: sound when byte 3 is 10 and bytes 0..1 hold a valid
// four-digit BCD number (byte 1 the high digits) below 4000.
constexpr int32_t kStateAddress = 0;
constexpr size_t kStateBytes = 6;
constexpr uint8_t kStateMark = 10;
constexpr int32_t kStateLimit = 4000;

// Paired sensor identifiers: 24-bit little-endian, unpaired as 0; values from 0xF00000 up are
// no sensor either.
constexpr int32_t kStrideSensorAddress = 349;
constexpr size_t kStrideSlots = 3;
constexpr int32_t kSensorsAddress = 346;
constexpr size_t kSensorBytes = 43;
constexpr int32_t kNoSensorFrom = 0xF00000;

bool BcdByte(uint8_t value) {
  return (value >> 4) <= 9 && (value & 0x0F) <= 9;
}

bool StateIsSound(std::span<const uint8_t> state) {
  if (state[3] != kStateMark || !BcdByte(state[0]) || !BcdByte(state[1])) return false;
  const int32_t number =
      (state[1] >> 4) * 1000 + (state[1] & 0x0F) * 100 + (state[0] >> 4) * 10 + (state[0] & 0x0F);
  return number < kStateLimit;
}

bool IsSensor(int32_t id) {
  return id != 0 && id < kNoSensorFrom;
}

// How the eleven sensor slots of a type make up the six flags: slots first..last, any nonzero
// (or, with `ranged`, any paired sensor), sets the flag. A flag without a row is left alone
// (kKeep) or cleared (kClear).
struct FlagSlots {
  int32_t flag;
  int32_t first;
  int32_t last;
  bool ranged;
};
struct TypeSensors {
  int32_t type;
  std::array<FlagSlots, 5> rows;
  int32_t cleared_flag;  // -1: none
};
constexpr std::array<TypeSensors, 2> kSensorLayouts = {{
    {38,
     {{{0, 0, 0, false}, {1, 1, 3, true}, {2, 4, 4, false}, {3, 5, 7, false}, {4, 8, 10, false}}},
     5},
    {34,
     {{{0, 0, 0, false}, {2, 1, 1, false}, {3, 2, 4, false}, {4, 5, 7, false}, {5, 8, 10, false}}},
     -1},
}};

}  // namespace

int32_t EEPROMStateCheckFix(CommParams& params) {
  std::array<uint8_t, kStateBytes> state{};
  if (!ReadUnitMemory(params, kStateAddress, 0, state, kPauseMs)) return 0;
  if (StateIsSound(state)) return 0;
  platform::clock().sleep_ms(kPauseMs);
  const std::array<uint8_t, kStateBytes> fresh = {0x10, 0x00, 0x01, 0x00, state[4], 0x07};
  return WriteUnitMemory(params, params.MonitorType, kStateAddress, fresh) ? 1 : 0;
}

int32_t N4Sensor(CommParams& params) {
  std::array<uint8_t, kStrideSlots * 3> ids{};
  if (!ReadUnitMemory(params, kStrideSensorAddress, 0, ids, kPauseMs)) return 0;
  for (size_t slot = 0; slot < kStrideSlots; ++slot) {
    if (IsSensor(Le24(ids, slot * 3))) return 1;
  }
  return 0;
}

int32_t SensorsPRVCZ(CommParams& params, int32_t* flags) {
  std::array<uint8_t, kSensorBytes> ids{};
  if (!ReadUnitMemory(params, kSensorsAddress, 0, ids, kPauseMs)) return 0;
  if (flags == nullptr) return 1;
  for (const TypeSensors& layout : kSensorLayouts) {
    if (layout.type != params.MonitorType) continue;
    for (const FlagSlots& row : layout.rows) {
      int32_t set = 0;
      for (int32_t slot = row.first; slot <= row.last; ++slot) {
        const int32_t id = Le24(ids, static_cast<size_t>(slot) * 3);
        if (row.ranged ? IsSensor(id) : id != 0) set = 1;
      }
      flags[row.flag] = set;
    }
    if (layout.cleared_flag >= 0) flags[layout.cleared_flag] = 0;
  }
  return 1;
}

}  // namespace quibra::prvc
