#include "settings/outdoor_watch.h"

#include <cstring>

#include "codec/dates.h"
#include "frame/comm_params.h"
#include "platform/today.h"
#include "protocol/seal.h"
#include "settings/image_bytes.h"
#include "settings/outdoor_messages.h"
#include "settings/outdoor_text.h"
#include "settings/transfer_pattern.h"

namespace quibra::settings {
namespace {

constexpr int32_t kNow = -1;
constexpr int32_t kSecondsPerDay = 86400;
constexpr int32_t kFirstDate = 20000101;
constexpr int32_t kLastDate = 20991231;
constexpr int32_t kSecondTimeOffset = 6 * 3600;  // the default second time runs six hours behind
constexpr int32_t kDefaultAlarm = 7 * 3600;
constexpr char kDefaultAlarmText[] = "WAKE UP";

// The 9040 image (sub-image 1), from index 5; the 9041 answer carries each byte one index later.
//
//   index      content
//   5, 6, 7    Date: day, month, year - 2000 (binary)
//   8, 9, 10   TimeOfDay: seconds, minutes, hours (BCD)
//   11, 12     SecondTimeOfDay: minutes, hours (BCD)
//   13, 14     Alarm1Time: minutes, hours (BCD); 15, 16 alarm 2; 17, 18 alarm 3
//   19         bit 0 Alarm1On, bit 1 Alarm2On, bit 2 Alarm3On
//   20         bit 0 OutdoorFlag0, bit 4 OutdoorFlag4, bit 7 OutdoorFlag7
//   21..27     Alarm1Text: 7 codes of table 2, end-marked; 28..34 alarm 2; 35..41 alarm 3
enum WatchByte : int32_t {
  kDay = 5,
  kMonth = 6,
  kYear = 7,
  kSeconds = 8,
  kMinutes = 9,
  kHours = 10,
  kSecondMinutes = 11,
  kSecondHours = 12,
  kFirstAlarmTime = 13,  // two bytes per alarm
  kAlarmsOn = 19,
  kFlags = 20,
  kFirstAlarmText = 21,  // seven bytes per alarm
};
constexpr int32_t kAlarms = 3;

struct FlagBit {
  int32_t OutdoorWatchSettings::*field;
  int bit;
};
constexpr FlagBit kFlagBits[] = {{&OutdoorWatchSettings::OutdoorFlag0, 0},
                                 {&OutdoorWatchSettings::OutdoorFlag4, 4},
                                 {&OutdoorWatchSettings::OutdoorFlag7, 7}};

using Field = int32_t OutdoorWatchSettings::*;
constexpr Field kAlarmOn[kAlarms] = {&OutdoorWatchSettings::Alarm1On,
                                     &OutdoorWatchSettings::Alarm2On,
                                     &OutdoorWatchSettings::Alarm3On};
constexpr Field kAlarmTime[kAlarms] = {&OutdoorWatchSettings::Alarm1Time,
                                       &OutdoorWatchSettings::Alarm2Time,
                                       &OutdoorWatchSettings::Alarm3Time};
using Text = char (OutdoorWatchSettings::*)[kOutdoorTextField];
constexpr Text kAlarmText[kAlarms] = {&OutdoorWatchSettings::Alarm1Text,
                                      &OutdoorWatchSettings::Alarm2Text,
                                      &OutdoorWatchSettings::Alarm3Text};

bool CheckAndComplete(OutdoorWatchSettings& r) {
  r.Size = kOutdoorWatchSize;
  if (r.TimeOfDay == kNow) r.TimeOfDay = platform::NowSeconds();
  if (r.SecondTimeOfDay == kNow) r.SecondTimeOfDay = platform::NowSeconds();
  const int32_t times[] = {r.TimeOfDay, r.SecondTimeOfDay, r.Alarm1Time, r.Alarm2Time,
                           r.Alarm3Time};
  for (const int32_t t : times) {
    if (!InRange(t, 0, kSecondsPerDay - 1)) {
      frame::SetErrorCode(frame::kErrorTimeOfDay);
      return false;
    }
  }
  for (const FlagBit& flag : kFlagBits) {
    if (!IsFlag(r.*flag.field)) return false;
  }
  for (const Field on : kAlarmOn) {
    if (!IsFlag(r.*on)) return false;
  }
  if (r.Date == kNow) r.Date = platform::Today();
  if (!codec::IsValidDate(r.Date) || !InRange(r.Date, kFirstDate, kLastDate)) {
    frame::SetErrorCode(frame::kErrorDate);
    return false;
  }
  r.SecondTimeOfDay -= r.SecondTimeOfDay % 60;
  for (const Field time : kAlarmTime)
    r.*time -= r.*time % 60;
  // The unit shows capitals only.
  for (const Text text : kAlarmText) {
    CapitalizeText(r.*text);
    if (!TextFitsTable(r.*text, kOutdoorTextField, kClockTable)) return false;
  }
  return true;
}

void PackHoursMinutes(const ImageWriter& image, int32_t index, int32_t seconds) {
  image.bcd(index, seconds % 3600 / 60);
  image.bcd(index + 1, seconds / 3600);
}

int32_t UnpackHoursMinutes(const ImageReader& image, int32_t index) {
  return image.bcd(index + 1) * 3600 + image.bcd(index) * 60;
}

void Pack(const OutdoorWatchSettings& r) {
  const ImageWriter image(outdoor::kWatchWrite, 1);
  const codec::DateParts date = codec::SplitDate(r.Date);
  image.byte(kDay, date.day);
  image.byte(kMonth, date.month);
  image.byte(kYear, date.year - 2000);
  image.bcd(kSeconds, r.TimeOfDay % 60);
  PackHoursMinutes(image, kMinutes, r.TimeOfDay);
  PackHoursMinutes(image, kSecondMinutes, r.SecondTimeOfDay);
  int32_t on = 0;
  for (int32_t a = 0; a < kAlarms; ++a) {
    PackHoursMinutes(image, kFirstAlarmTime + 2 * a, r.*kAlarmTime[a]);
    on |= (r.*kAlarmOn[a] & 1) << a;
    PackMarkedCodes(image, kFirstAlarmText + static_cast<int32_t>(kOutdoorTextChars) * a,
                    ToDeviceCodes(r.*kAlarmText[a], kClockTable));
  }
  image.byte(kAlarmsOn, on);
  int32_t flags = 0;
  for (const FlagBit& flag : kFlagBits)
    flags |= (r.*flag.field & 1) << flag.bit;
  image.byte(kFlags, flags);
}

}  // namespace

bool PrepareOutdoorWatch(OutdoorWatchSettings& record) {
  if (!CheckAndComplete(record)) return false;
  Pack(record);
  protocol::SealMessageImage(outdoor::kWatchWrite, 0, 0);
  return true;
}

void UnPackOutdoorWatch(OutdoorWatchSettings& r) {
  std::memset(&r, 0, sizeof r);
  r.Size = kOutdoorWatchSize;
  // The answer lies in the image the older units' watch read uses as well.
  const ImageReader image(outdoor::kWatchRead, 1);
  auto at = [](int32_t write_index) { return write_index + outdoor::kReadShift; };
  r.Date =
      codec::MakeDate(image.byte(at(kDay)), image.byte(at(kMonth)), 2000 + image.byte(at(kYear)));
  r.TimeOfDay = UnpackHoursMinutes(image, at(kMinutes)) + image.bcd(at(kSeconds));
  r.SecondTimeOfDay = UnpackHoursMinutes(image, at(kSecondMinutes));
  for (int32_t a = 0; a < kAlarms; ++a) {
    r.*kAlarmTime[a] = UnpackHoursMinutes(image, at(kFirstAlarmTime + 2 * a));
    r.*kAlarmOn[a] = image.bit(at(kAlarmsOn), a) ? 1 : 0;
    UnpackMarkedText(image, at(kFirstAlarmText + static_cast<int32_t>(kOutdoorTextChars) * a),
                     r.*kAlarmText[a], kClockTable);
  }
  for (const FlagBit& flag : kFlagBits)
    r.*flag.field = image.bit(at(kFlags), flag.bit) ? 1 : 0;
}

void ResetOutdoorWatch(OutdoorWatchSettings& r) {
  std::memset(&r, 0, sizeof r);
  r.Size = kOutdoorWatchSize;
  r.TimeOfDay = platform::NowSeconds();
  r.SecondTimeOfDay = r.TimeOfDay - kSecondTimeOffset;
  if (r.SecondTimeOfDay < 0) r.SecondTimeOfDay += kSecondsPerDay;
  r.OutdoorFlag7 = 1;
  r.Date = platform::Today();
  for (int32_t a = 0; a < kAlarms; ++a) {
    r.*kAlarmTime[a] = kDefaultAlarm;
    std::memcpy(r.*kAlarmText[a], kDefaultAlarmText, sizeof kDefaultAlarmText);
  }
}

int32_t SendOutdoorWatch(CommParams& params, OutdoorWatchSettings& record) {
  frame::SetErrorCode(frame::kErrorTransferStarted);
  SendSteps steps;
  steps.write_message = outdoor::kWatchWrite;
  steps.prepare = [&] { return PrepareOutdoorWatch(record); };
  // Read from the data file, the settings fill the caller's record, as every other group's do
  // (rather than the record being packed, unchecked, over the image the file gave).
  steps.unpack_loaded = [&] {
    UnPackOutdoorWatch(record);
    return 1;
  };
  return SendSettings(params, steps);
}

int32_t ReadOutdoorWatch(CommParams& params, OutdoorWatchSettings& record) {
  return ReadSettings(params, outdoor::kWatchRead, 0, [&] { UnPackOutdoorWatch(record); });
}

}  // namespace quibra::settings
