// User settings, watch settings and reminders of the running and cycling units: hand-worked
// bytes, and round trips against simulated units (the newer ones on a stand-in IrDA stack, the
// older ones on a serial line), with the order of the commands the unit received.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/locale.h"
#include "platform/registry.h"
#include "platform/scaled_clock.h"
#include "protocol/engine.h"
#include "protocol/message_image.h"
#include "prvc/reminders.h"
#include "prvc/user_settings_prvc.h"
#include "quibra/quibra.h"
#include "support/comm_params.h"
#include "support/module_fixture.h"
#include "support/prvc_unit.h"
#include "unit.h"

namespace quibra::testing {
namespace {

using Bytes = std::vector<uint8_t>;
using Ids = std::vector<int32_t>;

template <size_t N>
Bytes B(const std::array<uint8_t, N>& a) {
  return Bytes(a.begin(), a.end());
}

class PrvcSettingsTest : public PrvcUnitTest {
 protected:
  void SetUp() override {
    PrvcUnitTest::SetUp();
    // Sunday 2024-03-10, 14:05:09; the user's clock shows 24 hours.
    clock_.fix_local_time({2024, 3, 10, 0, 14, 5, 9, 0});
    platform::set_locale(&locale_);
  }
  void TearDown() override {
    PrvcUnitTest::TearDown();
    platform::set_locale(nullptr);
  }

  // A newer unit behind a stand-in IrDA stack, identified; an older one on a serial line.
  sim::Unit& attach(int32_t type, int32_t variant = 0) {
    line_.attach(type, variant);
    unit_ = &line_.unit();
    if (type < 33) return *unit_;
    // The simulator's default map puts the flag byte 13 below user area 2 inside user area 1;
    // in the units it is a byte of its own.
    sim::Identification id = unit_->identification();
    id.area(sim::Area::User2) = static_cast<uint16_t>(id.area(sim::Area::User1) + 30);
    unit_->set_identification(id);
    CommParams p = LinkParams(1, type);
    MonitorInfo info{};
    info.MonitorInUse = -1;
    EXPECT_EQ(fnQuibra_ReadMonitorInfo(&p, &info), 1);
    unit_->clear_requests();
    return *unit_;
  }

  int32_t area(sim::Area which) {
    sim::Identification id = unit_->identification();
    return id.area(which);
  }

  // The messages the unit received, a message sent again (the restore, which the unit does not
  // answer over IrDA, goes up to five times) counted once.
  Ids ids() const {
    Ids out;
    for (const auto& r : unit_->requests()) {
      if (out.empty() || out.back() != r.id || r.id != 9088) out.push_back(r.id);
    }
    return out;
  }

