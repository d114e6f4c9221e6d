#include "protocol/raw_memory.h"

#include <iterator>

#include "frame/module.h"

namespace quibra::protocol {
namespace {

// Memory areas of the older units by type and area number.
constexpr MemoryArea kMemoryAreas[] = {
    {10, 11, 96, 2, 5},     {10, 12, 98, 1, 4},    {10, 21, 99, 3, 6},      {10, 22, 102, 3, 6},
    {12, 11, 98, 2, 5},     {12, 12, 100, 1, 4},   {12, 21, 101, 3, 6},     {12, 22, 104, 3, 6},
    {11, 31, 73, 3, 6},     {11, 32, 84, 3, 6},    {12, 41, 9, 1, 4},       {11, 42, 4, 1, 4},
    {11, 43, 0, 3, 6},      {11, 44, 5, 1, 4},     {20, 45, 132, 26, 29},   {23, 46, 9, 1, 4},
    {23, 21, 101, 3, 6},    {23, 22, 104, 3, 6},   {22, 21, 106, 3, 6},     {22, 22, 109, 3, 6},
    {22, 47, 642, 42, 45},  {22, 48, 684, 43, 46}, {22, 50, 684, 43, 46},   {22, 51, 139, 2, 5},
    {22, 52, 79, 38, 41},   {22, 53, 129, 28, 31}, {20, 54, 320, 181, 184}, {27, 55, 712, 1, 4},
    {27, 56, 1024, 43, 46}, {27, 57, 486, 1, 4},   {27, 58, 741, 1, 4},     {29, 59, 204, 24, 4},
    {31, 59, 204, 24, 27},  {30, 60, 451, 10, 27},
};
static_assert(std::size(kMemoryAreas) == 34);

struct OpcodeRow {
  int32_t type;
  uint8_t opcode;
};

constexpr OpcodeRow kOpcodes[] = {
    {33, 0xA4}, {34, 0xA7}, {35, 0xA6}, {36, 0xAC}, {37, 0xAD}, {38, 0xAE},
};

void put_le(Banks& banks, int32_t index, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i)
    banks.set_scratch(index + i, static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace

std::optional<MemoryArea> FindMemoryArea(int32_t type, int32_t area) {
  if (area == kVariableArea) {
    // The fixed row of type 22 is the layout those exports normally set; the variables win.
    const RawMemoryState& raw = module().raw_memory;
    return MemoryArea{type, area, raw.area50_address, raw.area50_count, raw.area50_count + 3};
  }
  if (type == kFitnessUnitType && area == kFitnessBlockArea) {
    const RawMemoryState& raw = module().raw_memory;
    return MemoryArea{type, area, raw.fitness_block_address, raw.fitness_block_count,
                      raw.fitness_block_count + 3};
  }
  for (const MemoryArea& row : kMemoryAreas) {
    if (row.type == type && row.area == area) return row;
  }
  return std::nullopt;
}

std::optional<uint8_t> MemoryOpcode(int32_t type) {
  for (const OpcodeRow& row : kOpcodes) {
    if (row.type == type) return row.opcode;
  }
  return std::nullopt;
}

int32_t BuildMemoryWriteCommand(int32_t type, int32_t reserved, int32_t flag, int32_t address,
                                int32_t count) {
  const std::optional<uint8_t> opcode = MemoryOpcode(type);
  if (!opcode || reserved != 0 || (flag != 0 && flag != 1)) return -1;
  Module& m = module();
  m.banks.clear_scratch();
  m.banks.set_scratch(5, *opcode);
  m.banks.set_scratch(6, 0);
  m.banks.set_scratch(7, static_cast<uint8_t>(flag));
  put_le(m.banks, 8, static_cast<uint32_t>(address), 4);
  m.raw_memory.send_length = count + 8;
  m.raw_memory.answer_length = 2;
  return 12;
}

int32_t BuildMemoryReadCommand(int32_t reserved, int32_t flag, int32_t address, int32_t count) {
  if (reserved != 0 || (flag != 0 && flag != 1)) return -1;
  Module& m = module();
  m.banks.clear_scratch();
  m.banks.set_scratch(5, static_cast<uint8_t>(flag));
  put_le(m.banks, 6, static_cast<uint32_t>(address), 4);
  put_le(m.banks, 10, static_cast<uint32_t>(count), 2);
  m.raw_memory.send_length = 8;
  m.raw_memory.answer_length = count + 6;
  return 10;
}

}  // namespace quibra::protocol
