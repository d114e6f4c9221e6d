// Damaged exercise memories never crash a decoder or the listing: truncated images, lengths past
// the end, lap counts larger than the space, and memories of nothing but 0xFF, for every family.
#include <array>
#include <vector>

#include "quibra/quibra.h"
#include "sim/encoders/k_series_encoder.h"
#include "sim/encoders/outdoor_encoder.h"
#include "sim/encoders/summary_encoders.h"
#include "support/exercise_image.h"
#include "support/module_fixture.h"

namespace quibra::testing {
namespace {

using sim::Bytes;

struct Unit {
  int32_t type;
  uint8_t product_code;
};
constexpr std::array<Unit, 6> kKSeries = {
    {{11, 17}, {12, 34}, {13, 51}, {15, 68}, {22, 19}, {23, 37}}};
constexpr std::array<int32_t, 14> kAllTypes = {6,  9,  10, 11, 12, 13, 15,
                                               20, 21, 22, 23, 30, 31, 32};
constexpr int32_t E = 4;  // the first exercise of a single-exercise image

sim::KSeriesExercise Ride() {
  sim::KSeriesExercise x;
  x.sensors = {2, true, true, true};
  x.extended_laps = true;
  x.altitude_summary = {1, 2, 3};
  x.duration_tenths = 100 * 50;
  for (int32_t i = 0; i < 100; ++i)
    x.samples.push_back({100 + i, -1, 300, 80, 50, 200, 10, 20});
  for (int32_t i = 0; i < 4; ++i) {
    sim::KSeriesLap lap;
    lap.tenths = 100 * (i + 1);
    lap.heart_rate = 140;
    x.laps.push_back(lap);
  }
  return x;
}

class BadImagesTest : public ModuleTest {
 protected:
  void Load(const Bytes& image) { ASSERT_TRUE(LoadExerciseImage(image)); }
  // After a refused analysis the store holds nothing but the monitor type.
  void ExpectRefused(int32_t index, int32_t mode) {
    EXPECT_EQ(fnQuibra_AnalyzeFile(index, mode), 0);
    EXPECT_EQ(fnQuibra_GetNbrOfHRMSamples(), 0);
    EXPECT_EQ(fnQuibra_GetNbrOfIntTimes(), 0);
    EXPECT_EQ(fnQuibra_GetRecParam(9), 0);
  }
};

TEST_F(BadImagesTest, TruncatedKSeriesExercisesAreRefused) {
  for (const Unit& unit : kKSeries) {
    SCOPED_TRACE(unit.type);
    Bytes image = sim::KSeriesSingleImage({Ride()}, unit.type, unit.product_code, 1);
    image.resize(image.size() - 1);  // the length now reaches one byte past the end
    Load(image);
    ExpectRefused(0, 0);
    ExeFileInfo info{};
    EXPECT_EQ(fnQuibra_GetExeFileInfo(0, &info), 0);
    EXPECT_EQ(info.Size, 76u);
    image.resize(E + 10);  // not even a header
    Load(image);
    ExpectRefused(0, 0);
    // In a whole memory the second exercise's length points past the end.
    Bytes whole = sim::KSeriesWholeImage({Ride(), Ride()}, unit.type, unit.product_code, 1);
    whole.resize(whole.size() - 40);
    Load(whole);
    EXPECT_EQ(fnQuibra_AnalyzeFile(0, 1), 1);
    ExpectRefused(1, 1);
  }
}

TEST_F(BadImagesTest, TruncatedOutdoorAndSummaryImagesAreRefused) {
  sim::OutdoorExercise hike;
  hike.duration_s = 50;
  hike.samples.assign(10, {120, false, 1000});
  Bytes outdoor = sim::OutdoorWholeImage({hike, hike}, 21, 102);
  outdoor.resize(outdoor.size() - 1);
  Load(outdoor);
  EXPECT_EQ(fnQuibra_AnalyzeFile(0, 1), 1);
  ExpectRefused(1, 1);

  Bytes type30 = sim::Type30Image({}, sim::ImageKind::kWholeMemory);
  type30.resize(type30.size() - 2);
  Load(type30);
  ExpectRefused(0, 1);
  Bytes type31 = sim::Type31Image({sim::Type31Exercise{}}, sim::ImageKind::kWholeMemory);
  type31.resize(type31.size() - 2);
  Load(type31);
  ExpectRefused(0, 1);
  Bytes type32 = sim::Type32Image({sim::Type32Exercise{}}, sim::ImageKind::kWholeMemory);
  type32.resize(type32.size() - 1);
  Load(type32);
  ExpectRefused(0, 1);
}

// A lap count beyond the room before the samples keeps the laps that fit; the samples are read
// from what is left above them.
TEST_F(BadImagesTest, LapCountsLargerThanTheSpace) {
  for (const Unit& unit : kKSeries) {
    SCOPED_TRACE(unit.type);
    Bytes image = sim::KSeriesSingleImage({Ride()}, unit.type, unit.product_code, 1);
    const size_t lap_count = static_cast<size_t>(E + 22 - 1);
    image[lap_count] = 0x99;
    Load(image);
    ASSERT_EQ(fnQuibra_AnalyzeFile(0, 0), 1);
    EXPECT_LE(fnQuibra_GetNbrOfIntTimes(), 99);
    EXPECT_LT(fnQuibra_GetNbrOfHRMSamples(), 100);
  }
  // Type 30 and 31 laps that would lie past the image are not read.
  sim::Type30Exercise x30;
  x30.duration_tenths = 36000;
  x30.laps.assign(2, {600, 150, 140, 170, 0, 0, 0});
  Bytes type30 = sim::Type30Image(x30, sim::ImageKind::kWholeMemory);
  type30[128 - 1] = 255;
  Load(type30);
  ASSERT_EQ(fnQuibra_AnalyzeFile(0, 1), 1);
  EXPECT_LE(fnQuibra_GetNbrOfIntTimes(), 2);
  sim::Type31Exercise x31;
  x31.laps.assign(2, {0, 600, 150, 140, 0, 0, 0, 0});
  Bytes type31 = sim::Type31Image({x31}, sim::ImageKind::kWholeMemory);
  type31[103 + 31 - 1] = 255;
  Load(type31);
  ASSERT_EQ(fnQuibra_AnalyzeFile(0, 1), 1);
  EXPECT_EQ(fnQuibra_GetNbrOfIntTimes(), 2);
}

// Erased memory reads 0xFF everywhere: lengths of 32767, lap counts of 255, product code 255.
TEST_F(BadImagesTest, AllFFMemory) {
  for (size_t size : {size_t{0}, size_t{1}, size_t{400}, size_t{262144}}) {
    SCOPED_TRACE(size);
    Load(Bytes(size, 0xFF));
    for (int32_t type : kAllTypes) {
      SCOPED_TRACE(type);
      m().unit.type = type;
      const int32_t result = fnQuibra_AnalyzeFile(0, 0);
      EXPECT_TRUE(result == 0 || result == 1);
      EXPECT_EQ(fnQuibra_GetRecParam(5), type);  // code 255 names no unit
      EXPECT_LE(fnQuibra_GetNbrOfHRMSamples(), static_cast<int32_t>(size));
      EXPECT_LE(fnQuibra_GetNbrOfIntTimes(), 255);
      m().unit.type = type;
      ExeFileInfo info{};
      const int32_t listed = fnQuibra_GetExeFileInfo(3, &info);
      EXPECT_TRUE(listed == 0 || listed == 1);
    }
    // A length of 32767 reaches past a shorter memory; whole-memory images name no unit.
    const int32_t in_chain = size > 32767 + E ? 1 : 0;
    m().unit.type = 22;
    EXPECT_EQ(fnQuibra_AnalyzeFile(0, 0), in_chain);
    EXPECT_EQ(fnQuibra_AnalyzeFile(8, 0), 0);  // eight lengths of 32767 fill the memory
    m().unit.type = 20;
    EXPECT_EQ(fnQuibra_AnalyzeFile(0, 0), in_chain);
    EXPECT_EQ(fnQuibra_AnalyzeFile(0, 1), 0);
    char name[8];
    EXPECT_EQ(fnQuibra_SportExeName(name, 0), size >= 23 ? 1 : 8);
  }
}

}  // namespace
}  // namespace quibra::testing
