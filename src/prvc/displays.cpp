#include "prvc/displays.h"

#include <array>
#include <iterator>
#include <span>
#include <vector>

#include "frame/module.h"
#include "platform/registry.h"
#include "prvc/display_table.h"
#include "prvc/unit_memory.h"
#include "prvc/write_back.h"

namespace quibra::prvc {
namespace {

constexpr int32_t kPR9W = 38;
// Type 38 units of this variant on keep four more groups of class-2 identifiers.
constexpr int32_t kExtraGroupsVariant = 3;
// An identifier the unit keeps in the first groups only: it is not copied into the extra ones.
constexpr int32_t kFirstGroupsOnly = 125;

// Type 38: two switch bytes, then the 48 class-2 codes, the 12 class-1 codes and, from variant 3
// on, the 24 extra class-2 codes, from the display area + 247 on.
constexpr int32_t kPR9WOffset = 247;
constexpr size_t kPR9WClass2At = 2;
constexpr size_t kPR9WClass1At = 50;
constexpr size_t kPR9WExtraAt = 62;
constexpr size_t kPR9WBytes = 62;
constexpr size_t kPR9WLateBytes = 86;
constexpr size_t kPR9WReadBytes = 122;
// A written switch byte has its two high bits set.
constexpr uint8_t kSwitchByteMark = 0xC0;

// The other types: the switch byte and the three groups of six codes, at these offsets from the
// display area; the read takes 80 bytes from + 248 on.
constexpr int32_t kOtherSwitchOffset = 249;
constexpr int32_t kOtherClass2aOffset = 263;
constexpr int32_t kOtherClass2bOffset = 281;
constexpr int32_t kOtherClass1Offset = 299;
constexpr int32_t kOtherReadOffset = 248;
constexpr size_t kOtherReadBytes = 80;
constexpr size_t kGroup = 6;

bool Switches(std::span<const int32_t> values) {
  for (const int32_t v : values) {
    if (v != 0 && v != 1) return false;
  }
  return true;
}

uint8_t SwitchByte(std::span<const int32_t> values) {
  uint8_t byte = 0;
  for (size_t k = 0; k < values.size(); ++k)
    byte = static_cast<uint8_t>(byte | (values[k] & 1) << k);
  return byte;
}

void FromSwitchByte(uint8_t byte, std::span<int32_t> values) {
  for (size_t k = 0; k < values.size(); ++k)
    values[k] = (byte >> k) & 1;
}

void ToCodes(std::span<const int32_t> ids, int32_t type, uint8_t* out) {
  for (const int32_t id : ids)
    *out++ = static_cast<uint8_t>(GetMonitorDisplayID(id, type));
}

void FromCodes(const uint8_t* in, int32_t type, int32_t class1, std::span<int32_t> ids) {
  for (int32_t& id : ids)
    id = GetOrvekDisplayID(*in++, type, class1);
}

bool HasExtraGroups() {
  const Module& m = module();
  return m.unit.type.load() == kPR9W && m.unit.variant.load() >= kExtraGroupsVariant;
}

bool IsOtherType(int32_t type) {
  return type >= 33 && type <= 37;
}

// One write of the other types, with the unit's pauses around it.
bool WritePaused(CommParams& params, int32_t address, std::span<const uint8_t> bytes) {
  platform::clock().sleep_ms(kAreaWritePauseMs);
  const bool written = WriteUnitMemory(params, params.MonitorType, address, bytes);
  platform::clock().sleep_ms(kAreaWritePauseMs);
  return written;
}

}  // namespace

int32_t WriteDisplaysPR9W(CommParams& params, DisplaysPR9W& record) {
  const int32_t area = module().memory_map.display_area;
  if (params.MonitorType != kPR9W || area == 0 || !Switches(record.SwitchSet1) ||
      !Switches(record.SwitchSet2)) {
    return 0;
  }
  const bool extra = HasExtraGroups();
  if (extra) {
    for (size_t k = 0; k < std::size(record.ExtraClass2IDs); ++k) {
      if (record.Class2IDs[k] != kFirstGroupsOnly) record.ExtraClass2IDs[k] = record.Class2IDs[k];
    }
  }
  std::vector<uint8_t> bytes(extra ? kPR9WLateBytes : kPR9WBytes);
  bytes[0] = static_cast<uint8_t>(SwitchByte(record.SwitchSet1) | kSwitchByteMark);
  bytes[1] = static_cast<uint8_t>(SwitchByte(record.SwitchSet2) | kSwitchByteMark);
  ToCodes(record.Class2IDs, kPR9W, &bytes[kPR9WClass2At]);
  ToCodes(record.Class1IDs, kPR9W, &bytes[kPR9WClass1At]);
  if (extra) ToCodes(record.ExtraClass2IDs, kPR9W, &bytes[kPR9WExtraAt]);
  platform::clock().sleep_ms(kAreaWritePauseMs);
  if (!WriteUnitMemory(params, kPR9W, area + kPR9WOffset, bytes)) return 0;
  return FinishMemoryWrite(params) ? 1 : 0;
}

int32_t ReadDisplaysPR9W(CommParams& params, DisplaysPR9W& record) {
  DisplaysPR9W read{};
  if (params.MonitorType != kPR9W) {
    record = read;
    return 1;
  }
  const int32_t area = module().memory_map.display_area;
  std::array<uint8_t, kPR9WReadBytes> bytes{};
  if (area == 0 || !ReadUnitMemory(params, area + kPR9WOffset, 0, bytes, kAreaWritePauseMs)) {
    return 0;
  }
  FromSwitchByte(bytes[0], read.SwitchSet1);
  FromSwitchByte(bytes[1], read.SwitchSet2);
  FromCodes(&bytes[kPR9WClass2At], kPR9W, 0, read.Class2IDs);
  FromCodes(&bytes[kPR9WClass1At], kPR9W, 1, read.Class1IDs);
  if (HasExtraGroups()) FromCodes(&bytes[kPR9WExtraAt], kPR9W, 0, read.ExtraClass2IDs);
  record = read;
  return 1;
}

int32_t WriteDisplaysOther(CommParams& params, const DisplaysOther& record) {
  const int32_t area = module().memory_map.display_area;
  const int32_t type = params.MonitorType;
  if (!IsOtherType(type) || area == 0 || !Switches(record.Switches)) return 0;
  const std::span<const int32_t> class2(record.Class2IDs);
  std::array<uint8_t, 1> switches = {SwitchByte(record.Switches)};
  std::array<uint8_t, kGroup> first{};
  std::array<uint8_t, kGroup> second{};
  std::array<uint8_t, kGroup> class1{};
  ToCodes(class2.first(kGroup), type, first.data());
  ToCodes(class2.last(kGroup), type, second.data());
  ToCodes(record.Class1IDs, type, class1.data());
  // Every part is checked: a write that went on after a lost part would report the unit set
  // while it lacks that part.
  if (!WritePaused(params, area + kOtherSwitchOffset, switches) ||
      !WritePaused(params, area + kOtherClass2aOffset, first) ||
      !WritePaused(params, area + kOtherClass2bOffset, second) ||
      !WritePaused(params, area + kOtherClass1Offset, class1)) {
    return 0;
  }
  return RestoreWorkingMemory(params) ? 1 : 0;
}

int32_t ReadDisplaysOther(CommParams& params, DisplaysOther& record) {
  const int32_t area = module().memory_map.display_area;
  const int32_t type = params.MonitorType;
  std::array<uint8_t, kOtherReadBytes> bytes{};
  if (!IsOtherType(type) || area == 0 ||
      !ReadUnitMemory(params, area + kOtherReadOffset, 0, bytes, kAreaWritePauseMs)) {
    return 0;
  }
  const auto at = [&](int32_t offset) {
    return &bytes[static_cast<size_t>(offset - kOtherReadOffset)];
  };
  DisplaysOther read{};
  FromSwitchByte(*at(kOtherSwitchOffset), read.Switches);
  const std::span<int32_t> class2(read.Class2IDs);
  FromCodes(at(kOtherClass2aOffset), type, 0, class2.first(kGroup));
  FromCodes(at(kOtherClass2bOffset), type, 0, class2.last(kGroup));
  FromCodes(at(kOtherClass1Offset), type, 1, read.Class1IDs);
  record = read;
  return 1;
}

}  // namespace quibra::prvc
