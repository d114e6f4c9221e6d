#include "settings/watch_settings.h"

#include <cstring>

#include "codec/dates.h"
#include "codec/time_text.h"
#include "frame/comm_params.h"
#include "platform/today.h"
#include "protocol/message_ids.h"
#include "protocol/seal.h"
#include "settings/image_bytes.h"
#include "settings/transfer_pattern.h"

namespace quibra::settings {
namespace {

constexpr int32_t kNow = -1;
constexpr int32_t kSecondsPerDay = 86400;
constexpr int32_t kFirstDate = 20000101;
constexpr int32_t kLastDate = 20991231;
constexpr int32_t kSecondTimeOffset = 6 * 3600;  // the default second time runs six hours behind
constexpr int32_t kDefaultAlarm = 7 * 3600;

// Write-image indexes; the read image carries each one index later.
enum WatchByte : int32_t {
  kSeconds = 5,
  kMinutes = 6,
  kHours = 7,
  kDay = 8,
  kYear = 9,
  kWeekdayMonth = 10,
  kAlarmMinutes = 11,
  kAlarmHours = 12,
  kSecondMinutes = 13,
  kSecondHours = 14,
  kFlags = 15,
};
constexpr int32_t kReadShift = 1;

// Bits of the flag byte.
enum WatchFlag : int {
  kAlarmPm = 0,
  kTimePm = 1,
  kOptionBit2 = 2,
  kTwelveHour = 3,
  kSecondTimeActive = 4,
  kSecondTimePm = 5,
  kSecondTwelveHour = 6,
};

using Field = int32_t WatchSettings::*;
constexpr Field kTimeFields[] = {&WatchSettings::TimeOfDay, &WatchSettings::SecondTimeOfDay,
                                 &WatchSettings::AlarmTime};
constexpr Field kFlagFields[] = {&WatchSettings::TwelveHour, &WatchSettings::SecondTwelveHour,
                                 &WatchSettings::SecondTimeActive, &WatchSettings::OptionBit2};

// The alarm is shown in the 12-hour form of whichever time of day is in use.
bool AlarmInTwelveHours(const WatchSettings& r) {
  return r.SecondTimeActive == 0 ? r.TwelveHour != 0 : r.SecondTwelveHour != 0;
}

// The hour byte of a time, in 12-hour form when asked; returns the PM bit of that form.
bool PackHours(const ImageWriter& image, int32_t index, int32_t seconds, bool twelve_hour) {
  int32_t hours = seconds / 3600;
  const bool pm = twelve_hour && codec::To12Hour(hours);
  image.bcd(index, hours);
  return pm;
}

int32_t UnpackHours(const ImageReader& image, int32_t index, bool twelve_hour, bool pm) {
  const int32_t hours = image.bcd(index);
  return twelve_hour ? codec::To24Hour(hours, pm) : hours;
}

bool CheckAndComplete(WatchSettings& r) {
  r.Size = kWatchSettingsSize;
  if (r.TimeOfDay == kNow) r.TimeOfDay = platform::NowSeconds();
  if (r.SecondTimeOfDay == kNow) r.SecondTimeOfDay = platform::NowSeconds();
  for (Field field : kTimeFields) {
    if (!InRange(r.*field, 0, kSecondsPerDay - 1)) {
      frame::SetErrorCode(frame::kErrorTimeOfDay);
      return false;
    }
  }
  for (Field field : kFlagFields) {
    if (!IsFlag(r.*field)) return false;
  }
  if (r.Date == kNow) r.Date = platform::Today();
  if (!codec::IsValidDate(r.Date) || !InRange(r.Date, kFirstDate, kLastDate)) {
    frame::SetErrorCode(frame::kErrorDate);
    return false;
  }
  r.SecondTimeOfDay -= r.SecondTimeOfDay % 60;
  r.AlarmTime -= r.AlarmTime % 60;
  return true;
}

void Pack(const WatchSettings& r) {
  const ImageWriter image(protocol::msg::kWatchSettingsWrite, 1);
  const codec::DateParts date = codec::SplitDate(r.Date);
  image.bcd(kSeconds, r.TimeOfDay % 60);
  image.bcd(kMinutes, r.TimeOfDay % 3600 / 60);
  const bool time_pm = PackHours(image, kHours, r.TimeOfDay, r.TwelveHour != 0);
  image.bcd(kDay, date.day);
  image.bcd(kYear, date.year - 2000);
  image.nibbles(kWeekdayMonth, codec::Weekday(r.Date), date.month);
  image.bcd(kAlarmMinutes, r.AlarmTime % 3600 / 60);
  const bool alarm_pm = PackHours(image, kAlarmHours, r.AlarmTime, AlarmInTwelveHours(r));
  image.bcd(kSecondMinutes, r.SecondTimeOfDay % 3600 / 60);
  const bool second_pm = PackHours(image, kSecondHours, r.SecondTimeOfDay, r.SecondTwelveHour != 0);
  image.byte(kFlags, (alarm_pm ? 1 << kAlarmPm : 0) | (time_pm ? 1 << kTimePm : 0) |
                         (r.OptionBit2 & 1) << kOptionBit2 | (r.TwelveHour & 1) << kTwelveHour |
                         (r.SecondTimeActive & 1) << kSecondTimeActive |
                         (second_pm ? 1 << kSecondTimePm : 0) |
                         (r.SecondTwelveHour & 1) << kSecondTwelveHour);
}

}  // namespace

bool PrepareWatchSettings(WatchSettings& record) {
  if (!CheckAndComplete(record)) return false;
  Pack(record);
  protocol::SealMessageImage(protocol::msg::kWatchSettingsWrite, 0, 0);
  return true;
}

void UnPackWatchSettings(WatchSettings& r) {
  std::memset(&r, 0, sizeof r);
  r.Size = kWatchSettingsSize;
  const ImageReader image(protocol::msg::kWatchSettingsRead, 1);
  auto at = [](int32_t write_index) { return write_index + kReadShift; };
  auto flag = [&](int bit) { return image.bit(at(kFlags), bit); };
  r.TwelveHour = flag(kTwelveHour) ? 1 : 0;
  r.SecondTwelveHour = flag(kSecondTwelveHour) ? 1 : 0;
  r.SecondTimeActive = flag(kSecondTimeActive) ? 1 : 0;
  r.OptionBit2 = flag(kOptionBit2) ? 1 : 0;
  r.TimeOfDay = UnpackHours(image, at(kHours), r.TwelveHour != 0, flag(kTimePm)) * 3600 +
                image.bcd(at(kMinutes)) * 60 + image.bcd(at(kSeconds));
  r.Date = codec::MakeDate(image.bcd(at(kDay)), image.low(at(kWeekdayMonth)),
                           2000 + image.bcd(at(kYear)));
  r.AlarmTime = UnpackHours(image, at(kAlarmHours), AlarmInTwelveHours(r), flag(kAlarmPm)) * 3600 +
                image.bcd(at(kAlarmMinutes)) * 60;
  r.SecondTimeOfDay =
      UnpackHours(image, at(kSecondHours), r.SecondTwelveHour != 0, flag(kSecondTimePm)) * 3600 +
      image.bcd(at(kSecondMinutes)) * 60;
}

void ResetWatchSettings(WatchSettings& r) {
  std::memset(&r, 0, sizeof r);
  r.Size = kWatchSettingsSize;
  r.TimeOfDay = platform::NowSeconds();
  r.SecondTimeOfDay = r.TimeOfDay - kSecondTimeOffset;
  if (r.SecondTimeOfDay < 0) r.SecondTimeOfDay += kSecondsPerDay;
  r.SecondTwelveHour = 1;
  r.Date = platform::Today();
  r.AlarmTime = kDefaultAlarm;
}

int32_t SendWatchSettings(CommParams& params, WatchSettings& record) {
  frame::SetErrorCode(frame::kErrorTransferStarted);
  SendSteps steps;
  steps.write_message = protocol::msg::kWatchSettingsWrite;
  steps.prepare = [&] { return PrepareWatchSettings(record); };
  // Read from the data file, the settings fill the caller's record as every other group's do
  // (rather than the record being packed, unchecked, over the image the file gave).
  steps.unpack_loaded = [&] {
    UnPackWatchSettings(record);
    return 1;
  };
  return SendSettings(params, steps);
}

int32_t ReadWatchSettings(CommParams& params, WatchSettings& record) {
  return ReadSettings(params, protocol::msg::kWatchSettingsRead, 0,
                      [&] { UnPackWatchSettings(record); });
}

}  // namespace quibra::settings
