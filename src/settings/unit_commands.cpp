#include "settings/unit_commands.h"

#include <array>
#include <optional>
#include <span>
#include <string>

#include "codec/bcd.h"
#include "frame/comm_params.h"
#include "frame/module.h"
#include "platform/registry.h"
#include "protocol/message_ids.h"
#include "protocol/seal.h"
#include "prvc/unit_info.h"
#include "settings/service_blocks.h"
#include "sound/pipcast.h"
#include "transfer/send_unit_message.h"
#include "ui/clipboard.h"

namespace quibra::settings {
namespace {

struct SimpleCommand {
  int32_t message;
  bool by_sound;  // false: with the sound link the command is skipped and counts as done
};
constexpr std::array<SimpleCommand, 5> kSimpleCommands = {{
    {protocol::msg::kWatchMode, true},
    {protocol::msg::kFactoryDefaults, true},
    {protocol::msg::kSleepMode, true},
    {protocol::msg::kRestoreMemory, false},
    {protocol::msg::kDisplayOff, false},
}};

// A service value: its block, its range, and how its three bytes are made.
struct ServiceValue {
  int32_t block;
  int32_t max;
  bool bcd;  // three BCD pairs (x1, x100, x10000), else three bytes (x1, x256, x65536)
};
constexpr ServiceValue kTotalCalories = {32, 999999, true};
constexpr ServiceValue kIDNumber = {31, 16777215, false};

int32_t WriteServiceValue(const ServiceValue& v, int32_t value) {
  if (value < 0 || value > v.max) return 0;
  CommParams params = ServiceParams(frame::kLinkInfrared, false);
  SelectBlockLayouts(kBlockLayoutType);
  protocol::Banks& banks = module().banks;
  const int32_t base = v.bcd ? 100 : 256;
  for (int32_t i = 0, rest = value; i < 3; ++i, rest /= base) {
    const int32_t digit = rest % base;
    banks.set_scratch(kBlockWriteAt + i,
                      static_cast<uint8_t>(v.bcd ? codec::BinToBcd(digit) : digit));
  }
  return Delivered(transfer::SendUnitMessage(params, protocol::msg::kBlockWrite, v.block)) ? 1 : 0;
}

int32_t ReadServiceValue(const ServiceValue& v) {
  CommParams params = ServiceParams(frame::kLinkInfrared, false);
  SelectBlockLayouts(kBlockLayoutType);
  if (!ReadBlock(params, v.block)) return 0;
  const protocol::Banks& banks = module().banks;
  const int32_t base = v.bcd ? 100 : 256;
  int32_t value = 0;
  for (int32_t i = 2; i >= 0; --i) {
    const int32_t byte = banks.scratch(kBlockReadAt + i);
    value = value * base + (v.bcd ? codec::BcdToBin(byte) : byte);
  }
  return value;
}

// The monitor-type switch: block 41, read with the layouts of type 12.
constexpr int32_t kTypeBlock = 41;
constexpr int32_t kTypeLayouts = 12;
// Product codes of the type 12 units that can switch.
constexpr int32_t kSwitchableProductCodes[] = {35, 36};
// A type 22 unit runs as one of these modes.
constexpr int32_t kType22Modes[] = {2, 3};
constexpr uint32_t kBeforeWriteMs = 100;

// The heart-rate alarm and memory byte of type 23: block 46 (memory area 9).
constexpr int32_t kAlarmBlock = 46;
constexpr int32_t kAlarmLayouts = 23;
constexpr uint8_t kAlarmOffBit = 0x02;
constexpr int32_t kMemoryByteArea = 9;

// The usage counters: block 45 with the layouts of type 20.
constexpr int32_t kCounterBlock = 45;
constexpr int32_t kCounterLayouts = 20;

bool Contains(std::span<const int32_t> values, int32_t value) {
  for (const int32_t v : values) {
    if (v == value) return true;
  }
  return false;
}

// Asks the unit who it is; the detected monitor type, or nothing when the read failed.
std::optional<MonitorInfo> AskUnit(CommParams& params) {
  MonitorInfo info{};
  info.Size = QUIBRA_MONITOR_INFO_SIZE;
  if (prvc::ReadMonitorInfo(params, info) != 1) return std::nullopt;
  return info;
}

bool UnitIs(CommParams& params, std::span<const int32_t> types) {
  const std::optional<MonitorInfo> info = AskUnit(params);
  return info && Contains(types, info->MonitorInUse);
}

int32_t SwitchType22(int32_t mode) {
  CommParams params = ServiceParams(frame::kLinkInfrared, true);
  constexpr int32_t kType22[] = {22};
  if (!UnitIs(params, kType22)) return 0;
  SelectBlockLayouts(kTypeLayouts);
  if (!ReadBlock(params, kTypeBlock)) return 0;
  auto value = static_cast<uint8_t>(module().banks.scratch(kBlockReadAt));
  if (Contains(kType22Modes, mode)) value = static_cast<uint8_t>(mode);
  platform::clock().sleep_ms(kBeforeWriteMs);
  if (!WriteByteAndCheck(params, kTypeBlock, value)) return 0;
  return FactoryDefaultsAfter(params, kFactoryDefaultsPauseMs);
}

int32_t SwitchType10Or12(int32_t type, int32_t mode) {
  const bool infrared = type == kTypeLayouts;
  CommParams params = ServiceParams(infrared ? frame::kLinkInfrared : frame::kLinkSound, false);
  if (infrared) {
    params.ShowDialog = 1;
    const std::optional<MonitorInfo> info = AskUnit(params);
    if (!info || info->MonitorInUse != kTypeLayouts ||
        !Contains(kSwitchableProductCodes, static_cast<int32_t>(info->MonitorSubModel))) {
      return 0;
    }
  }
  SelectBlockLayouts(kTypeLayouts);
  module().banks.set_scratch(kBlockWriteAt, static_cast<uint8_t>(2 + mode));
  const bool sent =
      infrared
          ? Delivered(transfer::SendUnitMessage(params, protocol::msg::kBlockWrite, kTypeBlock))
          : sound::SendBySoundOrDataFile(params, protocol::msg::kBlockWrite, kTypeBlock) != 0;
  if (!sent) return 0;
  return FactoryDefaultsAfter(params, kFactoryDefaultsPauseMs);
}

}  // namespace

int32_t SendSimpleCommand(CommParams& params, int32_t message) {
  const SimpleCommand* command = nullptr;
  for (const SimpleCommand& c : kSimpleCommands) {
    if (c.message == message) command = &c;
  }
  if (command == nullptr) return 0;
  frame::ValidateCommParams(params, 0);
  protocol::SealMessageImage(message, 0, 0);
  if (params.LinkType == frame::kLinkInfrared)
    return Delivered(transfer::SendUnitMessage(params, message, 0)) ? 1 : 0;
  if (!command->by_sound) return 1;
  return sound::SendBySoundOrDataFile(params, message, 0) != 0 ? 1 : 0;
}

int32_t WriteTotalCalories(int32_t value) {
  return WriteServiceValue(kTotalCalories, value);
}

int32_t WriteIDNumber(int32_t value) {
  return WriteServiceValue(kIDNumber, value);
}

int32_t ReadTotalCalories() {
  return ReadServiceValue(kTotalCalories);
}

int32_t ReadIDNumber() {
  return ReadServiceValue(kIDNumber);
}

}  // namespace quibra::settings

