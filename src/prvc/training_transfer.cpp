#include "prvc/training_transfer.h"

#include <array>

#include "codec/bcd.h"
#include "frame/comm_params.h"
#include "frame/module.h"
#include "prvc/unit_memory.h"
#include "prvc/write_back.h"

namespace quibra::prvc {

bool AcceptsNewerUnit(int32_t unit_type) {
  const Module& m = module();
  if (InRange(unit_type, 33, 38) && unit_type == m.unit.type.load() &&
      m.memory_map.settings_area != 0) {
    return true;
  }
  return Refuse();
}

bool Refuse() {
  frame::SetErrorCode(frame::kErrorBadArgument);
  return false;
}

bool InRange(int32_t value, int32_t low, int32_t high) {
  return value >= low && value <= high;
}

bool IsSwitch(int32_t value) {
  return value == 0 || value == 1;
}

int32_t InRangeOr(int32_t value, int32_t low, int32_t high, int32_t fallback) {
  return InRange(value, low, high) ? value : fallback;
}

bool MergeWithUnitByte(CommParams& params, int32_t address, uint8_t keep_mask, uint8_t& ours) {
  std::array<uint8_t, 1> unit{};
  if (!ReadUnitMemory(params, address, 0, unit, kAreaWritePauseMs)) return false;
  ours = static_cast<uint8_t>((unit[0] & keep_mask) | (ours & ~keep_mask));
  return true;
}

void PackBcdLowFirst(std::span<uint8_t> out, int32_t value) {
  for (uint8_t& b : out) {
    b = static_cast<uint8_t>(codec::BinToBcd(value % 100));
    value /= 100;
  }
}

int32_t UnpackBcdLowFirst(std::span<const uint8_t> in) {
  int32_t value = 0;
  for (size_t i = in.size(); i-- > 0;)
    value = value * 100 + codec::BcdToBin(in[i]);
  return value;
}

}  // namespace quibra::prvc
