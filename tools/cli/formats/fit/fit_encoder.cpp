#include "fit_encoder.h"

#include <algorithm>
#include <array>

namespace quibra::cli::formats::fit {
namespace {

// What each base type holds: its size, the invalid value and the range of valid values (the
// invalid value lies just outside it: the top of an unsigned or signed range, 0 for the "z"
// types).
struct BaseTypeInfo {
  BaseType type;
  int size;
  uint32_t invalid;
  int64_t min;
  int64_t max;
};

constexpr std::array<BaseTypeInfo, 10> kBaseTypes{{
    {BaseType::kEnum, 1, 0xFF, 0, 0xFE},
    {BaseType::kSint8, 1, 0x7F, -0x80, 0x7E},
    {BaseType::kUint8, 1, 0xFF, 0, 0xFE},
    {BaseType::kSint16, 2, 0x7FFF, -0x8000, 0x7FFE},
    {BaseType::kUint16, 2, 0xFFFF, 0, 0xFFFE},
    {BaseType::kSint32, 4, 0x7FFFFFFF, -0x80000000LL, 0x7FFFFFFE},
    {BaseType::kUint32, 4, 0xFFFFFFFF, 0, 0xFFFFFFFELL},
    {BaseType::kUint8z, 1, 0, 1, 0xFF},
    {BaseType::kUint16z, 2, 0, 1, 0xFFFF},
    {BaseType::kUint32z, 4, 0, 1, 0xFFFFFFFFLL},
}};

const BaseTypeInfo& InfoOf(BaseType type) {
  for (const BaseTypeInfo& info : kBaseTypes)
    if (info.type == type) return info;
  return kBaseTypes[2];  // unreachable: every enumerator is in the table
}

void PutLittleEndian(std::vector<uint8_t>& out, uint32_t value, int size) {
  for (int i = 0; i < size; ++i)
    out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

constexpr uint8_t kDefinitionFlag = 0x40;  // record header bit 6: a definition message
constexpr uint8_t kLittleEndian = 0;       // the definition's architecture byte
constexpr size_t kHeaderSize = 14;

}  // namespace

int SizeOf(BaseType type) {
  return InfoOf(type).size;
}

uint32_t InvalidOf(BaseType type) {
  return InfoOf(type).invalid;
}

uint16_t Crc16(std::span<const uint8_t> bytes, uint16_t crc) {
  for (uint8_t byte : bytes) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit)
      crc =
          (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : static_cast<uint16_t>(crc >> 1);
  }
  return crc;
}

bool Encoder::Define(uint8_t local_type, uint16_t global_message,
                     std::span<const FieldLayout> fields) {
  if (local_type >= kLocalTypes || fields.size() > 255) return false;
  for (const FieldLayout& f : fields)
    if (f.count == 0 || f.count * SizeOf(f.type) > 255) return false;
  messages_.push_back(kDefinitionFlag | local_type);
  messages_.push_back(0);  // reserved
  messages_.push_back(kLittleEndian);
  PutLittleEndian(messages_, global_message, 2);
  messages_.push_back(static_cast<uint8_t>(fields.size()));
  for (const FieldLayout& f : fields) {
    messages_.push_back(f.number);
    messages_.push_back(static_cast<uint8_t>(f.count * SizeOf(f.type)));
    messages_.push_back(static_cast<uint8_t>(f.type));
  }
  definitions_[local_type].assign(fields.begin(), fields.end());
  defined_[local_type] = true;
  return true;
}

bool Encoder::Write(uint8_t local_type, std::span<const RawValue> values) {
  if (local_type >= kLocalTypes || !defined_[local_type]) return false;
  const std::vector<FieldLayout>& fields = definitions_[local_type];
  size_t expected = 0;
  for (const FieldLayout& f : fields)
    expected += f.count;
  if (values.size() != expected) return false;
  messages_.push_back(local_type);
  size_t next = 0;
  for (const FieldLayout& f : fields) {
    const BaseTypeInfo& info = InfoOf(f.type);
    for (int i = 0; i < f.count; ++i, ++next) {
      const RawValue& v = values[next];
      const bool valid = v && *v >= info.min && *v <= info.max;
      PutLittleEndian(messages_, valid ? static_cast<uint32_t>(*v) : info.invalid, info.size);
    }
  }
  return true;
}

std::vector<uint8_t> Encoder::File() const {
  std::vector<uint8_t> file;
  file.reserve(kHeaderSize + messages_.size() + 2);
  file.push_back(kHeaderSize);
  file.push_back(kProtocolVersion);
  PutLittleEndian(file, kProfileVersion, 2);
  PutLittleEndian(file, static_cast<uint32_t>(messages_.size()), 4);
  for (char c : {'.', 'F', 'I', 'T'})
    file.push_back(static_cast<uint8_t>(c));
  PutLittleEndian(file, Crc16(file), 2);
  file.insert(file.end(), messages_.begin(), messages_.end());
  // The file CRC runs over everything before it, the header and its CRC included.
  PutLittleEndian(file, Crc16(file), 2);
  return file;
}

}  // namespace quibra::cli::formats::fit
