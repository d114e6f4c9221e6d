// Monitor settings, exercise settings, training targets and sport zones of the running and
// cycling units: hand-worked bytes against the layouts, and round trips against simulated units
// of every type each export takes (the newer ones on a stand-in IrDA stack).
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "frame/module.h"
#include "platform/registry.h"
#include "platform/scaled_clock.h"
#include "prvc/exercise_settings_prvc.h"
#include "prvc/monitor_settings.h"
#include "prvc/sport_zones.h"
#include "prvc/targets.h"
#include "quibra/quibra.h"
#include "support/comm_params.h"
#include "support/module_fixture.h"
#include "support/prvc_unit.h"
#include "unit.h"

namespace quibra::testing {
namespace {

using Bytes = std::vector<uint8_t>;
using Ids = std::vector<int32_t>;
constexpr int32_t kNewerTypes[] = {33, 34, 35, 36, 37, 38};

class TrainingSettingsTest : public PrvcUnitTest {
 protected:
  void SetUp() override {
    PrvcUnitTest::SetUp();
    clock_.fix_local_time({2024, 3, 10, 0, 14, 5, 9, 0});
  }

  // A unit of the type, identified, its requests cleared.
  sim::Unit& attach(int32_t type) {
    line_.attach(type, 0, sim::DefaultProductCode(type), irda_older_);
    unit_ = &line_.unit();
    params_ = LinkParams(1, type);
    if (type >= 33) {
      MonitorInfo info{};
      info.MonitorInUse = -1;
      EXPECT_EQ(fnQuibra_ReadMonitorInfo(&params_, &info), 1);
    }
    unit_->clear_requests();
    return *unit_;
  }

  Ids ids() const {
    Ids out;
    for (const auto& r : unit_->requests()) {
      if (out.empty() || out.back() != r.id || r.id != 9088) out.push_back(r.id);
    }
    return out;
  }

