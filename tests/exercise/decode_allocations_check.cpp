// Decoding allocates only through the record store's growth steps (samples by 128, laps by 10):
// never once per sample, lap or byte; sound reception allocates nothing once started. Built as
// its own program because it replaces the global operator new to count the calls.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "quibra/quibra.h"
#include "sim/encoders/k_series_encoder.h"
#include "sim/encoders/outdoor_encoder.h"
#include "support/counting_new.h"
#include "support/exercise_image.h"
#include "support/manual_clock.h"
#include "support/module_fixture.h"
#include "sound/tonvox_receiver.h"
#include "tonvox_signal.h"

namespace quibra::testing {
namespace {

constexpr int64_t kSampleStep = 128;
constexpr int64_t kLapStep = 10;

sim::KSeriesExercise Ride(int32_t samples, int32_t laps) {
  sim::KSeriesExercise x;
  x.sensors = {2, true, true, true};
  x.extended_laps = true;
  x.altitude_summary = {100, 200, 300};
  x.interval_code = 0;
  x.duration_tenths = samples * 50;
  for (int32_t i = 0; i < samples; ++i)
    x.samples.push_back({100 + i % 80, -1, i % 2000, i % 200, i % 3000, i % 1000, 1, 2});
  for (int32_t i = 0; i < laps; ++i) {
    sim::KSeriesLap lap;
    lap.tenths = 10 * (i + 1);
    lap.heart_rate = 120;
    x.laps.push_back(lap);
  }
  return x;
}

sim::OutdoorExercise Hike(int32_t samples, int32_t laps) {
  sim::OutdoorExercise x;
  x.duration_s = samples * 5;
  x.altitude_b = 100;
  for (int32_t i = 0; i < samples; ++i)
    x.samples.push_back({100 + i % 80, i % 9 == 0, 1000 + i % 500});
  for (int32_t i = 0; i < laps; ++i)
    x.laps.push_back({1, i + 1, 120, 0, 0, 0, 0, 0, 0});
  return x;
}

class DecodeAllocations : public ModuleTest {
 protected:
  // The allocations of one decode of the image's first exercise, the image already in memory.
  int64_t Decode(const std::vector<uint8_t>& image, int32_t expected_samples) {
    EXPECT_TRUE(LoadExerciseImage(image));
    const int64_t before = AllocationCount();
    EXPECT_EQ(fnQuibra_AnalyzeFile(0, 1), 1);
    const int64_t count = AllocationCount() - before;
    EXPECT_EQ(fnQuibra_GetNbrOfHRMSamples(), expected_samples);
    return count;
  }
};

TEST_F(DecodeAllocations, KSeriesGrowsOnlyInSteps) {
  const auto image = [](int32_t samples, int32_t laps) {
    return sim::KSeriesWholeImage({Ride(samples, laps)}, 22, 19, 2);
  };
  const int64_t small = Decode(image(500, 5), 500);
  // The same exercise again: no more (the store keeps the tables it grew).
  EXPECT_LE(Decode(image(500, 5), 500), small);
  const int64_t more_samples = Decode(image(2900, 5), 2900);
  EXPECT_LE(more_samples - small, 2400 / kSampleStep + 1);
  const int64_t more_laps = Decode(image(500, 95), 500);
  EXPECT_LE(more_laps - small, 90 / kLapStep + 1);
}

TEST_F(DecodeAllocations, OutdoorGrowsOnlyInSteps) {
  const auto image = [](int32_t samples, int32_t laps) {
    return sim::OutdoorWholeImage({Hike(samples, laps)}, 21, 102);
  };
  const int64_t small = Decode(image(1000, 5), 1000);
  const int64_t more_samples = Decode(image(9000, 5), 9000);
  EXPECT_LE(more_samples - small, 8000 / kSampleStep + 1);
  const int64_t more_laps = Decode(image(1000, 95), 1000);
  EXPECT_LE(more_laps - small, 90 / kLapStep + 1);
}

// The capture thread hands every block to the receiving chain (filter, demodulator, assembler):
// a whole coded download, corrected blocks included, takes no allocation after the start.
TEST(SoundReceptionAllocations, NoneAfterTheStart) {
  std::vector<uint8_t> payload(1500);
  for (size_t i = 0; i < payload.size(); ++i)
    payload[i] = static_cast<uint8_t>(i * 37 + 1);
  std::vector<uint8_t> bytes = sim::TonvoxBytes(payload, {.mode = 2, .block_data = 200});
  bytes[60] ^= 0x42;  // a byte for the Reed-Solomon decoder to correct
  std::vector<uint8_t> recording = sim::RenderBeeps(bytes, sim::BeepSound{});
  ManualClock clock;
  sound::TonvoxReceiver receiver;
  receiver.start(clock, 22, 44100, 5, false, false);
  const int64_t before = AllocationCount();
  constexpr size_t kBlock = 4096;
  for (size_t at = 0; at < recording.size(); at += kBlock) {
    receiver.process(recording.data() + at, std::min(kBlock, recording.size() - at));
    clock.advance(kBlock * 1000 / 44100);
  }
  EXPECT_EQ(AllocationCount() - before, 0);
  EXPECT_EQ(receiver.progress(), 100u);
}

}  // namespace
}  // namespace quibra::testing
