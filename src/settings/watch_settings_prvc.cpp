#include "settings/watch_settings_prvc.h"

#include <array>
#include <cstring>
#include <span>
#include <string>

#include "codec/charset.h"
#include "codec/dates.h"
#include "frame/comm_params.h"
#include "frame/module.h"
#include "platform/registry.h"
#include "platform/today.h"
#include "protocol/message_ids.h"
#include "protocol/seal.h"
#include "prvc/device_text.h"
#include "prvc/unit_memory.h"
#include "prvc/write_back.h"
#include "settings/image_bytes.h"
#include "settings/logo_packing.h"
#include "settings/logo_transfer.h"
#include "settings/transfer_pattern.h"
#include "sound/pipcast.h"
#include "transfer/send_unit_message.h"

namespace quibra::settings {
namespace {

constexpr int32_t kOlderShort = 9077;
constexpr int32_t kOlderLong = protocol::msg::kOlderPrvcWatchSettings;  // 9084
constexpr int32_t kNewerClock = 9091;
constexpr int32_t kNewerEvent = 9092;
constexpr int32_t kSecondsPerDay = 86400;
constexpr int32_t kFirstDate = 20000101;
constexpr int32_t kLastDate = 20991231;
constexpr uint32_t kPauseMs = 300;

// The older units that take the watch settings at all, and those that take the long message.
constexpr int32_t kOlderTypes[] = {28, 29, 30, 31, 32, 33, 35, 36, 37};
constexpr int32_t kLongMessageTypes[] = {30, 32};
// Type 30 gets the locale's hour mode where the others get the offset.
constexpr int32_t kHourModeInOffsetType = 30;
constexpr int32_t kOlderNameChars = 8;
constexpr int32_t kOlderNameTable = 3;
constexpr size_t kNewerNameChars = 10;
constexpr uint8_t kEventBit = 0x20;  // 32 x EventOn
// The logo the unit shows is read from slot 0 and written back to slot 128.
constexpr int32_t kLogoReadSlot = 0;
constexpr int32_t kLogoWriteBackSlot = 128;
// The watch area the read sees starts 5 bytes before the address the identification gives.
constexpr int32_t kWatchAreaLead = 5;
constexpr size_t kWatchAreaBytes = 30;
// A read offset byte of 208 or more is negative.
constexpr int32_t kFirstNegativeOffset = 208;

// Image indexes of the older message (9077 and 9084 share one store).
enum OlderByte : int32_t {
  kDay = 5,
  kMonth = 6,
  kYear = 7,
  kSeconds = 8,
  kMinutes = 9,
  kHours = 10,
  kOffset = 11,
  kAlarmMinutes = 12,
  kAlarmHours = 13,
  kAlarmMode = 14,
  kHourModeEvent = 15,
  kEventDays = 16,
  kEventName = 18,
};
// Image indexes of 9091 and 9092.
enum NewerByte : int32_t {
  kFlags = 11,
  kNewerOffset = 12,
  kNewerAlarmMinutes = 13,
  kNewerAlarmHours = 14,
  kNewerAlarmMode = 15,
  kNewerEventOn = 5,
  kNewerEventDays = 6,
  kNewerEventName = 8,
};
// The flag byte of 9091: bit 0 the 12-hour clock, bit 2 WatchOption, bit 3 always, ModeValue in
// the high nibble.
constexpr int32_t kFlagTwelveHour = 1;
constexpr int32_t kFlagWatchOption = 4;
constexpr int32_t kFlagAlways = 8;
constexpr int32_t kFlagModeShift = 4;

// The watch area as the read sees it.
enum AreaByte : size_t {
  kAreaOption = 0,
  kAreaOffset = 1,
  kAreaAlarmMinutes = 2,
  kAreaAlarmHours = 3,
  kAreaAlarmMode = 4,
  kAreaFlags = 5,
  kAreaEventDays = 6,
  kAreaEventName = 8,
};

template <size_t N>
bool OneOf(int32_t value, const int32_t (&set)[N]) {
  for (const int32_t v : set) {
    if (v == value) return true;
  }
  return false;
}

bool IsNewerType(int32_t type) {
  return InRange(type, 33, 38);
}

// The user locale's hour mode as the units take it: 0 for the 12-hour clock, 1 for 24 hours.
int32_t LocaleHourMode() {
  return platform::locale().time_locale().twelve_hour ? 0 : 1;
}

bool EventDateInRange(int32_t date) {
  return codec::IsValidDate(date) && InRange(date, kFirstDate, kLastDate);
}

std::string EventName(const PrvcWatchSettings& r) {
  return std::string(r.EventName, strnlen(r.EventName, sizeof r.EventName));
}

bool NameFits(const PrvcWatchSettings& r, int32_t table) {
  return codec::CheckCharString(EventName(r).c_str(), table);
}

bool CheckOlder(const PrvcWatchSettings& r) {
  if (!OneOf(r.UnitType, kOlderTypes)) return false;
  if (r.AlarmOn != 0 && !InRange(r.AlarmTime, 0, kSecondsPerDay - 1)) return false;
  if (r.EventOn != 0) {
    if (!EventDateInRange(r.EventDate)) {
      frame::SetErrorCode(frame::kErrorDate);
      return false;
    }
    if (!NameFits(r, kOlderNameTable)) return false;
  }
  return true;
}

// The clock bytes both families start with: today's day, month and year - 2000, then the time
// of day in BCD seconds, minutes and hours.
void PackClock(const ImageWriter& image, int32_t seconds_ahead) {
  const codec::DateParts today = codec::SplitDate(platform::Today());
  const int32_t now = (platform::NowSeconds() + seconds_ahead) % kSecondsPerDay;
  image.byte(kDay, today.day);
  image.byte(kMonth, today.month);
  image.byte(kYear, today.year - 2000);
  image.bcd(kSeconds, now % 60);
  image.bcd(kMinutes, now % 3600 / 60);
  image.bcd(kHours, now / 3600);
}

void PackEventDays(const ImageWriter& image, int32_t index, int32_t date) {
  const int32_t days = codec::DaysBetween(platform::Today(), date);
  image.byte(index, days);
  image.byte(index + 1, days >> 8);
}

void PackName(const ImageWriter& image, int32_t first, const PrvcWatchSettings& r, size_t count,
              int32_t table) {
  std::array<uint8_t, kNewerNameChars> codes{};
  const std::span<uint8_t> field = std::span<uint8_t>(codes).first(count);
  prvc::PackDeviceText(field, r.EventName, sizeof r.EventName, table);
  for (size_t i = 0; i < count; ++i)
    image.byte(first + static_cast<int32_t>(i), field[i]);
}

void PackOlder(const PrvcWatchSettings& r, bool by_sound) {
  const ImageWriter image(kOlderLong, 1);
  // By sound the unit takes the time a second after it was packed.
  PackClock(image, by_sound ? 1 : 0);
  const int32_t hour_mode = LocaleHourMode();
  image.byte(kOffset, r.UnitType == kHourModeInOffsetType ? hour_mode : r.OffsetValue);
  image.bcd(kAlarmMinutes, r.AlarmTime % 3600 / 60);
  image.bcd(kAlarmHours, r.AlarmTime / 3600);
  image.byte(kAlarmMode, r.AlarmMode);
  image.byte(kHourModeEvent, hour_mode + (r.EventOn != 0 ? kEventBit : 0));
  if (r.EventOn != 0) {
    PackEventDays(image, kEventDays, r.EventDate);
    PackName(image, kEventName, r, kOlderNameChars, kOlderNameTable);
  } else {
    // Nothing of an earlier event is left in the image.
    for (int32_t i = kEventDays; i < kEventName + kOlderNameChars; ++i)
      image.byte(i, 0);
  }
}

int32_t SendOlder(CommParams& params, PrvcWatchSettings& r) {
  const int32_t message = OneOf(r.UnitType, kLongMessageTypes) ? kOlderLong : kOlderShort;
  const bool from_file = params.ReadFromDataFile != 0;
  if (!from_file) {
    if (!CheckOlder(r)) return 0;
    PackOlder(r, params.LinkType == frame::kLinkSound);
    protocol::SealMessageImage(message, r.UnitType, 0);
  }
  // The type is the parameter on every road, so a type 32 unit gets the shorter 9084 over
  // infrared too (the seal above covers that length).
  if (params.LinkType == frame::kLinkInfrared && !from_file)
    return Delivered(transfer::SendUnitMessage(params, message, r.UnitType)) ? 1 : 0;
  return sound::SendBySoundOrDataFile(params, message, r.UnitType) != 0 ? 1 : 0;
}

bool CheckClock(const PrvcWatchSettings& r, int32_t type) {
  if (!IsNewerType(type)) return false;
  // Before the unit was identified there is no watch area to fix after the write.
  if (module().memory_map.watch_area < kWatchAreaLead) return false;
  if (r.AlarmOn != 0 && !InRange(r.AlarmTime, 0, kSecondsPerDay - 1)) return false;
  if (r.EventOn != 0 && !EventDateInRange(r.EventDate)) {
    frame::SetErrorCode(frame::kErrorDate);
    return false;
  }
  return NameFits(r, prvc::kNewerTextTable);
}

bool CheckEvent(const PrvcWatchSettings& r, int32_t type) {
  if (!IsNewerType(type)) return false;
  if (r.EventOn == 0) return true;
  if (!InRange(r.AlarmTime, 0, kSecondsPerDay - 1)) return false;
  if (!EventDateInRange(r.EventDate) || r.EventDate <= platform::Today()) {
    frame::SetErrorCode(frame::kErrorDate);
    return false;
  }
  return NameFits(r, prvc::kNewerTextTable);
}

void PackClockMessage(PrvcWatchSettings& r) {
  if (r.AlarmOn == 0) r.AlarmMode = 0;
  const ImageWriter image(kNewerClock, 1);
  PackClock(image, 0);
  image.byte(kFlags, (LocaleHourMode() == 0 ? kFlagTwelveHour : 0) +
                         kFlagWatchOption * (r.WatchOption & 1) + (r.ModeValue << kFlagModeShift) +
                         kFlagAlways);
  image.byte(kNewerOffset, r.OffsetValue);
  image.bcd(kNewerAlarmMinutes, r.AlarmTime % 3600 / 60);
  image.bcd(kNewerAlarmHours, r.AlarmTime / 3600);
  image.byte(kNewerAlarmMode, r.AlarmMode);
}

void PackEventMessage(const PrvcWatchSettings& r) {
  const ImageWriter image(kNewerEvent, 1);
  image.byte(kNewerEventOn, r.EventOn != 0 ? kEventBit : 0);
  if (r.EventOn != 0) {
    PackEventDays(image, kNewerEventDays, r.EventDate);
    PackName(image, kNewerEventName, r, kNewerNameChars, prvc::kNewerTextTable);
  } else {
    image.byte(kNewerEventDays, 0);
    image.byte(kNewerEventDays + 1, 0);
    PrvcWatchSettings empty{};
    PackName(image, kNewerEventName, empty, kNewerNameChars, prvc::kNewerTextTable);
  }
}

// Without an event the unit shows its logo again: it is read and written back, then the state
// byte is copied and the working memory restored.
int32_t WriteBack(CommParams& params) {
  std::array<int32_t, kMaxLogoColumns> columns{};
  const int32_t type = params.MonitorType;
  if (PrvcReadBitmap(params, type, columns.data(), kLogoReadSlot) == 0) return 0;
  if (SendMonitorLogo(params, type, columns.data(), kLogoWriteBackSlot) == 0) return 0;
  return prvc::FinishMemoryWrite(params) ? 1 : 0;
}

int32_t SendNewer(CommParams& params, PrvcWatchSettings& r) {
  const bool from_file = params.ReadFromDataFile != 0;
  const int32_t type = params.MonitorType;
  if (!from_file) {
    if (!CheckClock(r, type)) return 0;
    PackClockMessage(r);
    protocol::SealMessageImage(kNewerClock, 0, 0);
  }
  if (!Delivered(transfer::SendUnitMessage(params, kNewerClock, 0))) return 0;
  if (!from_file) {
    if (!CheckEvent(r, type)) return 0;
    PackEventMessage(r);
    protocol::SealMessageImage(kNewerEvent, 0, 0);
  }
  if (!Delivered(transfer::SendUnitMessage(params, kNewerEvent, 0))) return 0;
  if (r.EventOn != 0) return 1;
  return WriteBack(params);
}

}  // namespace

int32_t SendPrvcWatchSettings(CommParams& params, PrvcWatchSettings& record) {
  frame::SetErrorCode(frame::kErrorTransferStarted);
  frame::ValidateCommParams(params, 0);
  if (IsNewerType(params.MonitorType)) return SendNewer(params, record);
  return SendOlder(params, record);
}

int32_t ReadPrvcWatchSettings(CommParams& params, PrvcWatchSettings& r) {
  frame::SetErrorCode(frame::kErrorTransferStarted);
  frame::ValidateCommParams(params, 1);
  prvc::CopyStateByteToWatchArea(params);  // its result is not looked at
  std::memset(&r, 0, sizeof r);
  const int32_t watch = module().memory_map.watch_area;
  std::array<uint8_t, kWatchAreaBytes> a{};
  if (watch < kWatchAreaLead ||
      !prvc::ReadUnitMemory(params, watch - kWatchAreaLead, 0, a, kPauseMs))
    return 1;
  r.WatchOption = a[kAreaOption];
  r.OffsetValue = a[kAreaOffset] >= kFirstNegativeOffset ? a[kAreaOffset] - 256 : a[kAreaOffset];
  r.AlarmTime =
      codec::BcdToBin(a[kAreaAlarmHours]) * 3600 + codec::BcdToBin(a[kAreaAlarmMinutes]) * 60;
  r.AlarmMode = a[kAreaAlarmMode];
  r.AlarmOn = r.AlarmMode != 0 ? 1 : 0;
  r.OptionBit0 = a[kAreaFlags] & 1;
  r.EventOn = (a[kAreaFlags] & kEventBit) != 0 ? 1 : 0;
  if (r.EventOn != 0) {
    const int32_t days = a[kAreaEventDays] | a[kAreaEventDays + 1] << 8;
    r.EventDate = codec::AddToDate(platform::Today(), days, 0, 0, 0);
  }
  // An unknown code reads as code 10's character, as the unit's other texts do.
  prvc::UnpackDeviceText(std::span<const uint8_t>(a).subspan(kAreaEventName, kNewerNameChars),
                         r.EventName, sizeof r.EventName, prvc::kNewerTextTable, '\n',
                         prvc::TrailingSpaces::ClearAll);
  return 1;
}

}  // namespace quibra::settings
