// Totals, odometers, display layouts and fitness test results against the simulated units: what
// the library writes lands at the addresses the unit's identification announced, reads back
// equal, and reaches the unit in the order the unit needs.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <list>
#include <vector>

#include "prvc_areas.h"
#include "quibra/quibra.h"
#include "settings/settings_test_support.h"
#include "support/comm_params.h"
#include "support/prvc_unit.h"

namespace quibra::testing {
namespace {

// Silences the unit for good once it has received `after` direct writes: the exchanges from the
// next pause on fail.
class SilenceAfterWrites final : public ForwardingClock {
 public:
  SilenceAfterWrites(platform::Clock& inner, sim::Unit& unit, size_t after)
      : ForwardingClock(inner), unit_(unit), after_(after) {}
  void sleep_ms(uint32_t ms) override {
    size_t writes = 0;
    for (const auto& r : unit_.requests())
      writes += r.id == 9089 ? 1 : 0;
    if (writes >= after_ && !silenced_.exchange(true)) unit_.queue_fault(sim::Fault::Silence());
    inner_.sleep_ms(ms);
  }

 private:
  sim::Unit& unit_;
  size_t after_;
  std::atomic<bool> silenced_ = false;
};

class AreasOnSimTest : public SettingsTest {
 protected:
  // A newer unit, identified: the library knows its memory map.
  sim::Unit& identified(int32_t type, int32_t variant) {
    sim::Unit& unit = sim_.attach(type, variant);
    CommParams p = LinkParams();
    MonitorInfo info{};
    EXPECT_EQ(fnQuibra_ReadMonitorInfo(&p, &info), 1);
    unit.clear_requests();
    return unit;
  }
  int32_t area(sim::Area which) { return sim_.unit().identification().area(which); }
  std::vector<int32_t> ids() {
    std::vector<int32_t> found;
    for (const auto& r : sim_.unit().requests())
      found.push_back(r.id);
    return found;
  }

  // A clock that silences the unit after `after` writes, kept by the fixture: the engine may
  // still be in one of its pauses when the test puts the plain clock back, and only the
  // fixture's tear-down ends it.
  SilenceAfterWrites& silencer(sim::Unit& unit, size_t after) {
    return silencers_.emplace_back(clock_, unit, after);
  }

