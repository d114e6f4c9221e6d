#include "settings/outdoor_reminders.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "codec/charset.h"
#include "codec/dates.h"
#include "frame/comm_params.h"
#include "platform/today.h"
#include "protocol/engine.h"
#include "protocol/seal.h"
#include "settings/image_bytes.h"
#include "settings/outdoor_messages.h"
#include "settings/outdoor_text.h"
#include "settings/transfer_pattern.h"

namespace quibra::settings {
namespace {

constexpr int32_t kFirstDate = 20030101;
constexpr int32_t kLastDate = 20891231;
constexpr int32_t kNoon = 12 * 3600;
constexpr int32_t kSecondsPerDay = 86400;
// The batch row the mark flag marks: the reminder number past this one.
constexpr int kMarkedRowBase = 11;

// The unit numbers its reminders 1..5: reminder n lives in sub-image n + 1 on every road
// (infrared, sound, data file and the batch reads of rows 44..48 alike), so that what one road
// writes the others read back.
constexpr int32_t SubImageOf(int32_t number) {
  return number + 1;
}

// The 9052 image of a reminder, from index 5; the 9053 answer starts with the text at index 6
// (the unit leaves the number out), while an image loaded from the data file keeps the write
// layout one index later (the number at 6, the text from 7).
//
//   index      content
//   5          the sub-image number (number + 1; the bank gives it to every read of index 5)
//   6..12      ReminderText: 7 codes of table 1, in capitals, punctuation other than '!' as
//              spaces, end-marked
//   13         ReminderOn
//   14, 15     ReminderTime: minutes, hours (BCD)
//   16, 17, 18 ReminderDate: day, month, year - 2000 (binary)
enum ReminderByte : int32_t {
  kText = 6,
  kOn = 13,
  kMinutes = 14,
  kHours = 15,
  kDay = 16,
  kMonth = 17,
  kYear = 18,
};

// The reminder font has the letters, digits and the exclamation mark; every other punctuation
// code of table 1 (63 and above, but 64) shows as a space.
constexpr uint8_t kExclamationMark = 64;
constexpr uint8_t kFirstPunctuation = 63;

bool CheckAndComplete(OutdoorReminder& r) {
  if (r.Size == 0) r.Size = kOutdoorReminderSize;
  r.ReminderNumber = InRangeOr(r.ReminderNumber, 0, kOutdoorReminders - 1, 0);
  r.ReminderOn = IsFlag(r.ReminderOn) ? r.ReminderOn : 0;
  if (!codec::IsValidDate(r.ReminderDate) || !InRange(r.ReminderDate, kFirstDate, kLastDate))
    r.ReminderDate = platform::Today();
  r.ReminderTime = InRangeOr(r.ReminderTime, 0, kSecondsPerDay - 1, kNoon);
  return TextFitsTable(r.ReminderText, kOutdoorTextField, kTextTable);
}

OutdoorCodes ReminderCodes(const char* text) {
  char capitals[kOutdoorTextField];
  std::memcpy(capitals, text, sizeof capitals);
  CapitalizeText(capitals);
  OutdoorCodes codes = ToDeviceCodes(capitals, kTextTable);
  for (uint8_t& code : codes) {
    if (code >= kFirstPunctuation && code != kExclamationMark) code = codec::kDeviceSpace;
  }
  return codes;
}

void Pack(const OutdoorReminder& r) {
  const ImageWriter image(outdoor::kReminderWrite, SubImageOf(r.ReminderNumber));
  PackMarkedCodes(image, kText, ReminderCodes(r.ReminderText));
  image.byte(kOn, r.ReminderOn);
  image.bcd(kMinutes, r.ReminderTime % 3600 / 60);
  image.bcd(kHours, r.ReminderTime / 3600);
  const codec::DateParts date = codec::SplitDate(r.ReminderDate);
  image.byte(kDay, date.day);
  image.byte(kMonth, date.month);
  image.byte(kYear, date.year - 2000);
}

}  // namespace

bool PrepareOutdoorReminder(OutdoorReminder& record, bool mark) {
  if (!CheckAndComplete(record)) return false;
  Pack(record);
  protocol::SealMessageImage(outdoor::kReminderWrite, SubImageOf(record.ReminderNumber), 0);
  if (mark) protocol::MarkBatchRowRead(record.ReminderNumber + kMarkedRowBase);
  return true;
}

bool UnPackOutdoorReminder(int32_t number, OutdoorReminder& r, int32_t offset) {
  if (!InRange(number, 0, kOutdoorReminders - 1) || !InRange(offset, 0, 1)) return false;
  std::memset(&r, 0, sizeof r);
  r.Size = kOutdoorReminderSize;
  r.ReminderNumber = number;
  const ImageReader image(outdoor::kReminderRead, SubImageOf(number));
  // The answer's bytes lie where the write image's do, the text at index 6.
  auto at = [&](int32_t write_index) { return write_index + offset; };
  UnpackMarkedText(image, at(kText), r.ReminderText, kTextTable);
  r.ReminderOn = image.byte(at(kOn));
  r.ReminderTime = image.bcd(at(kHours)) * 3600 + image.bcd(at(kMinutes)) * 60;
  r.ReminderDate =
      codec::MakeDate(image.byte(at(kDay)), image.byte(at(kMonth)), 2000 + image.byte(at(kYear)));
  return true;
}

void ResetOutdoorReminder(int32_t number, OutdoorReminder& r) {
  std::memset(&r, 0, sizeof r);
  r.Size = kOutdoorReminderSize;
  r.ReminderNumber = number;
  r.ReminderDate = platform::Today();
  r.ReminderTime = platform::NowSeconds();
  const std::string text = "Remind" + std::to_string(int64_t{number} + 1);
  std::memcpy(r.ReminderText, text.data(), std::min(text.size(), kOutdoorTextChars));
}

int32_t SendOutdoorReminder(CommParams& params, OutdoorReminder& record) {
  SendSteps steps;
  steps.write_message = outdoor::kReminderWrite;
  steps.prepare = [&] { return PrepareOutdoorReminder(record, false); };
  steps.param = [&] {
    // Read from the data file the record is not prepared: its number is kept in range here.
    return SubImageOf(InRangeOr(record.ReminderNumber, 0, kOutdoorReminders - 1, 0));
  };
  steps.unpack_loaded = [&] {
    const int32_t number = InRangeOr(record.ReminderNumber, 0, kOutdoorReminders - 1, 0);
    if (!UnPackOutdoorReminder(number, record, 1)) return 0;
    return CheckAndComplete(record) ? 1 : 0;
  };
  return SendSettings(params, steps);
}

int32_t ReadOutdoorReminder(CommParams& params, int32_t number, OutdoorReminder& record) {
  if (!InRange(number, 0, kOutdoorReminders - 1)) {
    frame::SetErrorCode(frame::kErrorTransferStarted);
    return 0;
  }
  return ReadSettings(params, outdoor::kReminderRead, SubImageOf(number),
                      [&] { UnPackOutdoorReminder(number, record, 0); });
}

}  // namespace quibra::settings
