// The settings groups of the running and cycling units in the quibra tool: the unit is
// identified first, and its own records go as JSON.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "serial_link.h"
#include "support/cli_run.h"
#include "unit.h"

namespace quibra::testing {
namespace {

nlohmann::ordered_json JsonOf(const CliRun& run) {
  return nlohmann::ordered_json::parse(run.output.substr(run.output.find('{')));
}

TEST(PrvcSettingsCli, NewerUnitGroupsGoByTheirOwnRecords) {
  sim::Unit pr6(36, 2, 172);
  sim::SerialLink line(pr6, false, sim::SerialLink::kDefaultTurnaround,
                       sim::SerialLink::Framing::ShortFormBlocks);
  const std::string at = " --link irda --port " + line.start();
  const CliRun sent = RunCli("settings set user --from-defaults" + at +
                             " <<< '{\"Text1\": \"Ann\", \"WeightKg\": 80, \"VO2max\": 5}'");
  ASSERT_EQ(sent.exit_code, 0) << sent.output;
  EXPECT_NE(sent.output.find("VO2max 5 was stored as 45"), std::string::npos) << sent.output;
  // 176 lb as the unit keeps it (tenths), in user area 1 the identification announced.
  const sim::Identification id = pr6.identification();
  EXPECT_EQ(pr6.memory(id.areas[static_cast<size_t>(sim::Area::User1)], 2),
            (std::vector<uint8_t>{0xE0, 0x06}));
  const CliRun read = RunCli("settings get user" + at + " 2>/dev/null");
  ASSERT_EQ(read.exit_code, 0) << read.output;
  const auto user = JsonOf(read);
  EXPECT_EQ(user["UnitType"], 36);
  EXPECT_EQ(user["Text1"], "Ann");
  EXPECT_EQ(user["WeightLb"], 176);

  // The watch area as the unit keeps it: 07:00 with alarm mode 2.
  ASSERT_TRUE(pr6.set_memory(id.areas[static_cast<size_t>(sim::Area::Watch)] - 5,
                             std::vector<uint8_t>{0, 0, 0x00, 0x07, 2}));
  const auto watch = JsonOf(RunCli("settings get watch" + at + " 2>/dev/null"));
  EXPECT_EQ(watch["AlarmTime"], 25200);
  EXPECT_EQ(watch["AlarmOn"], 1);
  const auto reminders = JsonOf(RunCli("settings get reminders" + at + " 2>/dev/null"));
  EXPECT_EQ(reminders["Reminders"].size(), 7u);
  // A field of the older units' record is not one of these units'.
  EXPECT_EQ(RunCli("settings set user" + at + " <<< '{\"Name\": \"Ann\"}'").exit_code, 2);
}

TEST(PrvcSettingsCli, RemindersAreTheNewerUnitsOwn) {
  sim::Unit k55(22, 1);
  sim::SerialLink line(k55);
  const CliRun run = RunCli("settings get reminders --port " + line.start());
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.output.find("kept by the running and cycling units only"), std::string::npos)
      << run.output;
  EXPECT_EQ(RunCli("settings set reminders --from-defaults --sound x.wav").exit_code, 2);
}

TEST(PrvcSettingsCli, OlderUnitsOfTheFamilyTakeWatchSettingsByType) {
  struct Case {
    int32_t type, message;
  };
  for (const Case c : {Case{31, 9077}, {30, 9084}}) {
    SCOPED_TRACE(c.type);
    sim::Unit unit(c.type, 0);
    sim::SerialLink line(unit);
    const std::string at = " --type " + std::to_string(c.type) + " --port " + line.start();
    const CliRun sent = RunCli("settings set watch --from-defaults" + at +
                               " <<< '{\"AlarmTime\": 27000, \"AlarmMode\": 2}'");
    ASSERT_EQ(sent.exit_code, 0) << sent.output;
    const auto log = unit.requests();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].id, c.message);
    // From image byte 12: the alarm's minutes and hours in BCD, then its mode.
    ASSERT_GE(log[0].payload.size(), 10u);
    EXPECT_EQ(std::vector<uint8_t>(log[0].payload.begin() + 7, log[0].payload.begin() + 10),
              (std::vector<uint8_t>{0x30, 0x07, 2}));
    // These units cannot be asked for them.
    EXPECT_EQ(RunCli("settings get watch" + at).exit_code, 2);
  }
}

}  // namespace
}  // namespace quibra::testing
