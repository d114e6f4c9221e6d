// `quibra settings get|set` with the groups of the running and cycling units and `quibra tests
// get`, as a user runs them against simulated units.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "serial_link.h"
#include "support/cli_run.h"
#include "unit.h"

namespace {

using quibra::testing::CliRun;
using quibra::testing::RunCli;
using Bytes = std::vector<uint8_t>;

bool Printed(const CliRun& run, const std::string& text) {
  return run.output.find(text) != std::string::npos;
}

TEST(AreasCli, TotalsDisplaysAndTestResultsOfANewerUnit) {
  quibra::sim::Unit unit(37, 0);
  quibra::sim::SerialLink line(unit, false, quibra::sim::SerialLink::kDefaultTurnaround,
                               quibra::sim::SerialLink::Framing::ShortFormBlocks);
  const std::string port = line.start();
  ASSERT_FALSE(port.empty());
  const std::string on_unit = " --link irda --port " + port + " 2>&1";
  const auto id = unit.identification();
  const int32_t totals = id.areas[static_cast<size_t>(quibra::sim::Area::Totals)];
  const int32_t display = id.areas[static_cast<size_t>(quibra::sim::Area::Display)];

  CliRun run = RunCli("settings set totals" + on_unit + " <<< '{\"Counter30\": 123456}'");
  ASSERT_EQ(run.exit_code, 0) << run.output;
  EXPECT_EQ(unit.memory(totals + 34, 5), (Bytes{0x56, 0x34, 0x12, 0x21, 0x0E}));
  run = RunCli("settings get totals" + on_unit);
  ASSERT_EQ(run.exit_code, 0) << run.output;
  EXPECT_TRUE(Printed(run, "\"Counter30\": 123456")) << run.output;
  EXPECT_TRUE(Printed(run, "\"Counter30Date\": 20070101")) << run.output;

  // Type 37 keeps the other display layout; a type-38 field is not one of its fields.
  run = RunCli("settings set displays" + on_unit + " <<< '{\"Class1IDs\": [6]}'");
  ASSERT_EQ(run.exit_code, 0) << run.output;
  EXPECT_EQ(unit.memory(display + 299, 1), Bytes{6});
  run = RunCli("settings set displays" + on_unit + " <<< '{\"SwitchSet1\": [1]}'");
  EXPECT_EQ(run.exit_code, 2) << run.output;

  ASSERT_TRUE(unit.set_memory(display + 70, Bytes{0x4F, 0x0E, 4, 100, 150, 180}));
  ASSERT_TRUE(unit.set_memory(display + 70 + 113, Bytes{1}));
  run = RunCli("tests get loadgauge" + on_unit);
  ASSERT_EQ(run.exit_code, 0) << run.output;
  EXPECT_TRUE(Printed(run, "\"TestDate\": 20070215")) << run.output;
  EXPECT_TRUE(Printed(run, "\"Valid\": true")) << run.output;
  run = RunCli("tests get fitgauge" + on_unit);
  EXPECT_EQ(run.exit_code, 1) << run.output;  // no test run yet
  line.stop();
}

TEST(AreasCli, AnOlderUnitKeepsItsOdometersOnly) {
  quibra::sim::Unit unit(22, 3);
  quibra::sim::SerialLink line(unit);
  const std::string port = line.start();
  ASSERT_FALSE(port.empty());
  CliRun run = RunCli("settings set odometer --port " + port + " 2>&1 <<< '{\"Bike2\": 4321}'");
  ASSERT_EQ(run.exit_code, 0) << run.output;
  EXPECT_EQ(unit.memory(109, 3), (Bytes{0x21, 0x43, 0x00}));
  run = RunCli("settings get totals --port " + port + " 2>&1");
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_TRUE(Printed(run, "(monitor type 22) keeps no totals")) << run.output;
  EXPECT_EQ(RunCli("settings set totals --sound x.wav --from-defaults < /dev/null").exit_code, 2);
  line.stop();
}

}  // namespace
