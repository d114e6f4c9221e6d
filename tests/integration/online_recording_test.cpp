// Online recording end to end: a simulated unit streams a scripted heart rate over a real pty
// while the library records it, and the saved HRM file holds what the script played.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "beat_streamer.h"
#include "platform/registry.h"
#include "platform/scaled_clock.h"
#include "quibra/quibra.h"
#include "support/forwarding_clock.h"
#include "support/module_fixture.h"
#include "support/test_folder.h"

namespace quibra::testing {
namespace {

// A hundredth would leave the library a tenth of a second to read sixteen frames (their
// numbers then wrap), which a busy machine does not always give it.
constexpr double kScale = 0.03;

// The online thread clears the line when it starts, and asks the clock for its frequency once
// that is done: what a unit sends before then is rightly not part of the recording, so a script
// is played only after it.
class LineClearedClock : public ForwardingClock {
 public:
  using ForwardingClock::ForwardingClock;
  uint64_t performance_frequency() override {
    asked_ = true;
    return inner_.performance_frequency();
  }
  bool sleep_ms_unless(uint32_t ms, platform::WakeSignal& wake) override {
    return inner_.sleep_ms_unless(ms, wake);
  }
  // Waits (in real time, however busy the machine) until the online thread has asked.
  bool WaitUntilAsked() const {
    for (int i = 0; i < 10000 && !asked_; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return asked_;
  }

 private:
  std::atomic<bool> asked_{false};
};

class OnlineOverPtyTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    platform::set_clock(&line_clock_);
  }
  void TearDown() override {
    frame::UnloadModule();  // the online thread ends before the line goes
    streamer_.stop();
    platform::set_clock(nullptr);
    ModuleTest::TearDown();
  }

  // Plays the script to a recording started with the options, polling the ring as an
  // application does and marking a lap every `lap_every` polls. The stored intervals.
  std::vector<int32_t> Record(const sim::BeatScript& script, int32_t options, int lap_every) {
    const std::string path = streamer_.start();
    EXPECT_FALSE(path.empty());
    EXPECT_EQ(fnQuibra_StartIRCommunication(options, path.c_str()), 1);
    EXPECT_EQ(fnQuibra_PauseOnline(0), 1);
    EXPECT_TRUE(line_clock_.WaitUntilAsked());
    streamer_.play(script);
    std::vector<int32_t> buffer(601);
    int polls = 0;
    while (streamer_.frames_sent() < static_cast<int>(script.steps.size()) - missing_frames_) {
      if (fnQuibra_GetRealOnlineData(0, buffer.data()) == 0) polled_ += buffer[0];
      if (++polls % lap_every == 0) fnQuibra_AddOnlineLaptime(0);
      clock_.sleep_ms(500);
    }
    streamer_.wait();
    // The last frame is read within a pass or two.
    clock_.sleep_ms(1000);
    errors_ = {fnQuibra_GetSCErrorData(0), fnQuibra_GetSCErrorData(1)};
    EXPECT_EQ(fnQuibra_EndIRCommunication(0), 1);
    std::vector<int32_t> stored;
    for (int32_t i = 0; i < fnQuibra_GetNbrOfOnlineSamples(0); ++i)
      stored.push_back(fnQuibra_GetOnlineSample(0, 1, i));
    return stored;
  }

