// The FIT container byte by byte: the CRC against published check values, the file header, a
// definition with the data message it lays out, invalid values for what a field cannot hold, and
// the messages the encoder refuses.
#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "fit_encoder.h"

namespace {

using namespace quibra::cli::formats::fit;
using Bytes = std::vector<uint8_t>;

TEST(FitEncoder, WritesHeaderDefinitionAndDataMessageWithTheirCrcs) {
  // The common check value of this CRC, and a header whose CRC the FIT documentation prints.
  constexpr std::string_view kCheck = "123456789";
  EXPECT_EQ(Crc16(Bytes(kCheck.begin(), kCheck.end())), 0xBB3D);
  EXPECT_EQ(Crc16(Bytes{0x0E, 0x10, 0xD9, 0x07, 0, 0, 0, 0, '.', 'F', 'I', 'T'}), 0x3391);

  Encoder encoder;
  const FieldLayout record[] = {
      {253, BaseType::kUint32, 1}, {3, BaseType::kUint8, 1}, {2, BaseType::kUint16, 1}};
  ASSERT_TRUE(encoder.Define(2, 20, record));
  ASSERT_TRUE(encoder.Write(2, {{1000000000, 150, std::nullopt}}));
  const Bytes file = encoder.File();
  const Bytes header{0x0E, 0x10, 0x54, 0x08, 23, 0, 0, 0, '.', 'F', 'I', 'T'};  // 23 bytes follow
  const Bytes messages{
      0x42, 0x00, 0x00, 0x14, 0x00, 0x03,                    // local 2 is global 20, 3 fields:
      0xFD, 0x04, 0x86, 0x03, 0x01, 0x02, 0x02, 0x02, 0x84,  // 253 uint32, 3 uint8, 2 uint16
      0x02, 0x00, 0xCA, 0x9A, 0x3B, 0x96, 0xFF, 0xFF};       // local 2's data, the last invalid
  ASSERT_EQ(file.size(), 14 + messages.size() + 2);
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 12), header);
  EXPECT_EQ(file[12] | file[13] << 8, Crc16(header));
  EXPECT_EQ(Bytes(file.begin() + 14, file.end() - 2), messages);
  // The file CRC covers the header too: over everything with it appended, the CRC is 0.
  EXPECT_EQ(Crc16(file), 0);
}

TEST(FitEncoder, WritesWhatAFieldCannotHoldAsInvalid) {
  struct Case {
    BaseType type;
    int64_t value;
    uint32_t written;
  };
  const Case cases[] = {
      {BaseType::kUint8, 254, 0xFE},       {BaseType::kUint8, 255, 0xFF},
      {BaseType::kEnum, -1, 0xFF},         {BaseType::kSint8, -128, 0x80},
      {BaseType::kSint8, 127, 0x7F},       {BaseType::kUint16, 70000, 0xFFFF},
      {BaseType::kSint32, -2, 0xFFFFFFFE}, {BaseType::kUint32, 1LL << 32, 0xFFFFFFFF},
      {BaseType::kUint8z, 0, 0},           {BaseType::kUint16z, 65535, 0xFFFF},
  };
  for (const Case& c : cases) {
    Encoder encoder;
    const FieldLayout field[] = {{0, c.type, 1}};
    ASSERT_TRUE(encoder.Define(0, 0, field));
    ASSERT_TRUE(encoder.Write(0, {{c.value}}));
    const Bytes file = encoder.File();
    uint32_t written = 0;
    for (int i = 0; i < SizeOf(c.type); ++i)
      written |= uint32_t{file[file.size() - 2 - SizeOf(c.type) + i]} << (8 * i);
    EXPECT_EQ(written, c.written) << "type " << int(c.type) << " value " << c.value;
  }
}

TEST(FitEncoder, RefusesMessagesItCannotLayOut) {
  Encoder encoder;
  const FieldLayout hrv[] = {{0, BaseType::kUint16, 5}};
  const FieldLayout empty_array[] = {{0, BaseType::kUint16, 0}};
  const FieldLayout too_long[] = {{0, BaseType::kUint32, 64}};
  EXPECT_FALSE(encoder.Define(16, 78, hrv));
  EXPECT_FALSE(encoder.Define(1, 78, empty_array));
  EXPECT_FALSE(encoder.Define(1, 78, too_long));
  EXPECT_FALSE(encoder.Write(1, {{1, 2, 3, 4, 5}}));  // local type 1 was never defined
  ASSERT_TRUE(encoder.Define(1, 78, hrv));
  EXPECT_FALSE(encoder.Write(1, {{1, 2, 3, 4}}));  // an array field takes all its values
  EXPECT_TRUE(encoder.Write(1, {{1, 2, 3, 4, 5}}));
  // Only what was accepted is in the file: one definition (6 + 3 bytes), one data message.
  EXPECT_EQ(encoder.File().size(), 14 + 9 + 11 + 2);
}

}  // namespace