namespace quibra::settings {

int32_t SwitchMonitorType(int32_t type, int32_t mode) {
  if (type == 22) return SwitchType22(mode);
  if ((type == 10 || type == kTypeLayouts) && (mode == 0 || mode == 1))
    return SwitchType10Or12(type, mode);
  return 0;
}

int32_t SetK65LimitAlarmOff() {
  CommParams params = ServiceParams(frame::kLinkInfrared, true);
  constexpr int32_t kAlarmTypes[] = {22, 23};
  if (!UnitIs(params, kAlarmTypes)) return 0;
  SelectBlockLayouts(kAlarmLayouts);
  if (!ReadBlock(params, kAlarmBlock)) return 0;
  const auto value = static_cast<uint8_t>(module().banks.scratch(kBlockReadAt) | kAlarmOffBit);
  platform::clock().sleep_ms(kBeforeWriteMs);
  return WriteByteAndCheck(params, kAlarmBlock, value) ? 1 : 0;
}

int32_t WriteMemoryByte(int32_t link_type, int32_t area, int32_t value) {
  if (area != kMemoryByteArea) return 0;
  CommParams params = ServiceParams(frame::kLinkInfrared, true);
  SelectBlockLayouts(kAlarmLayouts);
  const auto byte = static_cast<uint8_t>(value & 0xFF);
  module().banks.set_scratch(kBlockWriteAt, byte);
  if (link_type != 1) return 1;
  return WriteByteAndCheck(params, kAlarmBlock, byte) ? 1 : 0;
}

int32_t GetUsageCounters(int32_t copy_to_clipboard) {
  // A read that fails, however early, leaves no counters of an earlier read behind.
  ServiceState& state = module().service;
  state.counters.fill(0);
  state.counters_read = false;
  CommParams params = ServiceParams(frame::kLinkInfrared, true);
  constexpr int32_t kCounterTypes[] = {20, 21};
  if (!UnitIs(params, kCounterTypes)) return 0;
  SelectBlockLayouts(kCounterLayouts);
  if (!ReadBlock(params, kCounterBlock)) return 0;
  const protocol::Banks& banks = module().banks;
  for (size_t i = 0; i < state.counters.size(); ++i)
    state.counters[i] = banks.scratch(kBlockReadAt + static_cast<int32_t>(i));
  state.counters_read = true;
  if (copy_to_clipboard != 0) {
    // One line per counter, carrying its value (the line's position is the counter's index).
    std::string text;
    for (int32_t i = 0; i < kUsageCounters; ++i)
      text += std::to_string(ReadUsageCounterValue(i)) + "\r\n";
    ui::clipboard().put_text(text);
  }
  return 1;
}

int32_t ReadUsageCounterValue(int32_t index) {
  const ServiceState& state = module().service;
  if (!state.counters_read || index < 0 || index >= kUsageCounters) return 0;
  const auto at = static_cast<size_t>(2 * index);
  return state.counters[at] + 256 * state.counters[at + 1];
}

}  // namespace quibra::settings