  platform::ScaledClock clock_{kScale};
  LineClearedClock line_clock_{clock_};
  sim::BeatStreamer streamer_{kScale};
  int missing_frames_ = 0;  // script steps that write no frame
  int polled_ = 0;
  std::vector<int32_t> errors_;
};

// About ten minutes: steady, rising, a plateau with missed beats, lost and corrupted frames, a
// silence, and a recovery.
sim::BeatScript TenMinutes() {
  using sim::BeatStep;
  sim::BeatScript s;
  s.steady(120, 800).then(BeatStep::Missed, 800).steady(60, 800);
  s.ramp(240, 800, 450).then(BeatStep::Corrupted, 450).steady(100, 450);
  s.then(BeatStep::Missed, 450).then(BeatStep::Missed, 450).steady(100, 450);
  s.then(BeatStep::Dropped, 450).steady(100, 450).then(BeatStep::Silence, 3000);
  s.ramp(200, 450, 700).then(BeatStep::Corrupted, 700).steady(200, 700);
  return s;
}

int CountOf(const sim::BeatScript& s, sim::BeatStep step) {
  int n = 0;
  for (const auto& st : s.steps)
    n += st.step == step ? 1 : 0;
  return n;
}

TEST_F(OnlineOverPtyTest, ScriptedRecordingIsStoredBeatForBeatAndSavedWithLaps) {
  const sim::BeatScript script = TenMinutes();
  ASSERT_GT(script.length_ms(), 9 * 60 * 1000);
  missing_frames_ = CountOf(script, sim::BeatStep::Missed) + CountOf(script, sim::BeatStep::Silence) +
                    CountOf(script, sim::BeatStep::Dropped);
  const std::vector<int32_t> stored = Record(script, 0x80 | 0x04, 10);
  const std::vector<int32_t> expected = script.expected(true);
  ASSERT_EQ(stored.size(), expected.size());
  EXPECT_EQ(stored, expected);
  // The missed beats were split (1601 after 800: 798 and 804; 1350 after 450: 448, 453 and
  // 449).
  for (const std::vector<int32_t>& split : {std::vector<int32_t>{800, 798, 804, 800},
                                           std::vector<int32_t>{450, 448, 453, 449, 450}}) {
    EXPECT_NE(std::search(stored.begin(), stored.end(), split.begin(), split.end()), stored.end());
  }
  // Both corrupted frames failed their check. A lost frame is a gap in the sequence numbers,
  // except where the numbers wrap (14 to 0, 15 to 1), which the count does not take as one.
  EXPECT_EQ(errors_[0], 2);
  EXPECT_GE(errors_[1], 1);
  EXPECT_LE(errors_[1], 3);
  EXPECT_GT(polled_, static_cast<int>(expected.size()) / 2);

  int64_t sum = 0;
  for (int32_t v : stored)
    sum += v;
  EXPECT_EQ(fnQuibra_GetOnlineRecParam(0, 11), sum);
  const int32_t laps = fnQuibra_GetNbrOfOnlineIntTimes(0);
  EXPECT_GT(laps, 3);

  const std::string file = TestFolder() + "/online.hrm";
  std::vector<char> path(260, 0);
  file.copy(path.data(), file.size());
  ASSERT_EQ(fnQuibra_SaveExerciseHRM(0, path.data(), 0), 1);
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  const std::string hrm = text.str();
  EXPECT_NE(hrm.find("Interval=238\r\n"), std::string::npos);
  const size_t data = hrm.find("[HRData]\r\n");
  ASSERT_NE(data, std::string::npos);
  std::istringstream rows(hrm.substr(data + 10));
  std::vector<int32_t> written;
  for (int32_t v = 0; rows >> v;)
    written.push_back(v);
  EXPECT_EQ(written, stored);
  const size_t int_times = hrm.find("[IntTimes]\r\n");
  ASSERT_NE(int_times, std::string::npos);
  const std::string block = hrm.substr(int_times, hrm.find("\r\n\r\n", int_times) - int_times);
  EXPECT_EQ(std::count(block.begin(), block.end(), '\n'), 5 * laps);
}

TEST_F(OnlineOverPtyTest, WithoutCorrectionMissedBeatsStayLongIntervals) {
  sim::BeatScript script;
  script.steady(20, 650).then(sim::BeatStep::Missed, 650).steady(20, 650);
  missing_frames_ = 1;
  const std::vector<int32_t> stored = Record(script, 0x80, 1000);
  EXPECT_EQ(stored, script.expected(false));
  EXPECT_EQ(std::count(stored.begin(), stored.end(), 1300), 1);
  EXPECT_EQ(errors_, (std::vector<int32_t>{0, 0}));
}

}  // namespace
}  // namespace quibra::testing
