// `quibra settings get|set` with the training groups of the running and cycling units, as a
// user runs them against simulated units.
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

TEST(TrainingCli, MonitorSettingsAndZonesOnTheirUnits) {
  quibra::sim::Unit unit(36, 0);
  quibra::sim::SerialLink line(unit, false, quibra::sim::SerialLink::kDefaultTurnaround,
                               quibra::sim::SerialLink::Framing::ShortFormBlocks);
  const std::string port = line.start();
  ASSERT_FALSE(port.empty());
  const std::string on_unit = " --link irda --port " + port + " 2>&1";
  const int32_t display =
      unit.identification().areas[static_cast<size_t>(quibra::sim::Area::Display)];
  CliRun run = RunCli("settings set monitor" + on_unit + " <<< '{\"Contrast\": 6}'");
  ASSERT_EQ(run.exit_code, 0) << run.output;
  EXPECT_EQ(unit.memory(display, 1), Bytes{6});
  run = RunCli("settings get monitor" + on_unit);
  ASSERT_EQ(run.exit_code, 0) << run.output;
  EXPECT_NE(run.output.find("\"Contrast\": 6"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("\"AutoLapDistance\": 1000"), std::string::npos) << run.output;
  // The targets cannot be read back; the zones belong to another type.
  EXPECT_EQ(RunCli("settings get targets" + on_unit).exit_code, 2);
  run = RunCli("settings set zones --from-defaults" + on_unit + " <<< '{}'");
  EXPECT_EQ(run.exit_code, 1) << run.output;
  line.stop();
}

}  // namespace
