// Raw memory access: the memory-area table of the older units (messages 9007, 9008, 9035) and
// the command packets with which the newer running and cycling units' memory is read (9090)
// and written (9089).
#pragma once

#include <cstdint>
#include <optional>

namespace quibra::protocol {

struct MemoryArea {
  int32_t type;  // unit type code
  int32_t area;  // area number, the message parameter
  int32_t address;
  int32_t count;  // bytes in the area
  int32_t irda_answer;
};

// The area that 9050-family exports name with area number 50 has no fixed row: its address and
// count are module variables that those exports set before the transfer.
inline constexpr int32_t kVariableArea = 50;
// The J9 unit (type 27) reads every block of its EEPROM as area 56: the fitness reads set the
// block's address and length before each read (the table's row is where they start).
inline constexpr int32_t kFitnessUnitType = 27;
inline constexpr int32_t kFitnessBlockArea = 56;

// Module-wide raw memory variables.
struct RawMemoryState {
  int32_t send_length = 0;    // of 9089 and 9090, set by the command builders
  int32_t answer_length = 0;  // of 9089 and 9090, set by the command builders
  int32_t area50_address = 0;
  int32_t area50_count = 0;
  uint8_t leading_byte = 0;              // the first payload byte of 9035
  int32_t fitness_block_address = 1024;  // area 56 of type 27
  int32_t fitness_block_count = 43;
};

// The area for a unit type and area number (area 50 from the module variables), if any.
std::optional<MemoryArea> FindMemoryArea(int32_t type, int32_t area);

// The raw memory opcode of a running or cycling unit type (33..38), if any.
std::optional<uint8_t> MemoryOpcode(int32_t type);

// Builds the write command 9089 in the scratch: opcode of the type, 0, flag, the 4 address
// bytes (least significant first). Returns the scratch index (12) at which the caller puts the
// count data bytes, or -1 (nothing changed) for a type outside 33..38, reserved != 0, or a
// flag other than 0 or 1.
int32_t BuildMemoryWriteCommand(int32_t type, int32_t reserved, int32_t flag, int32_t address,
                                int32_t count);

// Builds the read command 9090 in the scratch: flag, 4 address bytes, 2 count bytes (least
// significant first). Returns 10 (the answer's data arrive from scratch index 10 - 5 on), or -1
// for reserved != 0 or a flag other than 0 or 1.
int32_t BuildMemoryReadCommand(int32_t reserved, int32_t flag, int32_t address, int32_t count);

}  // namespace quibra::protocol
