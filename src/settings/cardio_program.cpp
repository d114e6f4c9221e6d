#include "settings/cardio_program.h"

#include <cstring>
#include <iterator>

#include "exercise/fitness_data.h"
#include "frame/comm_params.h"
#include "frame/module.h"
#include "platform/registry.h"
#include "protocol/message_ids.h"
#include "protocol/raw_memory.h"
#include "protocol/seal.h"
#include "settings/image_bytes.h"
#include "settings/transfer_pattern.h"
#include "transfer/send_unit_message.h"

namespace quibra::settings {
namespace {

// Message 9065 carries the programme exactly as the unit keeps it from its data-type byte on:
// image byte b is position b + 2 of the programme image that the J9 read assembles
// (exercise/fitness_data.h), so a programme sent and read back gives the same values.
//
// | 9065 byte          | content                                                         |
// |--------------------|-----------------------------------------------------------------|
// | 5                  | 16, the programme layout (the image's data-type byte)           |
// | 6, 7               | Value1, low byte first                                          |
// | 8, 9               | Value2                                                          |
// | 10, 11             | FactorA                                                         |
// | 12, 13             | FactorB                                                         |
// | 14, 15             | FactorC                                                         |
// | 16 + 20n .. 25+20n | entry n (0..6): Value1 .. Value5, two bytes each, low first     |
// | 26 + 20n .. 33+20n | entry n: Name, 8 device codes of table 0, padded with spaces    |
// | 34 + 20n           | entry n: Last                                                   |
// | 35 + 20n           | 0                                                               |
// | 156                | Byte158                                                         |
// | 157, 158           | Value159                                                        |
// | 159, 160           | Value161                                                        |
// | 161 .. 166         | RateA, RateB, RateC, two bytes each                             |
constexpr int32_t kMessage = 9065;
constexpr int32_t kParam = 1;
constexpr int32_t kPayload = 5;
constexpr int32_t kPayloadBytes = 162;
constexpr int32_t kLayoutByte = 16;
constexpr int32_t kToImage = 2;  // byte b of 9065 is position b + 2 of the programme image
constexpr int32_t kLoadShift = 1;
constexpr int32_t kProgrammeTypes[] = {26, 27};
constexpr int32_t kWordLimit = 0xFFFF;
constexpr int32_t kByteLimit = 0xFF;

using Word = int32_t CardioProgram::*;
constexpr Word kHeadWords[] = {&CardioProgram::Value1, &CardioProgram::Value2,
                               &CardioProgram::FactorA, &CardioProgram::FactorB,
                               &CardioProgram::FactorC};
constexpr Word kTailWords[] = {&CardioProgram::Value159, &CardioProgram::Value161,
                               &CardioProgram::RateA, &CardioProgram::RateB, &CardioProgram::RateC};
constexpr int32_t kHeadAt = 6;
constexpr int32_t kByte158At = 156;
constexpr int32_t kTailAt = 157;

using EntryWord = int32_t CardioProgramEntry::*;
constexpr EntryWord kEntryWords[] = {&CardioProgramEntry::Value1, &CardioProgramEntry::Value2,
                                     &CardioProgramEntry::Value3, &CardioProgramEntry::Value4,
                                     &CardioProgramEntry::Value5};

int32_t EntryAt(int32_t n) {
  return exercise::kProgramEntryStart - kToImage + exercise::kProgramEntrySize * n;
}

bool FitsName(const char (&name)[12]) {
  return strnlen(name, sizeof name) <= exercise::kProgramNameLength &&
         NameFitsTable0(name, sizeof name);
}

bool Check(const CardioProgram& r) {
  if (std::find(std::begin(kProgrammeTypes), std::end(kProgrammeTypes), r.UnitType) ==
      std::end(kProgrammeTypes)) {
    return false;
  }
  for (Word w : kHeadWords)
    if (!InRange(r.*w, 0, kWordLimit)) return false;
  for (Word w : kTailWords)
    if (!InRange(r.*w, 0, kWordLimit)) return false;
  if (!InRange(r.Byte158, 0, kByteLimit)) return false;
  for (const CardioProgramEntry& e : r.Entries) {
    for (EntryWord w : kEntryWords)
      if (!InRange(e.*w, 0, kWordLimit)) return false;
    if (!InRange(e.Last, 0, kByteLimit) || !FitsName(e.Name)) return false;
  }
  return true;
}

void PutWord(const ImageWriter& image, int32_t at, int32_t value) {
  image.byte(at, value);
  image.byte(at + 1, value >> 8);
}

void Pack(const CardioProgram& r) {
  const ImageWriter image(kMessage, kParam);
  for (int32_t i = kPayload; i < kPayload + kPayloadBytes; ++i)
    image.byte(i, 0);
  image.byte(kPayload, kLayoutByte);
  for (size_t i = 0; i < std::size(kHeadWords); ++i)
    PutWord(image, kHeadAt + 2 * static_cast<int32_t>(i), r.*kHeadWords[i]);
  for (int32_t n = 0; n < exercise::kProgramEntries; ++n) {
    const CardioProgramEntry& e = r.Entries[n];
    const int32_t at = EntryAt(n);
    for (size_t i = 0; i < std::size(kEntryWords); ++i)
      PutWord(image, at + 2 * static_cast<int32_t>(i), e.*kEntryWords[i]);
    char name[exercise::kProgramNameLength] = {};
    std::memcpy(name, e.Name, strnlen(e.Name, sizeof name));
    PackUnitName(image, at + exercise::kProgramEntryName, name, sizeof name);
    image.byte(at + exercise::kProgramEntryLast, e.Last);
  }
  image.byte(kByte158At, r.Byte158);
  for (size_t i = 0; i < std::size(kTailWords); ++i)
    PutWord(image, kTailAt + 2 * static_cast<int32_t>(i), r.*kTailWords[i]);
}

// Fills the record from an image the data file gave (one index later than packed); the unit
// type stays the caller's, which the image does not carry.
int32_t UnpackLoaded(CardioProgram& r) {
  const int32_t unit_type = r.UnitType;
  std::memset(&r, 0, sizeof r);
  r.UnitType = unit_type;
  const ImageReader image(kMessage, kParam);
  const auto word = [&](int32_t at) {
    return image.byte(at + kLoadShift) | image.byte(at + kLoadShift + 1) << 8;
  };
  for (size_t i = 0; i < std::size(kHeadWords); ++i)
    r.*kHeadWords[i] = word(kHeadAt + 2 * static_cast<int32_t>(i));
  for (int32_t n = 0; n < exercise::kProgramEntries; ++n) {
    CardioProgramEntry& e = r.Entries[n];
    const int32_t at = EntryAt(n);
    for (size_t i = 0; i < std::size(kEntryWords); ++i)
      e.*kEntryWords[i] = word(at + 2 * static_cast<int32_t>(i));
    UnpackUnitName(image, at + exercise::kProgramEntryName + kLoadShift, e.Name,
                   exercise::kProgramNameLength);
    e.Last = image.byte(at + exercise::kProgramEntryLast + kLoadShift);
  }
  r.Byte158 = image.byte(kByte158At + kLoadShift);
  for (size_t i = 0; i < std::size(kTailWords); ++i)
    r.*kTailWords[i] = word(kTailAt + 2 * static_cast<int32_t>(i));
  return Check(r) ? 1 : 0;
}

// The J9 programme write.
constexpr int32_t kWriteAddress = 31744;
constexpr int32_t kWriteBlock = 40;
constexpr int32_t kLastBlock = 2;
constexpr int32_t kBlockData = 8;  // a block write carries its bytes from scratch index 8
constexpr uint32_t kBeforeTakeMs = 300;
constexpr int32_t kTakeProgramme = 9072;

int32_t BlockCount(int32_t i) {
  return i == kProgramWriteBlocks - 1 ? kLastBlock : kWriteBlock;
}

}  // namespace

bool PrepareCardioProgram(CardioProgram& record) {
  if (!Check(record)) return false;
  Pack(record);
  protocol::SealMessageImage(kMessage, 0, 0);
  return true;
}

int32_t ProgramWriteBlock(int32_t i) {
  if (i < 0 || i >= kProgramWriteBlocks) return 0;
  protocol::RawMemoryState& raw = module().raw_memory;
  raw.area50_address = kWriteAddress + kWriteBlock * i;
  raw.area50_count = BlockCount(i);
  return raw.area50_address;
}

int32_t WriteJ9Program(CommParams& params) {
  Module& m = module();
  for (int32_t i = 0; i < kProgramWriteBlocks; ++i) {
    ProgramWriteBlock(i);
    m.banks.clear_scratch();
    m.unit.type = protocol::kFitnessUnitType;
    m.raw_memory.leading_byte = 0;
    const ImageReader image(kMessage, kParam);
    for (int32_t k = 0; k < BlockCount(i); ++k)
      m.banks.set_scratch(kBlockData + k,
                          static_cast<uint8_t>(image.byte(kPayload + kWriteBlock * i + k)));
    if (!Delivered(transfer::SendUnitMessage(params, protocol::msg::kBlockWriteLead,
                                             protocol::kVariableArea))) {
      return 0;
    }
  }
  platform::clock().sleep_ms(kBeforeTakeMs);
  return Delivered(transfer::SendUnitMessage(params, kTakeProgramme, 0)) ? 1 : 0;
}

int32_t SendCardioProgram(CommParams& params, CardioProgram& record) {
  SendSteps steps;
  steps.write_message = kMessage;
  steps.prepare = [&] { return PrepareCardioProgram(record); };
  steps.unpack_loaded = [&] { return UnpackLoaded(record); };
  steps.infrared = [&] { return WriteJ9Program(params); };
  return SendSettings(params, steps);
}

}  // namespace quibra::settings
