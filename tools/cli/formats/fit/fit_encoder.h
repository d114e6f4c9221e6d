// The FIT container: a 14-byte file header, definition messages that lay out the fields of a
// local message type, data messages in that layout, and the CRC-16 over everything after the
// header. It knows base types and raw integers only; what the messages mean (their global
// numbers, fields, scales) is in fit_profile.h.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace quibra::cli::formats::fit {

// A base type byte: bit 7 says the value has a byte order, bits 0-4 number the type.
enum class BaseType : uint8_t {
  kEnum = 0x00,
  kSint8 = 0x01,
  kUint8 = 0x02,
  kSint16 = 0x83,
  kUint16 = 0x84,
  kSint32 = 0x85,
  kUint32 = 0x86,
  kUint8z = 0x0A,
  kUint16z = 0x8B,
  kUint32z = 0x8C,
};

// Bytes of one value of the type.
int SizeOf(BaseType type);

// The value that says "no data" in a field of the type.
uint32_t InvalidOf(BaseType type);

// The CRC-16 of FIT files (polynomial 0x8005 taken bit-reversed, starting from 0), continued
// from `crc` over `bytes`.
uint16_t Crc16(std::span<const uint8_t> bytes, uint16_t crc = 0);

// FIT counts time in seconds since 1989-12-31 00:00 UTC.
inline constexpr int64_t kFitEpochUnixSeconds = 631065600;

// The field of a definition: its number within the global message, its base type and how many
// values it holds (an array field holds several).
struct FieldLayout {
  uint8_t number = 0;
  BaseType type = BaseType::kUint8;
  uint8_t count = 1;
};

// One value of a data message: empty, or outside what the base type can hold, is written as the
// type's invalid value, so that a decoder shows the field as absent rather than wrong.
using RawValue = std::optional<int64_t>;

// Builds a FIT file in memory, little-endian throughout.
class Encoder {
 public:
  // Local message types are 0-15: a definition stays in force for its local type until the
  // type is defined again.
  static constexpr uint8_t kLocalTypes = 16;
  static constexpr uint16_t kProfileVersion = 2132;  // profile 21.32
  static constexpr uint8_t kProtocolVersion = 0x10;  // protocol 1.0: no developer fields

  // Writes a definition message. False (and nothing written) for a local type out of range or
  // a field of no values or of more than 255 bytes.
  bool Define(uint8_t local_type, uint16_t global_message, std::span<const FieldLayout> fields);

  // Writes a data message of a defined local type, one value per element of each field in the
  // definition's order. False (and nothing written) when the type is undefined or the count of
  // values is not the definition's.
  bool Write(uint8_t local_type, std::span<const RawValue> values);

  // The whole file: header with its own CRC, the messages, the file CRC.
  std::vector<uint8_t> File() const;

 private:
  std::vector<uint8_t> messages_;
  std::vector<FieldLayout> definitions_[kLocalTypes];
  bool defined_[kLocalTypes] = {};
};

}  // namespace quibra::cli::formats::fit
