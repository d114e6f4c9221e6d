// Damaged exercise memories never crash a decoder or the listing: truncated images, lengths past
// the end, lap counts larger than the space, and memories of nothing but 0xFF, for every family.
#include <array>
#include <cstring>
#include <vector>

#include "quibra/quibra.h"
#include "sim/encoders/k_series_encoder.h"
#include "sim/encoders/outdoor_encoder.h"
#include "sim/encoders/prvc_file_encoder.h"
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
constexpr std::array<int32_t, 20> kAllTypes = {6,  9,  10, 11, 12, 13, 15, 20, 21, 22,
                                               23, 30, 31, 32, 33, 34, 35, 36, 37, 38};
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

// A flipped bit in one exercise's start fails that exercise alone, naming the field; the
// others decode, and the end of the chain is no failure.
TEST_F(BadImagesTest, AnImpossibleStartFailsItsExerciseAlone) {
  Bytes image = sim::KSeriesSingleImage({Ride(), Ride(), Ride()}, 22, 19, 1);
  const auto at = [&](int32_t position) -> uint8_t& { return image[position - 1]; };
  const int32_t second = E + (at(E + 1) | (at(E + 2) & 0x7F) << 8);
  const int32_t third = second + (at(second + 1) | (at(second + 2) & 0x7F) << 8);
  const struct {
    int32_t offset;  // in the header
    uint8_t value;
    int32_t error_code;
    const char* reason;
  } kFlips[] = {
      {16, 0x0D, 102, "exercise 2: bad start date (month 13)"},
      {14, 0x31, 102, "exercise 2: bad start date (day 31)"},  // in a month of 30 days
      {13, 0x24, 101, "exercise 2: bad start time (hour 24)"},
      {12, 0x75, 101, "exercise 2: bad start time (minute 75)"},
      {11, 0x60, 101, "exercise 2: bad start time (second 60)"},
  };
  for (const auto& flip : kFlips) {
    SCOPED_TRACE(flip.reason);
    Bytes flipped = image;
    flipped[second + flip.offset - 1] = flip.value;
    if (flip.offset == 14) flipped[second + 16 - 1] = 0x04;  // April
    Load(flipped);
    EXPECT_EQ(fnQuibra_AnalyzeFile(0, 0), 1);
    EXPECT_EQ(fnQuibra_AnalyzeFile(1, 0), 0);
    EXPECT_EQ(fnQuibra_GetErrorCode(), flip.error_code);
    char text[80] = {};
    EXPECT_EQ(fnQuibraExt_GetFailureText(text, sizeof text),
              static_cast<int32_t>(std::strlen(flip.reason)));
    EXPECT_STREQ(text, flip.reason);
    EXPECT_EQ(fnQuibra_AnalyzeFile(2, 0), 1);
    EXPECT_EQ(fnQuibra_GetRecParam(9), 20070615) << "third exercise";
    EXPECT_EQ(fnQuibra_AnalyzeFile(3, 0), 0);
    EXPECT_EQ(fnQuibraExt_GetFailureText(text, sizeof text), 0) << text;
  }
  // A length that runs past the image breaks the chain there.
  at(third + 2) = 0x7F;
  Load(image);
  EXPECT_EQ(fnQuibra_AnalyzeFile(1, 0), 1);
  EXPECT_EQ(fnQuibra_AnalyzeFile(2, 0), 0);
  EXPECT_EQ(fnQuibra_GetErrorCode(), 103);
}

// Exercise files of types 33..38: page counts past the end refuse the file; a lap count past the
// space reads only the laps that lie after the data pages.
TEST_F(BadImagesTest, FilesWithBrokenPageAndLapCounts) {
  for (int32_t type = 33; type <= 38; ++type) {
    SCOPED_TRACE(type);
    sim::FileExercise x;
    x.type = type;
    x.speed = true;
    x.duration_tenths = 600;
    x.segments = {{1, std::vector<sim::FileSample>(50, sim::FileSample{120, 100})}};
    x.laps = {{100, false, 150}, {200, false, 151}};
    const Bytes file = sim::EncodeFileExercise(x);
    const size_t lap_area = 2 * (type == 37 ? 17 : 13);
    const size_t directory = file.size() - lap_area - 265;  // one page of samples
    for (const uint8_t pages : {2, 200}) {
      Bytes cut = file;
      cut[directory] = pages;
      Load(cut);
      m().unit.type = type;
      ExpectRefused(0, 0);
    }
    Bytes many_laps = file;
    many_laps[46] = 127;
    Load(many_laps);
    m().unit.type = type;
    EXPECT_EQ(fnQuibra_AnalyzeFile(0, 0), 1);
    EXPECT_EQ(fnQuibra_GetNbrOfIntTimes(), 2);
    EXPECT_EQ(fnQuibra_GetNbrOfHRMSamples(), 50);
    Load(Bytes(file.begin(), file.begin() + 50));  // a listing's 50 bytes decode to nothing
    m().unit.type = type;
    ExpectRefused(0, 0);
  }
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
    // Erased memory holds no exercise: a length of 32767 runs past a shorter memory, and in a
    // longer one the month (15) or the hour (165) cannot be. Whole-memory images name no unit.
    const bool in_chain = size > 32767 + E;
    const auto rejected = [&](int32_t code, const char* why) {
      EXPECT_EQ(fnQuibra_AnalyzeFile(0, 0), 0);
      if (size < 400) return;
      EXPECT_EQ(fnQuibra_GetErrorCode(), in_chain ? code : 103);
      char text[80] = {};
      fnQuibraExt_GetFailureText(text, sizeof text);
      EXPECT_STREQ(text, in_chain ? why : "exercise 1: bad length (bytes 32767)");
    };
    m().unit.type = 22;
    rejected(102, "exercise 1: bad start date (month 15)");
    EXPECT_EQ(fnQuibra_AnalyzeFile(8, 0), 0);  // eight lengths of 32767 fill the memory
    m().unit.type = 20;
    rejected(101, "exercise 1: bad start time (hour 165)");
    EXPECT_EQ(fnQuibra_AnalyzeFile(0, 1), 0);
    char name[8];
    EXPECT_EQ(fnQuibra_SportExeName(name, 0), size >= 23 ? 1 : 8);
  }
}

}  // namespace
}  // namespace quibra::testing
