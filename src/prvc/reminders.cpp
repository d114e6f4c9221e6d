#include "prvc/reminders.h"

#include <cstring>
#include <span>
#include <string>

#include "codec/bcd.h"
#include "codec/charset.h"
#include "codec/dates.h"
#include "codec/time_text.h"
#include "frame/comm_params.h"
#include "frame/module.h"
#include "platform/registry.h"
#include "platform/today.h"
#include "protocol/message_image.h"
#include "protocol/raw_memory.h"
#include "protocol/seal.h"
#include "prvc/device_text.h"
#include "prvc/unit_memory.h"
#include "prvc/write_back.h"
#include "sound/pipcast.h"
#include "transfer/send_unit_message.h"

namespace quibra::prvc {
namespace {

constexpr int32_t kReminderWrite = 9013;
constexpr int32_t kReminderRead = 9014;
constexpr int32_t kReminderSize = 36;
constexpr int32_t kEntrySize = 52;
constexpr int32_t kFirstDate = 20000101;
constexpr int32_t kLastDate = 20891231;
constexpr int32_t kSecondsPerDay = 86400;
constexpr int32_t kNoon = 43200;
constexpr uint32_t kPauseMs = 300;
constexpr size_t kSingleTextChars = 7;
constexpr int32_t kSingleTextTable = 0;
constexpr char kDefaultText[] = "note";
// PrepareReminder's mark: the status it leaves on message 9011 + slot.
constexpr int32_t kMarkBase = 9011;
constexpr int32_t kMarkStatus = 20004;

// 9013 (write) indexes; 9014 carries the same content one index later, the month byte aside.
enum ReminderByte : int32_t {
  kMinutes = 6,
  kHours = 7,
  kDay = 8,
  kYear = 9,
  kMonthFlag = 10,
  kText = 11,
  kValues = 18,
};
constexpr int32_t kReadShift = 1;
constexpr int kNotFlaggedBit = 5;  // month byte: set when the flag is 0
constexpr int kPmBit = 4;          // read month byte: the hour is PM

// The entry bytes of the list kept by the newer units.
enum EntryByte : size_t {
  kEntryDate = 0,
  kEntryMinutes = 2,
  kEntryHours = 3,
  kAdvancedDate = 4,
  kAdvancedMinutes = 6,
  kAdvancedHours = 7,
  kEntryText = 8,
  kEnableValue = 18,
  kCodeByte = 19,
  kAdvanceByte = 20,
};
constexpr size_t kEntryTextChars = 10;
constexpr uint8_t kAdvanceMask = 0x1F;
constexpr uint8_t kHighBitsMask = 0xE0;
// The order block: unused places count on from here.
constexpr uint8_t kFirstUnusedOrder = 10;

// How far before the reminder its advance warns.
struct AdvanceCode {
  int32_t code;
  int32_t seconds;
};
constexpr AdvanceCode kAdvances[] = {{1, 0}, {2, 600}, {4, 1800}, {8, 3600}, {16, kSecondsPerDay}};

// The code byte: -1 -> 0, 16 -> 16, 0..9 -> 0x20 + code, 10 and above -> 0x40 + (code - 10).
constexpr int32_t kCodeNone = -1;
constexpr int32_t kCodeSixteen = 16;
constexpr uint8_t kCodeDigit = 0x20;
constexpr uint8_t kCodeHigh = 0x40;

bool InRange(int32_t value, int32_t low, int32_t high) {
  return value >= low && value <= high;
}

bool IsFlag(int32_t value) {
  return value == 0 || value == 1;
}

int32_t CheckedDate(int32_t date) {
  return codec::IsValidDate(date) && InRange(date, kFirstDate, kLastDate) ? date
                                                                          : platform::Today();
}

int32_t CheckedTime(int32_t seconds) {
  return InRange(seconds, 0, kSecondsPerDay - 1) ? seconds : kNoon;
}

// The day before a date; a plain calendar step, so it holds for every year the list keeps.
int32_t PreviousDay(int32_t date) {
  codec::DateParts d = codec::SplitDate(date);
  if (--d.day > 0) return codec::MakeDate(d.day, d.month, d.year);
  if (--d.month == 0) {
    d.month = 12;
    --d.year;
  }
  d.day = 31;
  while (d.day > 28 && !codec::IsCalendarDay(d.day, d.month, d.year))
    --d.day;
  return codec::MakeDate(d.day, d.month, d.year);
}

// The two-byte date of the newer units: day in bits 0..4 and the low 3 month bits in bits 5..7
// of the first byte; the month's bit 3 in bit 0 and the year - 2000 in bits 1..7 of the second.
void PackShortDate(std::span<uint8_t> out, int32_t date) {
  const codec::DateParts d = codec::SplitDate(date);
  out[0] = static_cast<uint8_t>((d.day & 0x1F) | (d.month & 0x07) << 5);
  out[1] = static_cast<uint8_t>((d.month >> 3 & 1) | ((d.year - 2000) & 0x7F) << 1);
}

int32_t UnpackShortDate(std::span<const uint8_t> in) {
  const int32_t day = in[0] & 0x1F;
  const int32_t month = (in[0] >> 5) | (in[1] & 1) << 3;
  return codec::MakeDate(day, month, 2000 + (in[1] >> 1));
}

uint8_t CodeByte(int32_t code) {
  if (code == kCodeSixteen) return kCodeSixteen;
  if (InRange(code, 0, 9)) return static_cast<uint8_t>(kCodeDigit + code);
  if (code >= 10) return static_cast<uint8_t>((kCodeHigh + code - 10) & 0xFF);
  return 0;  // -1, and anything below it, is no code
}

int32_t CodeOfByte(uint8_t byte) {
  if (byte == kCodeSixteen) return kCodeSixteen;
  if ((byte & 0xF0) == kCodeDigit) return byte & 0x0F;
  if ((byte & 0xF0) == kCodeHigh) return (byte & 0x0F) + 10;
  return kCodeNone;
}

// The moment the unit warns: the reminder's date and time less the advance.
struct Moment {
  int32_t date;
  int32_t seconds;
};
Moment Advanced(const PrvcReminder& e) {
  int32_t earlier = e.Advance;  // any other value counts in seconds
  for (const AdvanceCode& a : kAdvances) {
    if (a.code == e.Advance) earlier = a.seconds;
  }
  Moment m{e.Date, e.Time};
  if (e.Advance == 16) {
    m.date = PreviousDay(m.date);
    return m;
  }
  m.seconds -= earlier;
  while (m.seconds < 0) {
    m.seconds += kSecondsPerDay;
    m.date = PreviousDay(m.date);
  }
  return m;
}

void SetReminderByte(int32_t slot, int32_t index, int32_t value) {
  protocol::SetMessageByte(kReminderWrite, slot, index, static_cast<uint8_t>(value & 0xFF));
}

int32_t GetReminderByte(int32_t slot, int32_t write_index) {
  return protocol::GetMessageByte(kReminderRead, slot, write_index + kReadShift);
}

// The name-like text of a single reminder: up to 7 characters, zero-terminated when shorter.
std::string ReminderText(const Reminder& r) {
  return std::string(r.Text, strnlen(r.Text, kSingleTextChars));
}

}  // namespace

bool CheckReminder(Reminder& r) {
  if (r.Size == 0) r.Size = kReminderSize;
  if (!InRange(r.Slot, 0, kReminderSlots - 1)) r.Slot = 0;
  if (!IsFlag(r.Flag)) r.Flag = 0;
  r.Date = CheckedDate(r.Date);
  r.Time = CheckedTime(r.Time);
  if (!InRange(r.UpperValue, 0, 5)) r.UpperValue = 0;
  if (!InRange(r.LowerValue, 0, 8)) r.LowerValue = 0;
  return codec::CheckCharString(ReminderText(r).c_str(), kSingleTextTable);
}

bool PrepareReminder(Reminder& r, bool mark) {
  if (!CheckReminder(r)) return false;
  const codec::DateParts d = codec::SplitDate(r.Date);
  int32_t year = d.year - 1900;
  if (year >= 100) year -= 100;  // 2000 goes as 00, as 2089 goes as 89
  const int32_t slot = r.Slot;
  SetReminderByte(slot, kMinutes, codec::BinToBcd(r.Time % 3600 / 60));
  SetReminderByte(slot, kHours, codec::BinToBcd(r.Time / 3600));
  SetReminderByte(slot, kDay, codec::BinToBcd(d.day));
  SetReminderByte(slot, kYear, codec::BinToBcd(year));
  SetReminderByte(slot, kMonthFlag, d.month + (r.Flag == 0 ? 1 << kNotFlaggedBit : 0));
  const std::string text = ReminderText(r);
  for (size_t i = 0; i < kSingleTextChars; ++i) {
    const int32_t ch = i < text.size() ? static_cast<signed char>(text[i]) : ' ';
    SetReminderByte(slot, kText + static_cast<int32_t>(i),
                    codec::CharToDeviceCode(ch, codec::kDeviceSpace, kSingleTextTable));
  }
  SetReminderByte(slot, kValues, r.UpperValue * 16 + r.LowerValue);
  protocol::SealMessageImage(kReminderWrite, slot, 0);
  if (mark) module().statuses.set(kMarkBase + slot, kMarkStatus);
  return true;
}

int32_t SendReminder(CommParams& params, Reminder& record) {
  frame::ValidateCommParams(params, 0);
  const bool from_file = params.ReadFromDataFile != 0;
  if (!from_file && !PrepareReminder(record, false)) return 0;
  if (params.LinkType == frame::kLinkInfrared && !from_file)
    return transfer::SendUnitMessage(params, kReminderWrite, record.Slot) == 1 ? 1 : 0;
  const int32_t slot = InRange(record.Slot, 0, kReminderSlots - 1) ? record.Slot : 0;
  if (sound::SendBySoundOrDataFile(params, kReminderWrite, slot) == 0) return 0;
  if (from_file) {
    UnPackReminder(slot, record, false);
    CheckReminder(record);
  }
  return 1;
}

int32_t ReadReminder(CommParams& params, int32_t slot, Reminder& record) {
  frame::SetErrorCode(frame::kErrorTransferStarted);
  frame::ValidateCommParams(params, 1);
  if (!InRange(slot, 0, kReminderSlots - 1)) return 0;
  if (transfer::SendUnitMessage(params, kReminderRead, slot) != 1) return 0;
  return UnPackReminder(slot, record, false);
}

int32_t UnPackReminder(int32_t slot, Reminder& r, bool twelve_hour) {
  std::memset(&r, 0, sizeof r);
  r.Size = kReminderSize;
  auto bcd = [&](int32_t index) { return codec::BcdToBin(GetReminderByte(slot, index)); };
  r.Slot = GetReminderByte(slot, 5);
  const int32_t month_byte = GetReminderByte(slot, kMonthFlag);
  int32_t hours = bcd(kHours);
  if (twelve_hour) hours = codec::To24Hour(hours, (month_byte >> kPmBit & 1) != 0);
  r.Time = hours * 3600 + bcd(kMinutes) * 60;
  const int32_t month = month_byte & 0x0F;
  const int32_t year = 2000 + bcd(kYear);
  int32_t day = bcd(kDay);
  // A day past the month's end (February 30) is taken as its last day.
  while (day > 28 && !codec::IsCalendarDay(day, month, year))
    --day;
  r.Date = codec::MakeDate(day, month, year);
  r.Flag = (month_byte >> kNotFlaggedBit & 1) == 0 ? 1 : 0;
  for (size_t i = 0; i < kSingleTextChars; ++i) {
    const int32_t code = GetReminderByte(slot, kText + static_cast<int32_t>(i));
    r.Text[i] = static_cast<char>(codec::DeviceCodeToChar(code, 0, kSingleTextTable));
  }
  for (size_t i = kSingleTextChars - 1; i >= 1 && r.Text[i] == ' '; --i)
    r.Text[i] = '\0';
  const int32_t values = GetReminderByte(slot, kValues);
  r.UpperValue = values >> 4;
  r.LowerValue = values & 0x0F;
  return 1;
}

void ResetReminder(int32_t slot, Reminder& r) {
  std::memset(&r, 0, sizeof r);
  r.Size = kReminderSize;
  r.Slot = InRange(slot, 0, kReminderSlots - 1) ? slot : 0;
  r.Date = platform::Today();
  r.Time = platform::NowSeconds();
  std::memcpy(r.Text, kDefaultText, sizeof kDefaultText);
}

void CheckReminderList(PrvcReminderList& list) {
  for (PrvcReminder& e : list.Reminders) {
    if (e.Size == 0) e.Size = kEntrySize;
    if (!InRange(e.Slot, 0, kReminderSlots - 1)) e.Slot = 0;
    if (!IsFlag(e.Enabled)) e.Enabled = 0;
    if (!IsFlag(e.Flag)) e.Flag = 0;
    e.Date = CheckedDate(e.Date);
    e.Time = CheckedTime(e.Time);
    if (!InRange(e.EnableValue, 0, 6)) e.EnableValue = 0;
  }
}

std::array<uint8_t, kReminderListBytes> PackReminderList(const PrvcReminderList& list) {
  std::array<uint8_t, kReminderListBytes> area{};
  for (size_t i = 0; i < static_cast<size_t>(kReminderSlots); ++i) {
    const PrvcReminder& e = list.Reminders[i];
    const std::span<uint8_t> b =
        std::span<uint8_t>(area).subspan(i * kReminderEntryBytes, kReminderEntryBytes);
    PackShortDate(b.subspan(kEntryDate, 2), e.Date);
    b[kEntryMinutes] = static_cast<uint8_t>(codec::BinToBcd(e.Time % 3600 / 60));
    b[kEntryHours] = static_cast<uint8_t>(codec::BinToBcd(e.Time / 3600));
    const Moment warn = Advanced(e);
    PackShortDate(b.subspan(kAdvancedDate, 2), warn.date);
    b[kAdvancedMinutes] = static_cast<uint8_t>(codec::BinToBcd(warn.seconds % 3600 / 60));
    b[kAdvancedHours] = static_cast<uint8_t>(codec::BinToBcd(warn.seconds / 3600));
    PackDeviceText(b.subspan(kEntryText, kEntryTextChars), e.Text, sizeof e.Text, kNewerTextTable);
    b[kEnableValue] = static_cast<uint8_t>(e.Enabled != 0 ? e.EnableValue : 0);
    b[kCodeByte] = CodeByte(e.Code);
    b[kAdvanceByte] =
        static_cast<uint8_t>((e.Advance & kAdvanceMask) | (e.HighBits & kHighBitsMask));
  }
  return area;
}

std::array<uint8_t, kReminderOrderBytes> PackReminderOrder(const PrvcReminderList& list) {
  std::array<uint8_t, kReminderOrderBytes> order{};
  size_t enabled = 0;
  for (const PrvcReminder& e : list.Reminders) {
    if (e.Enabled != 0) order[enabled++] = static_cast<uint8_t>(e.Slot);
  }
  for (size_t i = enabled; i < static_cast<size_t>(kReminderSlots); ++i)
    order[i] = static_cast<uint8_t>(kFirstUnusedOrder + i - enabled);
  order[kReminderSlots] = static_cast<uint8_t>(enabled);
  return order;
}

void UnpackReminderList(const std::array<uint8_t, kReminderListBytes>& area,
                        PrvcReminderList& list) {
  for (size_t i = 0; i < static_cast<size_t>(kReminderSlots); ++i) {
    const std::span<const uint8_t> b =
        std::span<const uint8_t>(area).subspan(i * kReminderEntryBytes, kReminderEntryBytes);
    const int32_t date = UnpackShortDate(b.subspan(kEntryDate, 2));
    if (!codec::IsValidDate(date)) continue;  // an entry never set: the caller's stays
    PrvcReminder& e = list.Reminders[i];
    e.Slot = static_cast<int32_t>(i);
    e.Date = date;
    e.Time = codec::BcdToBin(b[kEntryHours]) * 3600 + codec::BcdToBin(b[kEntryMinutes]) * 60;
    std::memset(e.Text, 0, sizeof e.Text);
    UnpackDeviceText(b.subspan(kEntryText, kEntryTextChars), e.Text, sizeof e.Text, kNewerTextTable,
                     ' ', TrailingSpaces::ClearAll);
    e.EnableValue = b[kEnableValue];
    e.Enabled = e.EnableValue != 0 ? 1 : 0;
    e.Code = CodeOfByte(b[kCodeByte]);
    e.Advance = b[kAdvanceByte] & kAdvanceMask;
    e.HighBits = b[kAdvanceByte] & kHighBitsMask;
  }
}

int32_t SendRemindersPrvc(CommParams& params, PrvcReminderList& list) {
  frame::ValidateCommParams(params, 0);
  if (params.ReadFromDataFile != 0) return 1;
  // Before the unit was identified the map has no reminders area: nothing is written at 0.
  const int32_t area = module().memory_map.reminders;
  if (area == 0 || !protocol::MemoryOpcode(list.UnitType)) return 0;
  CheckReminderList(list);
  if (!WriteUnitMemory(params, list.UnitType, area, PackReminderList(list))) return 0;
  platform::clock().sleep_ms(kPauseMs);
  if (!WriteUnitMemory(params, list.UnitType, area + static_cast<int32_t>(kReminderListBytes),
                       PackReminderOrder(list))) {
    return 0;
  }
  platform::clock().sleep_ms(kPauseMs);
  return FinishMemoryWrite(params) ? 1 : 0;
}

int32_t ReadRemindersPrvc(CommParams& params, PrvcReminderList& list) {
  frame::SetErrorCode(frame::kErrorTransferStarted);
  frame::ValidateCommParams(params, 1);
  // Before the unit was identified the map has no reminders area: the list is only checked.
  const int32_t address = module().memory_map.reminders;
  std::array<uint8_t, kReminderListBytes> area{};
  if (address != 0 && ReadUnitMemory(params, address, 0, area, kPauseMs))
    UnpackReminderList(area, list);
  CheckReminderList(list);
  return 1;
}

}  // namespace quibra::prvc