  PrvcUnit sim_;
  std::list<SilenceAfterWrites> silencers_;
};

TEST_F(AreasOnSimTest, TotalsOfEveryTypeWrittenAndReadBack) {
  struct Kept {
    int32_t type, bytes;
  };
  for (const Kept k : {Kept{33, 57}, {34, 75}, {35, 69}, {36, 34}, {37, 39}, {38, 87}}) {
    SCOPED_TRACE(k.type);
    sim::Unit& unit = identified(k.type, 6);
    const int32_t state = *sim::StateByteAddress(k.type, 6);
    ASSERT_TRUE(unit.set_memory(state, Bytes{7}, 1));  // not 0 or 1: copied as 0
    ASSERT_TRUE(unit.set_memory(area(sim::Area::Watch) - 5, Bytes{9}));
    TotalsPRVC t{};
    // Every value field holds 1000 + its position, every date 2008-02-29.
    std::vector<int32_t> words(40, 20080229);
    for (const int32_t i : {4, 6, 8, 10, 12, 13, 14, 18, 19, 20, 24, 26, 28, 30, 32, 34, 35, 36})
      words[static_cast<size_t>(i)] = 1000 + i;
    words[0] = words[1] = words[2] = words[3] = 0;
    std::memcpy(&t, words.data(), sizeof t);
    t.TotalTime = 100 * 3600 + 5 * 60 + 7;
    t.Counter6Date = 0;  // today
    CommParams p = LinkParams(1, k.type);
    p.ShowDialog = 1;
    ASSERT_EQ(fnQuibra_WriteTotals_PRVC(&p, &t), 1);
    EXPECT_EQ(p.ShowDialog, 0u);
    // Read first, then the area, the state byte from the second bank to below the watch
    // area, and the memory restore.
    EXPECT_EQ(ids(), (std::vector<int32_t>{9090, 9089, 9090, 9089, 9088}));
    const auto log = unit.requests();
    EXPECT_EQ(log[1].param, area(sim::Area::Totals));
    EXPECT_EQ(log[1].payload.size(), 7u + static_cast<size_t>(k.bytes));
    EXPECT_EQ(log[2].payload, (Bytes{1, static_cast<uint8_t>(state),
                                     static_cast<uint8_t>(state >> 8), 0, 0, 1, 0}));
    EXPECT_EQ(unit.memory(area(sim::Area::Watch) - 5, 1), Bytes{0});
    EXPECT_EQ(unit.memory(area(sim::Area::Totals), 12),
              (Bytes{0x07, 0x05, 0x00, 0x01, 0x5D, 0x10, 0x06, 0x10, 0x00, 0x00, 0x21, 0x30}));
    TotalsPRVC back{};
    ASSERT_EQ(fnQuibra_ReadTotals_PRVC(&p, &back), 1);
    EXPECT_EQ(back.MonitorType, k.type);
    EXPECT_EQ(back.Counter6Date, 20240101);
    EXPECT_EQ(back.TotalTime, t.TotalTime);
    // Every total the type keeps comes back; the others read as 0.
    TotalsPRVC again = back;
    ASSERT_EQ(fnQuibra_WriteTotals_PRVC(&p, &again), 1);
    TotalsPRVC third{};
    ASSERT_EQ(fnQuibra_ReadTotals_PRVC(&p, &third), 1);
    EXPECT_TRUE(SameRecord(back, third));
    EXPECT_EQ(back.Bike3Total, k.type == 34 || k.type == 35 ? 1036 : 0);
    EXPECT_EQ(back.Counter14, k.type == 38 ? 1014 : 0);
  }
}

TEST_F(AreasOnSimTest, RefusedArgumentsSendNothing) {
  identified(35, 0);
  CommParams p = LinkParams(1, 35);
  TotalsPRVC t{};
  t.Counter30 = 1000000;  // six digits at most
  EXPECT_EQ(fnQuibra_WriteTotals_PRVC(&p, &t), 0);
  CommParams older = LinkParams(1, 22);
  EXPECT_EQ(fnQuibra_ReadTotals_PRVC(&older, &t), 0);
  DisplaysOther other{};
  other.Switches[2] = 2;
  EXPECT_EQ(fnQuibra_WriteDisplays_Other_VC8Z(&p, &other), 0);
  CommParams pr9w = LinkParams(1, 38);
  EXPECT_EQ(fnQuibra_WriteDisplays_Other_VC8Z(&pr9w, &other), 0);
  DisplaysPR9W layouts{};
  EXPECT_EQ(fnQuibra_WriteDisplays_PR9W(&p, &layouts, 0), 0);
  OdometerSettings o{16, 1000000, 0, 22};
  EXPECT_EQ(fnQuibra_WriteOdometer(&p, &o), 0);
  o = {16, 1, 2, 24};
  EXPECT_EQ(fnQuibra_WriteOdometer(&p, &o), 0);
  EXPECT_TRUE(sim_.unit().requests().empty());
}

TEST_F(AreasOnSimTest, AFailedExchangeLeavesWhatWasWrittenBefore) {
  // Totals: the area is written, the state byte's read fails: no restore follows.
  sim::Unit& pr9 = identified(37, 6);
  const Bytes factory = pr9.memory(area(sim::Area::Totals), 39);
  platform::set_clock(&silencer(pr9, 1));
  TotalsPRVC t{};
  t.Counter30 = 123456;
  CommParams p = LinkParams(1, 37);
  EXPECT_EQ(fnQuibra_WriteTotals_PRVC(&p, &t), 0);
  EXPECT_EQ(sim_.count(9088), 0u);
  EXPECT_NE(pr9.memory(area(sim::Area::Totals), 39), factory);
  EXPECT_EQ(pr9.memory(area(sim::Area::Totals) + 34, 3), (Bytes{0x56, 0x34, 0x12}));

  // Displays of the other types: the switch byte is written, the first group's answer is lost;
  // the later groups and the restore never go out.
  platform::set_clock(&clock_);
  sim::Unit& vc8z = identified(34, 0);
  platform::set_clock(&silencer(vc8z, 1));
  DisplaysOther d{};
  d.Switches[0] = 1;
  for (int32_t i = 0; i < 6; ++i) {
    d.Class1IDs[i] = i + 1;
    d.Class2IDs[i] = 102;
    d.Class2IDs[i + 6] = 105;
  }
  CommParams p34 = LinkParams(1, 34);
  EXPECT_EQ(fnQuibra_WriteDisplays_Other_VC8Z(&p34, &d), 0);
  const int32_t display = area(sim::Area::Display);
  EXPECT_EQ(vc8z.memory(display + 249, 1), Bytes{0x01});
  EXPECT_EQ(vc8z.memory(display + 281, 6), Bytes(6, 0));
  EXPECT_EQ(vc8z.memory(display + 299, 6), Bytes(6, 0));
  EXPECT_EQ(sim_.count(9088), 0u);
  platform::set_clock(&clock_);
}

TEST_F(AreasOnSimTest, DisplayLayoutsWrittenAndReadBack) {
  // Type 38 of variant 3: 86 bytes at the display area + 247, the extra groups taking the first
  // class-2 identifiers except 125.
  sim::Unit& pr9w = identified(38, 3);
  DisplaysPR9W d{};
  for (int32_t k = 0; k < 6; ++k)
    d.SwitchSet1[k] = d.SwitchSet2[k] = 1;
  d.SwitchSet2[5] = 0;
  d.Class1IDs[0] = 7;  // no code on type 38: written as 0, read back as 0
  d.Class1IDs[1] = 2;
  d.Class2IDs[0] = 117;
  d.Class2IDs[1] = 125;
  d.ExtraClass2IDs[1] = 138;
  CommParams p = LinkParams(1, 38);
  ASSERT_EQ(fnQuibra_WriteDisplays_PR9W(&p, &d, 0), 1);
  EXPECT_EQ(d.ExtraClass2IDs[0], 117);
  EXPECT_EQ(d.ExtraClass2IDs[1], 138);
  const int32_t display = area(sim::Area::Display);
  EXPECT_EQ(pr9w.memory(display + 247, 4), (Bytes{0xFF, 0xDF, 21, 26}));
  EXPECT_EQ(pr9w.memory(display + 247 + 50, 2), (Bytes{0, 2}));
  EXPECT_EQ(pr9w.memory(display + 247 + 62, 2), (Bytes{21, 34}));
  EXPECT_EQ(ids(), (std::vector<int32_t>{9089, 9090, 9089, 9088}));
  DisplaysPR9W back{};
  ASSERT_EQ(fnQuibra_ReadDisplays_PR9W(&p, &back, 0), 1);
  d.Class1IDs[0] = 0;
  EXPECT_TRUE(SameRecord(d, back));

  // Type 35: the switch byte and three groups at their own places.
  sim::Unit& vc8 = identified(35, 0);
  DisplaysOther o{};
  o.Switches[1] = o.Switches[5] = 1;
  o.Class1IDs[0] = 7;
  o.Class2IDs[0] = 116;
  o.Class2IDs[11] = 121;
  CommParams p35 = LinkParams(1, 35);
  ASSERT_EQ(fnQuibra_WriteDisplays_Other_VC8Z(&p35, &o), 1);
  EXPECT_EQ(ids(), (std::vector<int32_t>{9089, 9089, 9089, 9089, 9088}));
  const int32_t d35 = area(sim::Area::Display);
  EXPECT_EQ(vc8.memory(d35 + 249, 1), Bytes{0x22});
  EXPECT_EQ(vc8.memory(d35 + 263, 1), Bytes{24});
  EXPECT_EQ(vc8.memory(d35 + 286, 1), Bytes{42});
  EXPECT_EQ(vc8.memory(d35 + 299, 1), Bytes{8});
  DisplaysOther other_back{};
  ASSERT_EQ(fnQuibra_ReadDisplays_Other_VC8Z(&p35, &other_back), 1);
  EXPECT_TRUE(SameRecord(o, other_back));
}

TEST_F(AreasOnSimTest, OdometersOverInfraredAndBySound) {
  sim::Unit& k55 = sim_.attach(22, 3);
  OdometerSettings o{16, 123456, 7, 22};
  CommParams p = infrared();
  ASSERT_EQ(fnQuibra_WriteOdometer(&p, &o), 1);
  EXPECT_EQ(k55.memory(106, 6), (Bytes{0x56, 0x34, 0x12, 0x07, 0x00, 0x00}));
  OdometerSettings back{};
  ASSERT_EQ(fnQuibra_ReadOdometer(&p, &back), 1);
  EXPECT_TRUE(SameRecord(o, back));
  o.MonitorType = 23;  // not the unit's type: its odometers lie elsewhere
  EXPECT_EQ(fnQuibra_WriteOdometer(&p, &o), 0);
  // By sound, without identification, in two messages.
  CommParams s = sound();
  o = {16, 10, 999999, 10};
  ASSERT_EQ(fnQuibra_WriteOdometer(&s, &o), 1);
  ASSERT_EQ(speaker_.heard.size(), 2u);
  EXPECT_EQ(Bytes(speaker_.heard[1].begin() + 9, speaker_.heard[1].begin() + 12),
            (Bytes{0x99, 0x99, 0x99}));
}

TEST_F(AreasOnSimTest, FitnessTestResultsFromTheUnits) {
  // A type 37 unit with 20 results counted (16 at most), result 0 in entry 2.
  sim::Unit& pr9 = identified(37, 0);
  const int32_t table = area(sim::Area::Display) + 70;
  ASSERT_TRUE(pr9.set_memory(table + 12, Bytes{0x4F, 0x0E, 4, 100, 150, 180}));
  ASSERT_TRUE(pr9.set_memory(table + 96, Bytes{2}));
  ASSERT_TRUE(pr9.set_memory(table + 113, Bytes{20}));
  EXPECT_EQ(fnQuibra_ReadLoadGaugeResults(0, 0, 0), 16);
  LoadGaugeResult r{};
  ASSERT_EQ(fnQuibra_GetLoadGaugeResult(0, 37, &r), 1);
  EXPECT_EQ(r.TestDate, 20070215);
  EXPECT_EQ(r.HeartRate3, 180);
  // FitGauge: 2008-03-01 value 42, then no second test.
  ASSERT_TRUE(pr9.set_memory(area(sim::Area::Display) + 190, Bytes{0x61, 0x10, 42, 0, 0, 0}));
  FitGaugeResults f{};
  ASSERT_EQ(fnQuibra_ReadFitGaugeResults(0, &f, 37), 1);
  EXPECT_EQ(f.FirstDate, 20080301);
  EXPECT_EQ(f.FirstValue, 42);
  EXPECT_EQ(f.SecondDate, 0);

  // A type 22 unit of variant 3: areas 47 and 48 at 642 and 684; FitGauge in area 52 at 79.
  sim::Unit& k55 = sim_.attach(22, 3);
  ASSERT_TRUE(k55.set_memory(642, Bytes{0x15, 0x07, 0x36, 60, 120, 150}));
  ASSERT_TRUE(k55.set_memory(684, Bytes{0x01, 0x08, 0x91, 70, 130, 160}));
  EXPECT_EQ(fnQuibra_ReadLoadGaugeResults(0, 0, 0), 14);
  ASSERT_EQ(fnQuibra_GetLoadGaugeResult(0, 22, &r), 1);
  EXPECT_EQ(r.TestDate, 20070615);
  EXPECT_EQ(r.Rating, 3);
  ASSERT_EQ(fnQuibra_GetLoadGaugeResult(7, 22, &r), 1);
  EXPECT_EQ(r.TestDate, 20080101);
  EXPECT_EQ(r.Rating, 9);
  // The first result: day, year, month (high nibble 8: one more), value; then the second.
  ASSERT_TRUE(k55.set_memory(79 + 16, Bytes{0x28, 0x07, 0x82, 45, 0x01, 0x08, 0x03, 47}));
  ASSERT_EQ(fnQuibra_ReadFitGaugeResults(0, &f, 22), 1);
  EXPECT_EQ(f.FirstDate, 20070228);
  EXPECT_EQ(f.FirstValue, 46);
  EXPECT_EQ(f.SecondDate, 20080301);
  EXPECT_EQ(f.SecondValue, 47);
  ASSERT_TRUE(k55.set_memory(79 + 16, Bytes{0x28, 0x25, 0x02}));  // 2025: after today
  EXPECT_EQ(fnQuibra_ReadFitGaugeResults(0, &f, 22), 0);
}

TEST_F(AreasOnSimTest, OnlineRecordingSwitchedInTheUnitsMemory) {
  struct Case {
    int32_t type, variant, from_bike_bytes;  // where the pair lies, from the bytes 19-20 value
    bool state_copy;
  };
  for (const Case c : {Case{33, 0, -2, false}, {35, 4, -2, false}, {36, 0, 42, true},
                       {37, 4, 42, false}, {37, 6, 43, true}, {38, 0, 87, false}}) {
    SCOPED_TRACE(::testing::Message() << c.type << "/" << c.variant);
    sim::Unit& unit = identified(c.type, c.variant);
    const int32_t at = area(sim::Area::Bike) + c.from_bike_bytes;
    ASSERT_TRUE(unit.set_memory(at, Bytes{0x92, 0x31}));  // bit 7 alone: not on
    CommParams p = LinkParams(1, c.type);
    ASSERT_EQ(fnQuibra_ActivateOnlineRecording(&p, 1), 1);
    EXPECT_EQ(unit.memory(at, 2), (Bytes{0x92, 0x35}));
    const std::vector<int32_t> with_copy = {9090, 9089, 9090, 9089, 9088};
    const std::vector<int32_t> without = {9090, 9089, 9088};
    EXPECT_EQ(ids(), c.state_copy ? with_copy : without);
    // Already on: read, nothing written.
    unit.clear_requests();
    ASSERT_EQ(fnQuibra_ActivateOnlineRecording(&p, 1), 1);
    EXPECT_EQ(ids(), (std::vector<int32_t>{9090}));
    ASSERT_EQ(fnQuibra_ActivateOnlineRecording(&p, 0), 1);
    EXPECT_EQ(unit.memory(at, 2), (Bytes{0x12, 0x31}));
  }
  // Types without the setting are refused before anything is sent.
  identified(34, 0);
  CommParams p = LinkParams(1, 34);
  EXPECT_EQ(fnQuibra_ActivateOnlineRecording(&p, 1), 0);
  EXPECT_TRUE(ids().empty());
}

}  // namespace
}  // namespace quibra::testing
