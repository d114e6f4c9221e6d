#include "settings/unit_commands.h"

#include <array>

#include "frame/bcd.h"
#include "frame/comm_params.h"
#include "frame/module.h"
#include "protocol/seal.h"
#include "protocol/send_unit_message.h"
#include "sound/pipcast.h"

namespace quibra::settings {
namespace {

struct SimpleCommand {
  int32_t message;
  bool by_sound;  // false: with the sound link the command is skipped and counts as done
};
constexpr std::array<SimpleCommand, 5> kSimpleCommands = {{
    {9010, true},   // watch mode
    {9009, true},   // factory defaults
    {9038, true},   // sleep mode
    {9088, false},  // restore the memory
    {9105, false},  // display off
}};

constexpr int32_t kBlockWrite = 9007;
constexpr int32_t kBlockRead = 9008;
// The block layouts are those of the oldest units, whatever unit is connected.
constexpr int32_t kBlockLayoutType = 11;
// A block is written from scratch index 7 on and read back from index 8 on.
constexpr int32_t kWriteAt = 7;
constexpr int32_t kReadAt = 8;

// A service value: its block, its range, and how its three bytes are made.
struct ServiceValue {
  int32_t block;
  int32_t max;
  bool bcd;  // three BCD pairs (x1, x100, x10000), else three bytes (x1, x256, x65536)
};
constexpr ServiceValue kTotalCalories = {32, 999999, true};
constexpr ServiceValue kIDNumber = {31, 16777215, false};

CommParams ServiceParams() {
  CommParams params{};
  params.Size = QUIBRA_COMM_PARAMS_SIZE;
  params.LinkType = frame::kLinkInfrared;
  return params;
}

void SelectBlockLayouts() {
  Module& m = module();
  m.banks.clear_scratch();
  m.unit.type = kBlockLayoutType;
}

int32_t WriteServiceValue(const ServiceValue& v, int32_t value) {
  if (value < 0 || value > v.max) return 0;
  CommParams params = ServiceParams();
  SelectBlockLayouts();
  protocol::Banks& banks = module().banks;
  const int32_t base = v.bcd ? 100 : 256;
  for (int32_t i = 0, rest = value; i < 3; ++i, rest /= base) {
    const int32_t digit = rest % base;
    banks.set_scratch(kWriteAt + i, static_cast<uint8_t>(v.bcd ? frame::BinToBcd(digit) : digit));
  }
  return protocol::SendUnitMessage(params, kBlockWrite, v.block) != 0 ? 1 : 0;
}

int32_t ReadServiceValue(const ServiceValue& v) {
  CommParams params = ServiceParams();
  SelectBlockLayouts();
  if (protocol::SendUnitMessage(params, kBlockRead, v.block) != 1) return 0;
  const protocol::Banks& banks = module().banks;
  const int32_t base = v.bcd ? 100 : 256;
  int32_t value = 0;
  for (int32_t i = 2; i >= 0; --i) {
    const int32_t byte = banks.scratch(kReadAt + i);
    value = value * base + (v.bcd ? frame::BcdToBin(byte) : byte);
  }
  return value;
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
    return protocol::SendUnitMessage(params, message, 0) != 0 ? 1 : 0;
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
