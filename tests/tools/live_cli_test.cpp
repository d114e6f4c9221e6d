// quibra live against a unit streaming beats on a pty: one JSON object per beat, and on Ctrl-C
// the recording is saved with its R-R data.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "beat_streamer.h"
#include "support/cli_run.h"
#include "support/test_folder.h"

namespace quibra::testing {
namespace {

TEST(LiveCli, StreamsBeatsAsJsonAndSavesOnCtrlC) {
  sim::BeatStreamer unit(1.0, true);
  const std::string port = unit.start();
  ASSERT_FALSE(port.empty());
  const std::string out = TestFolder() + "/live.hrm";
  CliProcess cli({"live", "--port", port, "--json", "--correct-missed", "--out", out});
  sim::BeatScript script;
  script.steady(4, 400).then(sim::BeatStep::Missed, 400).steady(3, 400);
  // The tool has its link open once it reads; the beats start a moment later.
  std::this_thread::sleep_for(std::chrono::milliseconds(700));
  unit.play(script);
  unit.wait();
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  cli.Signal(SIGINT);
  const CliRun run = cli.Finish();
  EXPECT_EQ(run.exit_code, 0) << run.output;
  // 6 intervals after the first frame, the one across the missed beat split in two.
  std::vector<std::string> beats;
  std::istringstream lines(run.output);
  for (std::string line; std::getline(lines, line);)
    if (line.rfind("{\"time_ms\":", 0) == 0) beats.push_back(line);
  ASSERT_EQ(beats.size(), 7U) << run.output;
  EXPECT_NE(beats[3].find("\"rr_ms\":397,\"hr\":151"), std::string::npos) << beats[3];
  std::ifstream file(out, std::ios::binary);
  std::stringstream hrm;
  hrm << file.rdbuf();
  EXPECT_NE(hrm.str().find("[HRData]\r\n400\r\n400\r\n400\r\n397\r\n403\r\n"), std::string::npos)
      << hrm.str();
}

}  // namespace
}  // namespace quibra::testing