  bool irda_older_ = false;
  sim::Unit* unit_ = nullptr;
  CommParams params_{};
};

PrvcMonitorSettings Monitor(int32_t type) {
  PrvcMonitorSettings r{};
  r.Size = sizeof r;
  r.UnitType = type;
  r.Imperial = 1;
  r.KeyLock = 1;
  r.HeartRateView = 2;
  r.SpeedView = 1;
  r.Language = 3;
  r.AutoLapOn = 1;
  r.AutoLapDistance = 1609;  // kept as 160 tens
  r.RecordingInterval = 15;  // code 2
  r.Contrast = 9;            // becomes 4
  r.SpeedSensorOn = 1;
  r.StrideSensorOn = 1;
  return r;
}

// Switches 1 + 4 + 16, views 2 | 1 << 4, language 3, 160 tens (0x60, 0x01), code 2.
const Bytes kMonitorSettingsArea = {0x15, 0x12, 3, 0x60, 0x01, 2};

TEST_F(TrainingSettingsTest, MonitorSettingsPreparedByHand) {
  attach(36);
  PrvcMonitorSettings r = Monitor(36);
  ASSERT_EQ(fnQuibra_PrepareMonitorSettings_PRVC_X(&r), 1);
  EXPECT_EQ(r.AutoLapDistance, 1600);
  EXPECT_EQ(r.Contrast, 4);
  // The write command of type 36 (0xAC) at the settings area (for type 36 the bike area, 1150),
  // then the six bytes.
  Bytes command;
  for (int32_t i = 5; i < 18; ++i)
    command.push_back(module().banks.scratch(i));
  EXPECT_EQ(command, (Bytes{0xAC, 0, 0, 0x7E, 0x04, 0, 0, 0x15, 0x12, 3, 0x60, 0x01, 2}));
  const prvc::MonitorSettingsBytes bytes = prvc::PackMonitorSettings(r);
  EXPECT_EQ(bytes.sensors, 0x05);
  EXPECT_EQ(bytes.display, 4);
  // A switch other than 0 or 1, or a type other than the unit's, is refused with 104.
  r.KeyLock = 2;
  EXPECT_EQ(fnQuibra_PrepareMonitorSettings_PRVC_X(&r), 0);
  EXPECT_EQ(fnQuibra_GetErrorCode(), 104);
  r = Monitor(38);
  EXPECT_EQ(fnQuibra_PrepareMonitorSettings_PRVC_X(&r), 0);
}

TEST_F(TrainingSettingsTest, MonitorSettingsRoundTripOnEveryNewerType) {
  for (const int32_t type : kNewerTypes) {
    SCOPED_TRACE(type);
    sim::Unit& unit = attach(type);
    const int32_t settings = module().memory_map.settings_area;
    const int32_t sensors = module().memory_map.sensor_area;
    ASSERT_TRUE(unit.set_memory(settings, Bytes{0xE2}));
    ASSERT_TRUE(unit.set_memory(sensors, Bytes{0xFA}));
    PrvcMonitorSettings sent = Monitor(type);
    ASSERT_EQ(fnQuibra_SendMonitorSettings_PRVC(&params_, &sent), 1);
    // The unit's own bits stay; the record's replace the rest.
    EXPECT_EQ(unit.memory(settings, 6), (Bytes{0xF5, 0x12, 3, 0x60, 0x01, 2}));
    EXPECT_EQ(unit.memory(sensors, 1), Bytes{0xF5});
    EXPECT_EQ(unit.memory(module().memory_map.display_area, 1), Bytes{4});
    PrvcMonitorSettings read{};
    ASSERT_EQ(fnQuibra_ReadMonitorSettings_PRVC(&params_, &read), 1);
    EXPECT_EQ(std::memcmp(&read, &sent, sizeof read), 0);
  }
  // Settings area, sensor area (each read first for the unit's bits), display area, the
  // state-byte copy and the restore; then the three reads.
  EXPECT_EQ(ids(), (Ids{9090, 9089, 9090, 9089, 9089, 9090, 9089, 9088, 9090, 9090, 9090}));
}

TEST_F(TrainingSettingsTest, MonitorSettingsRefusedBeforeSendingAndFailingMidWrite) {
  sim::Unit& unit = attach(35);
  PrvcMonitorSettings fresh{};
  ASSERT_EQ(fnQuibra_ReadMonitorSettings_PRVC(&params_, &fresh), 1);
  EXPECT_EQ(fresh.ButtonSound, 1);
  EXPECT_EQ(fresh.AutoLapDistance, 1000);
  EXPECT_EQ(fresh.RecordingInterval, 5);
  unit.clear_requests();
  PrvcMonitorSettings r = Monitor(36);  // the unit is a 35
  EXPECT_EQ(fnQuibra_SendMonitorSettings_PRVC(&params_, &r), 0);
  EXPECT_EQ(fnQuibra_GetErrorCode(), 104);
  r = Monitor(35);
  r.PowerSensorOn = -1;
  EXPECT_EQ(fnQuibra_SendMonitorSettings_PRVC(&params_, &r), 0);
  EXPECT_TRUE(unit.requests().empty());
  unit.queue_fault(sim::Fault{sim::FaultKind::NoAnswer, 9089, true});
  r = Monitor(35);
  EXPECT_EQ(fnQuibra_SendMonitorSettings_PRVC(&params_, &r), 0);
  EXPECT_EQ(ids().back(), 9089);  // tried again and again, then given up: no restore
  EXPECT_EQ(line_.count(9088), 0u);
}

PrvcExerciseSettings Exercise(int32_t type) {
  PrvcExerciseSettings r{};
  r.Size = sizeof r;
  r.UnitType = type;
  std::strcpy(r.Name, "Tempo");
  r.Timer1On = 1;
  r.Timer1 = 5 * 60 + 30;
  r.Timer2 = 7000;  // becomes 120
  r.ZoneMode = 2;   // percent
  r.Lower1 = 65;
  r.Upper1 = 75;
  r.Lower2 = 75;
  r.Upper2 = 200;  // no percentage: the zone's default, 80
  r.Lower3 = 85;
  r.Upper3 = 95;
  r.RecoveryOn = 1;
  r.RecoveryHR = 30;  // becomes 100
  return r;
}

// "Tempo" in table 5 (T e m p o), the last letter and the spaces after it marked; timer
// switches, 5:30 and 2:00 as seconds and minutes, percent zones. Area 2: the limits. Area 3:
// recovery on (the unit's bits 0xA4 kept), 100.
const Bytes kExerciseArea1 = {0x1E, 0x29, 0x31, 0x34, 0xB3, 0x8A, 0x8A, 0x8A,
                              0x8A, 0x8A, 0x01, 0x30, 0x05, 0x00, 0x02, 2};
const Bytes kExerciseArea2 = {65, 75, 75, 80, 85, 95};

TEST_F(TrainingSettingsTest, ExerciseSettingsByHandAndRoundTripOnEveryNewerType) {
  for (const int32_t type : kNewerTypes) {
    SCOPED_TRACE(type);
    sim::Unit& unit = attach(type);
    const prvc::UnitMemoryMap& map = module().memory_map;
    ASSERT_TRUE(unit.set_memory(map.exercise_area3, Bytes{0xA4}));
    PrvcExerciseSettings sent = Exercise(type);
    ASSERT_EQ(fnQuibra_PRVC_SendExerciseSettings(&params_, &sent), 1);
    EXPECT_EQ(unit.memory(map.exercise_area1, 16), kExerciseArea1);
    EXPECT_EQ(unit.memory(map.exercise_area2, 6), kExerciseArea2);
    EXPECT_EQ(unit.memory(map.exercise_area3, 2), (Bytes{0xA5, 100}));
    PrvcExerciseSettings read{};
    ASSERT_EQ(fnQuibra_PRVC_ReadExerciseSettings(&params_, &read), 1);
    EXPECT_EQ(std::memcmp(&read, &sent, sizeof read), 0);
  }
  // A name table 5 lacks, crossed limits or a type other than the unit's: 104, nothing sent;
  // a write the unit stops answering gives 0.
  unit_->clear_requests();
  PrvcExerciseSettings r = Exercise(38);
  std::strcpy(r.Name, "a;b");
  EXPECT_EQ(fnQuibra_PRVC_SendExerciseSettings(&params_, &r), 0);
  EXPECT_EQ(fnQuibra_GetErrorCode(), 104);
  r = Exercise(38);
  r.Lower3 = 96;
  EXPECT_EQ(fnQuibra_PRVC_SendExerciseSettings(&params_, &r), 0);
  r = Exercise(37);
  EXPECT_EQ(fnQuibra_PRVC_SendExerciseSettings(&params_, &r), 0);
  EXPECT_TRUE(unit_->requests().empty());
  unit_->queue_fault(sim::Fault{sim::FaultKind::NoAnswer, 9089, true});
  r = Exercise(38);
  EXPECT_EQ(fnQuibra_PRVC_SendExerciseSettings(&params_, &r), 0);
  PrvcExerciseSettings untouched = Exercise(38);
  params_.MonitorType = 38;
  unit_->queue_fault(sim::Fault::Silence());
  EXPECT_EQ(fnQuibra_PRVC_ReadExerciseSettings(&params_, &untouched), 0);
  EXPECT_STREQ(untouched.Name, "Tempo");
}

TEST_F(TrainingSettingsTest, TargetsByHandAndReadBackOnEveryNewerType) {
  PrvcDailyTargets daily{};
  daily.Size = sizeof daily;
  daily.Minutes[0] = 45;
  daily.Zone[0] = 3;
  daily.Distance[0] = 120;
  daily.Minutes[6] = 905;
  daily.Zone[6] = 9;          // no zone: 0
  daily.Distance[6] = 10000;  // no target: 0
  PrvcWeeklyTargets weekly{};
  weekly.Size = sizeof weekly;
  weekly.TargetsOn = 1;
  weekly.TotalMinutes = 300;
  weekly.Sessions = 4;
  weekly.Distance = 456;
  weekly.ZoneMinutes[0] = 10;
  weekly.ZoneMinutes[1] = 20;
  weekly.ZoneMinutes[2] = 1234;
  weekly.ZoneMinutes[4] = 99999;
  Bytes daily_area(35, 0);
  const Bytes monday = {0x45, 0x00, 3, 0x20, 0x01};
  const Bytes sunday = {0x05, 0x09, 0, 0, 0};
  std::copy(monday.begin(), monday.end(), daily_area.begin());
  std::copy(sunday.begin(), sunday.end(), daily_area.begin() + 30);
  const Bytes weekly_area = {0x00, 0x03, 0x04, 0x56, 0x04, 0x10, 0x00, 0x20,
                             0x00, 0x34, 0x12, 0,    0,    0,    0};
  for (const int32_t type : kNewerTypes) {
    SCOPED_TRACE(type);
    sim::Unit& unit = attach(type);
    const prvc::UnitMemoryMap& map = module().memory_map;
    ASSERT_TRUE(unit.set_memory(map.exercise_area3 + 2, Bytes{0x80}));
    daily.UnitType = weekly.UnitType = type;
    ASSERT_EQ(fnQuibra_PRVC_SendDailyTargets(&params_, &daily), 1);
    ASSERT_EQ(fnQuibra_PRVC_SendWeeklyTargets(&params_, &weekly), 1);
    EXPECT_EQ(unit.memory(map.daily_targets, 35), daily_area);
    EXPECT_EQ(unit.memory(map.weekly_targets, 15), weekly_area);
    EXPECT_EQ(unit.memory(map.exercise_area3 + 2, 1), Bytes{0x81});
  }
  EXPECT_EQ(daily.Distance[6], 0);
  unit_->clear_requests();
  weekly.TargetsOn = 2;
  EXPECT_EQ(fnQuibra_PRVC_SendWeeklyTargets(&params_, &weekly), 0);
  daily.UnitType = 30;
  EXPECT_EQ(fnQuibra_PRVC_SendDailyTargets(&params_, &daily), 0);
  EXPECT_EQ(fnQuibra_GetErrorCode(), 104);
  EXPECT_TRUE(unit_->requests().empty());
}

TEST_F(TrainingSettingsTest, SportZonesOfAType30Unit) {
  irda_older_ = true;  // the area write in its IrDA form
  sim::Unit& pr3 = attach(30);
  PR3SportZones zones{sizeof zones, 30, {55, 65, 72, 81, 90}, {65, 72, 81, 90, 98}};
  ASSERT_EQ(fnQuibra_PRVC_SendPR3SportZones(&params_, &zones), 1);
  EXPECT_EQ(pr3.memory(451, 10), (Bytes{55, 65, 65, 72, 72, 81, 81, 90, 90, 98}));
  EXPECT_EQ(ids(), Ids{9007});
  // Overlapping zones, a limit past 100 or a record of another type: 104, nothing sent.
  pr3.clear_requests();
  PR3SportZones bad = zones;
  bad.Lower[2] = 70;
  EXPECT_EQ(fnQuibra_PRVC_SendPR3SportZones(&params_, &bad), 0);
  bad = zones;
  bad.Upper[4] = 101;
  EXPECT_EQ(fnQuibra_PRVC_SendPR3SportZones(&params_, &bad), 0);
  bad = zones;
  bad.UnitType = 31;
  EXPECT_EQ(fnQuibra_PRVC_SendPR3SportZones(&params_, &bad), 0);
  EXPECT_EQ(fnQuibra_GetErrorCode(), 104);
  EXPECT_TRUE(pr3.requests().empty());
}

}  // namespace
}  // namespace quibra::testing
