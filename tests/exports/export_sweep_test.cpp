// Every export of the public header under hostile arguments: each argument in turn runs through
// the values of its kind while the others stay well formed. No call may crash (the sanitizer
// builds run this too) or outlast its time limit, a text returned is null or terminated, and a
// call that must refuse (a required pointer null, a record of impossible Size, a number outside
// a refused range) sends nothing on the line, plays nothing, writes no file and returns the
// failure result the header documents for the export.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <thread>

#include "exports/export_sweep.h"
#include "frame/lifecycle.h"
#include "platform/registry.h"
#include "platform/scaled_clock.h"
#include "quibra/quibra.h"
#include "support/fake_sound_card.h"
#include "support/test_folder.h"

namespace quibra::testing::sweep {
namespace {

// A line with no unit on it: any port opens, every byte written is counted, and reads find
// nothing at once (the engine counts its idle rounds; waiting here would only slow the sweep).
class SilentPort final : public platform::BytePort {
 public:
  std::atomic<size_t> bytes_written{0};

  int32_t open_serial(const char*) override { return 1; }
  int32_t open_usb_device(int) override { return 0; }
  bool open_driver_kit(uint32_t) override { return false; }
  bool configure_line(uint32_t, int, int) override { return true; }
  bool set_read_timeout(uint32_t) override { return true; }
  bool write(const uint8_t*, size_t count) override {
    bytes_written += count;
    return true;
  }
  platform::PortReadResult read(uint8_t*, size_t) override { return {true, 0, 0}; }
  void purge_receive() override {}
  void purge_transmit() override {}
  bool reset_usb_adapter() override { return true; }
  void close() override {}
  bool system_supports_usb_adapter() override { return false; }
};

class CountingSpeaker final : public platform::SoundOutput {
 public:
  std::atomic<int> plays{0};
  bool play_wave_file(const std::string&) override {
    ++plays;
    return true;
  }
};

// Ends the process, naming the call, when a call outlasts its limit: a hung call cannot be
// abandoned on its thread.
class Watchdog {
 public:
  Watchdog() : thread_([this] { run(); }) {}
  ~Watchdog() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }
  void arm(std::string what, std::chrono::milliseconds limit) {
    std::lock_guard<std::mutex> lock(mutex_);
    what_ = std::move(what);
    deadline_ = std::chrono::steady_clock::now() + limit;
    armed_ = true;
    wake_.notify_all();
  }
  void disarm() {
    std::lock_guard<std::mutex> lock(mutex_);
    armed_ = false;
  }

 private:
  void run() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stop_) {
      if (!armed_) {
        wake_.wait(lock);
        continue;
      }
      if (wake_.wait_until(lock, deadline_) == std::cv_status::timeout && armed_ &&
          std::chrono::steady_clock::now() >= deadline_) {
        std::fprintf(stderr, "call did not return in time: %s\n", what_.c_str());
        std::fflush(stderr);
        std::_Exit(1);
      }
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  bool armed_ = false;
  bool stop_ = false;
  std::string what_;
  std::chrono::steady_clock::time_point deadline_;
  std::thread thread_;
};

// Long enough for the library's slowest failing transfer on the scaled clock, short enough
// that a hang shows at once.
constexpr std::chrono::milliseconds kCallLimit{3000};
constexpr size_t kLongestText = 65536;

class ExportSweep : public ::testing::TestWithParam<size_t> {
 protected:
  void SetUp() override {
    frame::LoadModule();
    platform::set_clock(&clock_);
    platform::set_byte_port(&port_);
    platform::set_sound_output(&speaker_);
    sound_card_.device = false;
    platform::set_sound_input(&sound_card_);
    dir_ = TestFolder();
  }
  void TearDown() override {
    frame::UnloadModule();
    platform::set_sound_input(nullptr);
    platform::set_sound_output(nullptr);
    platform::set_byte_port(nullptr);
    platform::set_clock(nullptr);
    std::filesystem::remove_all(dir_);
  }

  bool dir_empty() const { return std::filesystem::is_empty(dir_); }