  platform::FixedLocale locale_{codec::TimeLocale{}};
  sim::Unit* unit_ = nullptr;
};

PrvcUserSettings User() {
  PrvcUserSettings r{};
  r.UnitType = 36;
  r.UserNumber = 7;
  std::strcpy(r.Text1, "AB");
  r.BirthDate = 19150310;  // before 1921: becomes 19210310
  r.Level = 9;             // becomes 1
  r.UserValue = 5;         // becomes 50
  r.Sex = 5;               // VO2max sees it nonzero (36), then it becomes 1
  r.WeightKg = 80;         // 176 lb, sent as 1760 tenths
  r.HeightCm = 182;        // 5 ft 11.65 in, carried to 6 ft 0 in
  return r;
}

// The areas as the unit keeps them: weight, height, birth day, month and year - 1900 - 100,
// MaxHR 220 - 103 (the birthday is today), VO2max, UserValue, Sex + 30, Level,
// 1, 0, 0; then "AB" padded, the 32-pixel mark on the eighth code (6 + 6 + 6 x 3 pixels fit)
// being the end mark the rest follows from; "-" marked on, the user number.
const Bytes kUserArea1 = {0xE0, 0x06, 182, 10, 3, 21, 117, 36, 50, 31, 1, 1, 0, 0};
const Bytes kUserArea2 = {0x0B, 0x0C, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x8A, 0x8A, 0x8A, 0xC8,
                          0x8A, 0x8A, 0x8A, 0x8A, 0x8A, 0x8A, 0x8A, 0x8A, 0x8A, 7};

TEST_F(PrvcSettingsTest, UserSettingsCheckedAndPackedByHand) {
  PrvcUserSettings r = User();
  ASSERT_TRUE(prvc::CheckUserSettings(r));
  EXPECT_EQ(r.BirthDate, 19210310);
  EXPECT_EQ(r.WeightLb, 176);
  EXPECT_EQ(r.HeightFeet * 100 + r.HeightInches, 600);
  EXPECT_STREQ(r.Text2, "-");
  EXPECT_EQ(B(prvc::PackUserArea1(r)), kUserArea1);
  EXPECT_EQ(B(prvc::PackUserArea2(r)), kUserArea2);
  // Feet and inches count only without centimetres; a date the calendar lacks fails.
  r.HeightCm = 0;
  r.HeightFeet = 5;
  r.HeightInches = 8;
  ASSERT_TRUE(prvc::CheckUserSettings(r));
  EXPECT_EQ(r.HeightCm, 152 + 20);
  r.BirthDate = 19990229;
  EXPECT_FALSE(prvc::CheckUserSettings(r));
  // Ten zero digits in the unit stand for a text never set: the check then gives "-".
  std::array<uint8_t, prvc::kUserArea2Bytes> blank{};
  PrvcUserSettings read{};
  prvc::UnpackUserArea2(blank, read);
  EXPECT_STREQ(read.Text1, "");
}

TEST_F(PrvcSettingsTest, UserSettingsWrittenIntoTheAnnouncedAreasAndReadBack) {
  sim::Unit& pr6 = attach(36);
  const int32_t flag_byte = area(sim::Area::User2) - 13;
  ASSERT_TRUE(pr6.set_memory(flag_byte, Bytes{0x81}));
  ASSERT_TRUE(pr6.set_memory(55606, Bytes{1}, 1));  // the state byte in the second bank
  CommParams p = LinkParams(1, 36);
  PrvcUserSettings sent = User();
  ASSERT_EQ(fnQuibra_SendUserSettings_PRVC(&p, &sent), 1);
  EXPECT_EQ(pr6.memory(area(sim::Area::User1), 14), kUserArea1);
  EXPECT_EQ(pr6.memory(area(sim::Area::User2), 21), kUserArea2);
  EXPECT_EQ(pr6.memory(flag_byte, 1), Bytes{0xC1});
  EXPECT_EQ(pr6.memory(area(sim::Area::Watch) - 5, 1), Bytes{1});
  // Both areas, the flag byte, then the state-byte copy and the restore, in that order.
  EXPECT_EQ(ids(), (Ids{9089, 9089, 9090, 9089, 9090, 9089, 9088}));

  PrvcUserSettings read{};
  ASSERT_EQ(fnQuibra_ReadUserSettings_PRVC(&p, &read), 1);
  EXPECT_EQ(std::memcmp(&read, &sent, sizeof read), 0);

  // Refused arguments send nothing; a unit that stops answering mid-write keeps what came
  // before (both areas) and gets neither the flag nor the restore.
  pr6.clear_requests();
  PrvcUserSettings refused = User();
  refused.UnitType = 32;
  EXPECT_EQ(fnQuibra_SendUserSettings_PRVC(&p, &refused), 0);
  refused = User();
  refused.BirthDate = 20210101;
  EXPECT_EQ(fnQuibra_SendUserSettings_PRVC(&p, &refused), 0);
  EXPECT_TRUE(pr6.requests().empty());
  ASSERT_TRUE(pr6.set_memory(flag_byte, Bytes{0x00}));
  pr6.queue_fault(sim::Fault{sim::FaultKind::NoAnswer, 9090, true});
  PrvcUserSettings heavier = User();
  heavier.WeightKg = 90;
  EXPECT_EQ(fnQuibra_SendUserSettings_PRVC(&p, &heavier), 0);
  EXPECT_EQ(pr6.memory(area(sim::Area::User1), 2), (Bytes{0xBC, 0x07}));  // 198 lb
  EXPECT_EQ(pr6.memory(flag_byte, 1), Bytes{0x00});
  EXPECT_EQ(ids().back(), 9090);
}

TEST_F(PrvcSettingsTest, NewerWatchSettingsWrittenReadBackAndLogoRestored) {
  sim::Unit& pr6 = attach(36);
  const int32_t watch = area(sim::Area::Watch) - 5;
  CommParams p = LinkParams(1, 36);
  PrvcWatchSettings w{};
  w.WatchOption = 1;
  w.ModeValue = 2;
  w.OffsetValue = -4;
  w.AlarmOn = 1;
  w.AlarmMode = 3;
  w.AlarmTime = 6 * 3600 + 45 * 60 + 30;  // sent as 06:45
  w.EventOn = 1;
  w.EventDate = 20240320;
  std::strcpy(w.EventName, "Race");
  ASSERT_EQ(fnQuibra_PRVC_SendWatchSettings(&p, &w), 1);
  // Flag byte 8 + 4 (WatchOption) + 32 (ModeValue 2), the offset, 06:45, the mode; the event bit,
  // ten days, "Race" (R a c e) marked from its last letter on.
  EXPECT_EQ(pr6.memory(watch, 18), (Bytes{0x2C, 0xFC, 0x45, 0x06, 3, 0x20, 10, 0, 28, 37, 39, 0xA9,
                                          0x8A, 0x8A, 0x8A, 0x8A, 0x8A, 0x8A}));
  EXPECT_EQ(ids(), (Ids{9091, 9092}));  // with an event, nothing follows
  PrvcWatchSettings read{};
  ASSERT_TRUE(pr6.set_memory(55606, Bytes{0}, 1));  // the state byte a type 36 keeps in bank 1
  ASSERT_EQ(fnQuibra_PRVC_ReadWatchSettings(&p, &read), 1);
  EXPECT_EQ(read.AlarmTime, 6 * 3600 + 45 * 60);
  EXPECT_EQ(read.OffsetValue, -4);
  EXPECT_EQ(read.AlarmMode, 3);
  EXPECT_EQ(read.AlarmOn, 1);
  EXPECT_EQ(read.EventOn, 1);
  EXPECT_EQ(read.EventDate, 20240320);
  EXPECT_STREQ(read.EventName, "Race");
  // The read began with the state-byte copy: the unit's byte (0) is now the first of the area.
  EXPECT_EQ(read.WatchOption, 0);

  // Without an event: the logo is read and written back, then the state byte copied and the
  // memory restored, in that order; the alarm mode goes as 0 when the alarm is off.
  pr6.clear_requests();
  w.EventOn = 0;
  w.AlarmOn = 0;
  ASSERT_EQ(fnQuibra_PRVC_SendWatchSettings(&p, &w), 1);
  EXPECT_EQ(w.AlarmMode, 0);
  EXPECT_EQ(ids(), (Ids{9091, 9092, 9090, 9015, 9090, 9089, 9088}));
  ASSERT_EQ(fnQuibra_PRVC_ReadWatchSettings(&p, &read), 1);
  EXPECT_EQ(read.EventOn, 0);
  EXPECT_EQ(read.AlarmOn, 0);

  // An event today fails with 102 after the clock went out; a name with a character table 5
  // lacks is refused before anything is sent.
  pr6.clear_requests();
  w.EventOn = 1;
  w.EventDate = 20240310;
  EXPECT_EQ(fnQuibra_PRVC_SendWatchSettings(&p, &w), 0);
  EXPECT_EQ(fnQuibra_GetErrorCode(), 102);
  EXPECT_EQ(ids(), Ids{9091});
  pr6.clear_requests();
  w.EventDate = 20240311;
  std::strcpy(w.EventName, "a;b");
  EXPECT_EQ(fnQuibra_PRVC_SendWatchSettings(&p, &w), 0);
  EXPECT_TRUE(pr6.requests().empty());
}

TEST_F(PrvcSettingsTest, OlderWatchSettingsInTheirMessage) {
  // Type 31: 9077, ten bytes after the header; the event is not part of it.
  sim::Unit& vc3 = attach(31);
  CommParams p = LinkParams(1, 0);
  PrvcWatchSettings w{};
  w.UnitType = 31;
  w.OffsetValue = -2;
  w.AlarmTime = 7 * 3600 + 15 * 60;
  w.AlarmMode = 5;
  ASSERT_EQ(fnQuibra_PRVC_SendWatchSettings(&p, &w), 1);
  EXPECT_EQ(vc3.image(9077, 0), (Bytes{10, 3, 24, 0x09, 0x05, 0x14, 0xFE, 0x15, 0x07, 5}));
  // Type 32: the shorter 9084, ending with the hour mode and the event bit.
  sim::Unit& vc4 = attach(32);
  w.UnitType = 32;
  w.EventOn = 1;
  w.EventDate = 20240409;
  std::strcpy(w.EventName, "RUN");
  ASSERT_EQ(fnQuibra_PRVC_SendWatchSettings(&p, &w), 1);
  const Bytes image = vc4.image(9084, 0);
  EXPECT_EQ(Bytes(image.begin(), image.begin() + 11),
            (Bytes{10, 3, 24, 0x09, 0x05, 0x14, 0xFE, 0x15, 0x07, 5, 1 + 32}));
  EXPECT_EQ(vc4.requests().back().payload.size(), 11u);
  // An event date outside the calendar is refused with 102 before anything is sent.
  vc4.clear_requests();
  w.EventDate = 20230229;
  EXPECT_EQ(fnQuibra_PRVC_SendWatchSettings(&p, &w), 0);
  EXPECT_EQ(fnQuibra_GetErrorCode(), 102);
  EXPECT_TRUE(vc4.requests().empty());
}

PrvcReminderList Reminders() {
  PrvcReminderList list{};
  list.UnitType = 38;
  const struct {
    int32_t slot, enabled, advance, code, date, time;
    const char* text;
  } rows[] = {
      {1, 1, 8, 3, 20240315, 30 * 60, "Dentist"},  // one hour before 00:30: 23:30 the day before
      {2, 0, 16, -1, 20240401, 12 * 3600, "Tax"},  // a day before
      {4, 1, 2, 16, 20240301, 5 * 60, "Call"},     // ten minutes before 00:05: 23:55 on Feb 29
      {5, 0, 1, 12, 20240501, 8 * 3600, ""},       // no advance
      {6, 1, 4, 0, 20240601, 9 * 3600, "Run"},     // thirty minutes
      {0, 0, 1, -1, 20240101, 0, ""},
      {3, 0, 1, -1, 20240101, 90000, ""},  // no time of day: noon
  };
  for (size_t i = 0; i < 7; ++i) {
    PrvcReminder& e = list.Reminders[i];
    e.Slot = rows[i].slot;
    e.Enabled = rows[i].enabled;
    e.EnableValue = rows[i].enabled * 2;
    e.Advance = rows[i].advance;
    e.Code = rows[i].code;
    e.Date = rows[i].date;
    e.Time = rows[i].time;
    e.HighBits = 0x60;
    std::strcpy(e.Text, rows[i].text);
  }
  return list;
}

TEST_F(PrvcSettingsTest, ReminderListPackedByHand) {
  PrvcReminderList list = Reminders();
  prvc::CheckReminderList(list);
  EXPECT_EQ(list.Reminders[6].Time, 43200);
  EXPECT_EQ(list.Reminders[0].Size, 52);
  const auto area = prvc::PackReminderList(list);
  // 2024-03-15 00:30, warned 2024-03-14 23:30; "Dentist"; enable value 2, code 0x23, one hour
  // with the high bits.
  EXPECT_EQ(Bytes(area.begin(), area.begin() + 21),
            (Bytes{0x6F, 0x30, 0x30, 0x00, 0x6E, 0x30, 0x30, 0x23, 14,   41,  50,
                   56,   45,   55,   0xB8, 0x8A, 0x8A, 0x8A, 2,    0x23, 0x68}));
  // 2024-03-01 00:05 warned 2024-02-29 23:55; code 16 stays 16.
  EXPECT_EQ(Bytes(area.begin() + 42, area.begin() + 50),
            (Bytes{0x61, 0x30, 0x05, 0x00, 0x5D, 0x30, 0x55, 0x23}));
  EXPECT_EQ(area[42 + 19], 16);
  // A day's advance keeps the time: 2024-04-01 12:00 warns on 2024-03-31 12:00; disabled, so
  // its enable value goes as 0, and code -1 as 0.
  EXPECT_EQ(Bytes(area.begin() + 21, area.begin() + 29),
            (Bytes{0x81, 0x30, 0x00, 0x12, 0x7F, 0x30, 0x00, 0x12}));
  EXPECT_EQ(area[21 + 18], 0);
  EXPECT_EQ(area[21 + 19], 0);
  EXPECT_EQ(area[63 + 19], 0x42);  // code 12
  EXPECT_EQ(B(prvc::PackReminderOrder(list)), (Bytes{1, 4, 6, 10, 11, 12, 13, 3}));
}

TEST_F(PrvcSettingsTest, ReminderListWrittenAndReadBack) {
  sim::Unit& pr9w = attach(38, 4);
  const int32_t r = area(sim::Area::Reminders);
  CommParams p = LinkParams(1, 38);
  PrvcReminderList sent = Reminders();
  ASSERT_EQ(fnQuibra_PRVC_SendReminders(&p, &sent), 1);
  EXPECT_EQ(pr9w.memory(r, 147), B(prvc::PackReminderList(sent)));
  EXPECT_EQ(pr9w.memory(r + 147, 8), (Bytes{1, 4, 6, 10, 11, 12, 13, 3}));
  // List, order block, the state byte of a variant-4 unit (58694 in the second bank), restore.
  EXPECT_EQ(ids(), (Ids{9089, 9089, 9090, 9089, 9088}));
  EXPECT_EQ(pr9w.requests()[2].param, 58694);

  PrvcReminderList read{};
  ASSERT_EQ(fnQuibra_PRVC_ReadReminders(&p, &read), 1);
  for (size_t i = 0; i < 7; ++i) {
    SCOPED_TRACE(i);
    PrvcReminder expected = sent.Reminders[i];
    expected.Slot = static_cast<int32_t>(i);  // the place in the list is the slot
    expected.Flag = 0;                        // the unit keeps no flag
    expected.EnableValue = expected.Enabled != 0 ? expected.EnableValue : 0;
    EXPECT_EQ(std::memcmp(&read.Reminders[i], &expected, sizeof expected), 0);
  }

  // The state byte cannot be read: list and order block stay written, nothing is restored.
  pr9w.clear_requests();
  pr9w.queue_fault(sim::Fault{sim::FaultKind::NoAnswer, 9090, true});
  sent.Reminders[0].Time = 3600;
  sent.Reminders[0].Enabled = 0;
  EXPECT_EQ(fnQuibra_PRVC_SendReminders(&p, &sent), 0);
  EXPECT_EQ(ids().back(), 9090);
  EXPECT_EQ(pr9w.memory(r + 2, 2), (Bytes{0x00, 0x01}));
  EXPECT_EQ(pr9w.memory(r + 147, 8), (Bytes{4, 6, 10, 11, 12, 13, 14, 2}));
}

TEST_F(PrvcSettingsTest, SingleRemindersThroughTheirMessages) {
  Reminder r{};
  r.Slot = 9;  // becomes 0
  r.Flag = 0;
  r.Date = 20240315;
  r.Time = 90000;  // becomes 12:00
  r.UpperValue = 2;
  r.LowerValue = 9;  // becomes 0
  std::strcpy(r.Text, "Dr");
  ASSERT_EQ(fnQuibra_PrepareReminder(&r, 0), 1);
  EXPECT_EQ(r.Time, 43200);
  Bytes image;
  for (int32_t i = 5; i <= 18; ++i)
    image.push_back(protocol::GetMessageByte(9013, 0, i));
  EXPECT_EQ(image, (Bytes{0, 0x00, 0x12, 0x15, 0x24, 3 + 32, 14, 54, 10, 10, 10, 10, 10, 0x20}));
  // February 30 read from a unit (9014 carries it one index later) is the month's last day;
  // hour 12 with the PM bit, in the 12-hour form, is 12 noon.
  const Bytes answer = {4, 0x45, 0x12, 0x30, 0x24, 0x02 | 0x10, 13, 10, 10, 10, 10, 10, 10, 0x35};
  for (size_t i = 0; i < answer.size(); ++i)
    protocol::SetMessageByte(9014, 4, 6 + static_cast<int32_t>(i), answer[i]);
  Reminder u{};
  ASSERT_EQ(fnQuibra_UnPackReminder(4, &u, 1), 1);
  EXPECT_EQ(u.Date, 20240229);
  EXPECT_EQ(u.Time, 12 * 3600 + 45 * 60);
  EXPECT_EQ(u.Flag, 1);
  EXPECT_STREQ(u.Text, "C");
  EXPECT_EQ(u.UpperValue * 10 + u.LowerValue, 35);
  EXPECT_EQ(fnQuibra_UnPackReminder(7, &u, 0), 0);

  // Sent to a unit's slot and read back from it.
  sim::Unit& k55 = attach(22);
  CommParams p = LinkParams(1, 22);
  r.Slot = 5;
  r.Flag = 1;
  ASSERT_EQ(fnQuibra_SendReminder(&p, &r), 1);
  Reminder back{};
  ASSERT_EQ(fnQuibra_ReadReminder(&p, 5, &back), 1);
  EXPECT_EQ(std::memcmp(&back, &r, sizeof r), 0);
  EXPECT_EQ(k55.requests().back().payload, Bytes{5});
  EXPECT_EQ(fnQuibra_ReadReminder(&p, 7, &back), 0);
  EXPECT_EQ(k55.requests().size(), 2u);
}

}  // namespace
}  // namespace quibra::testing
