#include "settings/vcq.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "frame/comm_params.h"
#include "frame/module.h"
#include "protocol/message_ids.h"
#include "protocol/raw_memory.h"
#include "protocol/seal.h"
#include "settings/file_date.h"
#include "settings/image_bytes.h"
#include "sound/pipcast.h"

namespace quibra::settings {
namespace {

// ---- distance totals ----------------------------------------------------------------------

constexpr int32_t kTotalsArea = 59;
// The page of the unit's memory that area 59 lies in, sent before the block.
constexpr uint8_t kTotalsPage = 160;
constexpr int32_t kLargestTotal = 999999;
// The block is packed as memory bytes 8..31: the page byte and the address go in front of it
// (5, then 6 and 7) when it is sent.
constexpr int32_t kPackAt = 8;
// Per total: three BCD bytes, three zero bytes, the two date bytes.
constexpr int32_t kTotalGroup = 8;
constexpr int32_t kDateInGroup = 6;

// ---- exercise settings --------------------------------------------------------------------

constexpr int32_t kExerciseParam = 0;
constexpr int32_t kReadShift = 1;

enum Byte9079 : int32_t {
  kTimerSwitches = 5,  // bit 0 timer 1, bit 1 timer 2
  kTimer1Bytes = 6,    // seconds part and whole minutes, BCD
  kTimer2Bytes = 8,
  kModeByte = 10,  // mode in bits 0..1, limits in percent bit 2, flag 3 bit 3
  kLowerByte = 11,
  kUpperByte = 12,
  kBitsByte = 13,     // the six flags in bits 0..5
  kNibbleBytes = 14,  // three bytes of two nibbles, the even one low
};
constexpr int kPercentBit = 2;
constexpr int kFlag3Bit = 3;

constexpr int32_t kUnitTypes[] = {29, 31};
constexpr int32_t kLastMode = 2;
constexpr int32_t kTimerDefault = 120;
constexpr int32_t kShortestTimer = 5;
constexpr int32_t kLongestTimer = 5999;
// The VCQ units take limits in percent as they are: no base rate converts them, so the shared
// rule is given a base rate that it always accepts.
constexpr int32_t kUnusedBaseRate = 100;

using Field = int32_t VcqExerciseSettings::*;

struct Timer {
  Field on;
  Field seconds;
  int32_t bytes;
};
constexpr Timer kTimers[] = {
    {&VcqExerciseSettings::VcqTimer1On, &VcqExerciseSettings::VcqTimer1, kTimer1Bytes},
    {&VcqExerciseSettings::VcqTimer2On, &VcqExerciseSettings::VcqTimer2, kTimer2Bytes}};

constexpr Field kBits[] = {&VcqExerciseSettings::VcqBit0, &VcqExerciseSettings::VcqBit1,
                           &VcqExerciseSettings::VcqBit2, &VcqExerciseSettings::VcqBit3,
                           &VcqExerciseSettings::VcqBit4, &VcqExerciseSettings::VcqBit5};
constexpr Field kNibbles[] = {&VcqExerciseSettings::VcqNibble0, &VcqExerciseSettings::VcqNibble1,
                              &VcqExerciseSettings::VcqNibble2, &VcqExerciseSettings::VcqNibble3,
                              &VcqExerciseSettings::VcqNibble4, &VcqExerciseSettings::VcqNibble5};

bool CheckAndComplete(VcqExerciseSettings& r, bool lenient) {
  if (std::find(std::begin(kUnitTypes), std::end(kUnitTypes), r.VcqUnitType) ==
      std::end(kUnitTypes)) {
    return false;
  }
  for (const Timer& t : kTimers) {
    if (!IsFlag(r.*t.on)) return false;
    if (InRange(r.*t.seconds, kShortestTimer, kLongestTimer)) continue;
    if (r.*t.on != 0 && !lenient) return false;
    r.*t.seconds = kTimerDefault;
  }
  if (!InRange(r.VcqMode, 0, kLastMode) || !IsFlag(r.VcqLimitsInPercent)) return false;
  const LimitRule limits{r.VcqLimitsInPercent != 0, kUnusedBaseRate, 160, 80, true};
  if (!CheckLimitPair(r.VcqUpperLimit, r.VcqLowerLimit, limits)) return false;
  // The flags and the 4-bit values have no range of their own: the record is left holding
  // what their bits carry.
  r.VcqFlag3 = r.VcqFlag3 != 0 ? 1 : 0;
  for (Field bit : kBits)
    r.*bit = r.*bit != 0 ? 1 : 0;
  for (Field nibble : kNibbles)
    r.*nibble &= 0x0F;
  return true;
}

void Pack(const VcqExerciseSettings& r) {
  const ImageWriter image(protocol::msg::kVcqExerciseWrite, kExerciseParam);
  image.byte(kTimerSwitches, r.VcqTimer1On + r.VcqTimer2On * 2);
  for (const Timer& t : kTimers)
    PackMinutesSeconds(image, t.bytes, r.*t.seconds);
  image.byte(kModeByte,
             r.VcqMode + (r.VcqLimitsInPercent << kPercentBit) + (r.VcqFlag3 << kFlag3Bit));
  image.byte(kLowerByte, r.VcqLowerLimit);
  image.byte(kUpperByte, r.VcqUpperLimit);
  int32_t bits = 0;
  for (size_t i = 0; i < std::size(kBits); ++i)
    bits |= r.*kBits[i] << i;
  image.byte(kBitsByte, bits);
  for (int32_t i = 0; i < 3; ++i)
    image.nibbles(kNibbleBytes + i, r.*kNibbles[2 * i + 1], r.*kNibbles[2 * i]);
}

// The image a data file gave, one index later than written. The unit type is not in the image:
// the record is cleared, so it reads 0.
void UnPack(VcqExerciseSettings& r) {
  std::memset(&r, 0, sizeof r);
  const ImageReader image(protocol::msg::kVcqExerciseWrite, kExerciseParam);
  auto at = [](int32_t write_index) { return write_index + kReadShift; };
  const int32_t switches = image.byte(at(kTimerSwitches));
  for (size_t i = 0; i < std::size(kTimers); ++i) {
    r.*kTimers[i].on = (switches >> i) & 1;
    r.*kTimers[i].seconds = UnpackMinutesSeconds(image, at(kTimers[i].bytes));
  }
  const int32_t mode = image.byte(at(kModeByte));
  r.VcqMode = (mode & 0x03) != 0 ? 1 : 0;
  r.VcqLimitsInPercent = (mode >> kPercentBit) & 1;
  r.VcqFlag3 = (mode >> kFlag3Bit) & 1;
  r.VcqLowerLimit = image.byte(at(kLowerByte));
  r.VcqUpperLimit = image.byte(at(kUpperByte));
  for (size_t i = 0; i < std::size(kBits); ++i)
    r.*kBits[i] = image.bit(at(kBitsByte), static_cast<int>(i)) ? 1 : 0;
  for (int32_t i = 0; i < 3; ++i) {
    r.*kNibbles[2 * i] = image.low(at(kNibbleBytes + i));
    r.*kNibbles[2 * i + 1] = image.high(at(kNibbleBytes + i));
  }
}

}  // namespace

int32_t SendBikeTotalsVcq(CommParams& params, int32_t monitor_type, int32_t total1, int32_t total2,
                          int32_t date) {
  frame::ValidateCommParams(params, 0);
  // Nothing goes out for a total that does not fit its digits, nor to a unit type whose memory
  // has no totals area: the sound would carry no block.
  if (!InRange(total1, 0, kLargestTotal) || !InRange(total2, 0, kLargestTotal)) return 0;
  if (!protocol::FindMemoryArea(monitor_type, kTotalsArea)) return 0;
  Module& m = module();
  m.banks.clear_scratch();
  m.unit.type = monitor_type;
  m.raw_memory.leading_byte = kTotalsPage;
  const std::array<uint8_t, 2> date_bytes = PackFileDate(date);
  const int32_t totals[] = {std::min(total1 + total2, kLargestTotal), total1, total2};
  const ImageWriter block(protocol::msg::kBlockWriteLead, kTotalsArea);
  for (size_t i = 0; i < std::size(totals); ++i) {
    const int32_t group = kPackAt + kTotalGroup * static_cast<int32_t>(i);
    PackSixDigits(block, group, totals[i]);
    block.byte(group + kDateInGroup, date_bytes[0]);
    block.byte(group + kDateInGroup + 1, date_bytes[1]);
  }
  return sound::SendBySoundOrDataFile(params, protocol::msg::kBlockWriteLead, kTotalsArea) != 0 ? 1
                                                                                                : 0;
}

bool PrepareVcqExerciseSettings(VcqExerciseSettings& record, bool lenient) {
  if (!CheckAndComplete(record, lenient)) return false;
  Pack(record);
  protocol::SealMessageImage(protocol::msg::kVcqExerciseWrite, 0, 0);
  return true;
}

int32_t SendVcqExerciseSettings(CommParams& params, VcqExerciseSettings& record) {
  frame::SetErrorCode(frame::kErrorTransferStarted);
  frame::ValidateCommParams(params, 0);
  const bool from_file = params.ReadFromDataFile != 0;
  if (!from_file && !PrepareVcqExerciseSettings(record, false)) return 0;
  // These units have no infrared receiver: over infrared there is nothing to send.
  if (params.LinkType == frame::kLinkInfrared && !from_file && params.WriteToDataFile == 0) {
    return 1;
  }
  if (sound::SendBySoundOrDataFile(params, protocol::msg::kVcqExerciseWrite, kExerciseParam) == 0)
    return 0;
  if (from_file) UnPack(record);
  return 1;
}

}  // namespace quibra::settings