  platform::ScaledClock clock_{0.0001};
  SilentPort port_;
  CountingSpeaker speaker_;
  FakeSoundCard sound_card_;
  std::filesystem::path dir_;
};

std::string Describe(const ExportCase& ex, const std::vector<const Value*>& values) {
  std::string s = std::string(ex.name) + "(";
  for (size_t i = 0; i < values.size(); ++i) {
    s += (i ? ", " : "") + std::string(ex.args[i].name) + "=" + values[i]->label;
  }
  return s + ")";
}

TEST_P(ExportSweep, RefusesOrSucceedsWithoutHarm) {
  const ExportCase& ex = AllExports()[GetParam()];
  const std::string missing = (dir_ / "missing" / "file.hrm").string();
  std::vector<std::vector<Value>> values;
  for (const ArgShape& shape : ex.args)
    values.push_back(ValuesOf(shape, missing));

  // For an export with arguments it must refuse, the infrared calls find the communication
  // engine running on the silent line, so a call that does not refuse in time does send. The
  // others find no link and fail at once, which keeps the sweep short.
  bool refusals = false;
  for (const auto& list : values) {
    for (const Value& v : list)
      refusals |= v.refuse;
  }
  if (refusals) {
    ASSERT_EQ(fnQuibra_StartIRCommunication(0, "silent"), 1);
  }

  Watchdog watchdog;
  auto run = [&](const std::vector<const Value*>& chosen) {
    const std::string what = Describe(ex, chosen);
    bool refuse = false, bad_size = false;
    for (size_t i = 0; i < chosen.size(); ++i) {
      const Value* v = chosen[i];
      // A null buffer of no elements is one the export never touches.
      const int counter = ex.args[i].count_index;
      if (counter >= 0 && v->storage == Value::Storage::Null && chosen[counter]->number == 0) {
        continue;
      }
      refuse |= v->refuse;
      bad_size |= v->bad_size;
    }
    Call call(ex.args, chosen);
    const size_t written = port_.bytes_written;
    const int plays = speaker_.plays;
    watchdog.arm(what, kCallLimit);
    const Outcome outcome = ex.invoke(call);
    watchdog.disarm();
    EXPECT_TRUE(dir_empty()) << what << " wrote into " << dir_;
    if (ex.returns_text && outcome.pointer != nullptr) {
      // Past any text the library keeps: an unterminated one runs on (an error under ASan).
      EXPECT_LT(strnlen(static_cast<const char*>(outcome.pointer), kLongestText), kLongestText)
          << what;
    }
    if (!refuse) return;
    EXPECT_EQ(port_.bytes_written, written) << what << " sent on the line";
    EXPECT_EQ(speaker_.plays, plays) << what << " played a sound";
    EXPECT_EQ(outcome.number, ex.failure.number) << what;
    EXPECT_EQ(outcome.pointer, ex.failure.pointer) << what;
    if (bad_size) {
      EXPECT_EQ(fnQuibra_GetErrorCode(), 104) << what;
    }
  };

  std::vector<const Value*> chosen;
  for (const auto& list : values)
    chosen.push_back(&list.front());
  run(chosen);
  for (size_t i = 0; i < values.size(); ++i) {
    for (size_t k = 1; k < values[i].size(); ++k) {
      chosen[i] = &values[i][k];
      run(chosen);
      // A counted buffer is also swept with each count, the buffer at that size.
      if (ex.args[i].kind == Kind::ArrayN && values[i][k].storage == Value::Storage::Null) {
        const auto counter = static_cast<size_t>(ex.args[i].count_index);
        for (size_t n = 1; n < values[counter].size(); ++n) {
          chosen[counter] = &values[counter][n];
          run(chosen);
        }
        chosen[counter] = &values[counter].front();
      }
    }
    chosen[i] = &values[i].front();
  }
}

INSTANTIATE_TEST_SUITE_P(Exports, ExportSweep, ::testing::Range<size_t>(0, AllExports().size()),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                           return std::string(AllExports()[info.param].name);
                         });

}  // namespace
}  // namespace quibra::testing::sweep
