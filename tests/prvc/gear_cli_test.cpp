// The bikes and shoes of the running and cycling units in the quibra tool: each unit's own pair
// of exports, chosen by the type it reports.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "serial_link.h"
#include "support/cli_run.h"
#include "unit.h"

namespace quibra::testing {
namespace {

TEST(GearCli, BikesAndShoesGoByTheUnitsOwnExports) {
  sim::Unit vc8z(34, 2, 167);
  sim::SerialLink line(vc8z, false, sim::SerialLink::kDefaultTurnaround,
                       sim::SerialLink::Framing::ShortFormBlocks);
  const std::string at = " --link irda --port " + line.start();
  const CliRun sent = RunCli("settings set bikes" + at + " <<< '{\"BikeInUse\": 3}'");
  ASSERT_EQ(sent.exit_code, 0) << sent.output;
  const sim::Identification id = vc8z.identification();
  EXPECT_EQ(vc8z.memory(id.areas[static_cast<size_t>(sim::Area::Bike)], 1),
            std::vector<uint8_t>{2});
  const CliRun read = RunCli("settings get bikes" + at + " 2>/dev/null");
  ASSERT_EQ(read.exit_code, 0) << read.output;
  const auto bikes = nlohmann::ordered_json::parse(read.output.substr(read.output.find('{')));
  EXPECT_EQ(bikes["BikeInUse"], 3);
  EXPECT_EQ(bikes["Bikes"][2]["Name"], "Bike 3");
  // A cycling unit keeps no shoes: the library refuses it.
  EXPECT_EQ(RunCli("settings get shoes" + at + " 2>/dev/null").exit_code, 1);
}

}  // namespace
}  // namespace quibra::testing
