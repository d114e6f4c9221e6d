// The HRM file, byte by byte against hand-written files, and the save path's failures.
#include "exercise/hrm_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/registry.h"
#include "quibra/quibra.h"
#include "support/module_fixture.h"

namespace quibra::exercise {
namespace {

namespace fs = std::filesystem;

// Lines joined with CR LF, each line ended.
std::string Lines(std::initializer_list<const char*> lines) {
  std::string out;
  for (const char* l : lines) {
    out += l;
    out += "\r\n";
  }
  return out;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

SampleInput Sample(int32_t index, int32_t hr, int32_t ch2 = 0, int32_t ch3 = 0, int32_t ch4 = 0,
                   int32_t ch5 = 0, int32_t ch6_ch7 = 0, int32_t ch9 = 0) {
  SampleInput in{};
  in.index = index;
  in.heart_rate = hr;
  in.ch2 = ch2;
  in.ch3 = ch3;
  in.ch4 = ch4;
  in.ch5 = ch5;
  in.ch6_ch7 = ch6_ch7;
  in.ch9 = ch9;
  return in;
}

// A save dialog that answers with a path, or cancels.
class ScriptedDialogs final : public platform::FileDialogs {
 public:
  std::optional<std::string> answer;
  platform::FileDialogRequest seen;
  int asked = 0;
  std::optional<std::string> ask(const platform::FileDialogRequest& request) override {
    seen = request;
    ++asked;
    return answer;
  }
};

class HrmWriter : public quibra::testing::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    dir_ = fs::temp_directory_path() /
           ("quibra-hrm-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
    platform::set_file_dialogs(&dialogs_);
    s().ResetExerciseRecord(0);
  }
  void TearDown() override {
    platform::set_file_dialogs(nullptr);
    fs::remove_all(dir_);
    ModuleTest::TearDown();
  }
  ExerciseStore& s() { return m().exercise_store; }
  void params(std::initializer_list<std::pair<int32_t, int32_t>> values) {
    for (const auto& [id, v] : values)
      s().SetExerciseParam(0, id, v);
  }
  void flag(int32_t id) { s().SetExerciseFlag(0, id, 1); }
  void sample(const SampleInput& in) {
    ASSERT_EQ(s().AddExerciseSample(0, in), 1);
    s().IncrementSampleCount(0);
  }
  std::string save() {
    const std::string path = (dir_ / "out.hrm").string();
    char buffer[260] = {};
    std::strncpy(buffer, path.c_str(), sizeof buffer - 1);
    EXPECT_EQ(fnQuibra_SaveExerciseHRM(0, buffer, 0), 1);
    return ReadFile(path);
  }

  fs::path dir_;
  ScriptedDialogs dialogs_;
};

TEST_F(HrmWriter, HeartRateOnlyExercise) {
  // Started 10:05:00.5, 1:02:03.4 long (in ms).
  params({{5, 22}, {7, 16}, {9, 20240315}, {10, 363005}, {11, 3723400}, {12, 5}, {13, 160}});
  params({{14, 120}, {15, 150}, {16, 110}, {19, 140}, {20, 100}, {27, 3}, {89, 52}});
  for (int32_t hr : {98, 101, 250})
    sample(Sample(s().GetSampleCount(0), hr));
  const std::string expected =
      Lines({"[Params]", "Version=107", "Monitor=22", "SMode=000000000", "Date=20240315",
             "StartTime=10:05:00.5", "Length=01:02:03.4", "Interval=5", "Upper1=160", "Lower1=120",
             "Upper2=150", "Lower2=110"}) +
      Lines({"Upper3=140", "Lower3=100", "Timer1=00:00:00.0", "Timer2=00:00:00.0",
             "Timer3=00:00:00.0", "ActiveLimit=0", "MaxHR=0", "RestHR=0", "StartDelay=3",
             "VO2max=52", "Weight=0", ""}) +
      Lines({"[IntTimes]", ""}) + Lines({"[HRData]", "98", "101", "250"});
  EXPECT_EQ(save(), expected);
}

TEST_F(HrmWriter, ExtendedExerciseWithLaps) {
  // 100 h: hours are not wrapped.
  params({{5, 12}, {7, 32}, {8, 1}, {9, 20071231}, {10, 0}, {11, 360000000}, {12, 15}});
  for (int32_t id = 38; id <= 45; ++id)
    params({{id, id * 10 - 400}});  // -20, -10, 0, 10, ...
  flag(3);
  for (int32_t id : {8, 9, 10, 11, 18, 20})
    flag(id);
  flag(19);  // the pedalling index adds no column
  params({{21, 1234567}, {22, -15}});  // 34:17:36.7, and a negative time as printf's %02d shows it
  sample(Sample(0, 140, 100, 90, -12, 250, 0x0233, 1013));
  sample(Sample(1, 141, 101, 91, 0, 251, 0x0100, 0));
  ASSERT_EQ(s().InsertLap(0, 1234, false), 0);
  const std::pair<int32_t, int32_t> fields[] = {
      {601, 36005}, {607, 150}, {608, 120}, {609, 135}, {610, 170},  {625, 1},  {602, 1},  {643, 1},
      {626, 60},    {627, 99},  {611, 123}, {613, 88},  {615, -5},   {635, 7},  {634, 8},  {603, 2},
      {604, 1500},  {617, 300}, {621, -15}, {645, 9},   {646, 1010}, {651, 11}, {653, 12},
  };
  for (const auto& [field, value] : fields)
    s().SetLapField(0, 0, field, value, false);
  const std::string expected =
      Lines({"[Params]", "Version=107", "Monitor=12", "SMode=111111111", "Date=20071231",
             "StartTime=00:00:00.0", "Length=100:00:00.0", "Interval=15", "Upper1=0", "Lower1=0",
             "Upper2=0", "Lower2=0"}) +
      Lines({"Upper3=0", "Lower3=0", "Timer1=34:17:36.7", "Timer2=00:00:-1.-5", "Timer3=00:00:00.0",
             "ActiveLimit=0", "MaxHR=0", "RestHR=0", "StartDelay=0", "VO2max=0", "Weight=0", ""}) +
      Lines({"[IntTimes]", "01:00:00.5\t150\t120\t135\t170", "97\t60\t99\t123\t88\t-5",
             "0\t0\t0\t7\t8", "2\t1500\t300\t-15\t9\t1010", "11\t12\t0\t0\t0\t0", ""}) +
      Lines({"[Trip]", "-20", "-10", "0", "10", "20", "30", "40", "50", ""}) +
      Lines({"[HRData]", "140\t100\t90\t-12\t250\t563\t1013", "141\t101\t91\t0\t251\t256\t0"});
  EXPECT_EQ(save(), expected);
}

// Every way a value is written: one to three digits from the table, four to six from two
// pieces, seven and negative ones in full; then two samples counted but never stored.
TEST(HrmDataBlock, NumbersAtEachBoundaryAndCountedSamplesWithoutValues) {
  ExerciseRecord e;
  e.flags[3] = 1;   // extended samples
  e.flags[18] = 1;  // the pedalling balance column: channel 7 x 256 + channel 6
  const std::pair<int16_t, std::pair<int16_t, int16_t>> rows[] = {
      {0, {0, 9}},         {10, {0, 99}},          {100, {0, 999}},   {999, {3, 232}},
      {1000, {39, 15}},    {9999, {390, 159}},     {10000, {3906, 63}}, {32767, {3906, 64}},
      {-1, {-1, 0}},       {-32768, {32767, 255}},
  };
  for (const auto& [rate, balance] : rows) {
    ExtendedSample x{};
    x.heart_rate = rate;
    x.ch7 = balance.first;
    x.ch6 = balance.second;
    e.ext_samples.push_back(x);
  }
  e.sample_capacity = static_cast<int32_t>(e.ext_samples.size());
  e.sample_count = e.sample_capacity + 2;
  EXPECT_EQ(HrmDataBlock(e), Lines({"[HRData]", "0\t9", "10\t99", "100\t999", "999\t1000",
                                    "1000\t9999", "9999\t99999", "10000\t999999",
                                    "32767\t1000000", "-1\t-256", "-32768\t8388607", "0\t0",
                                    "0\t0"}));
}

// The columns keep the file's order whichever of them are present, and a column that is
// absent takes nothing from the ones after it.
TEST(HrmDataBlock, ColumnsInFileOrderForEachSet) {
  ExerciseRecord e;
  e.flags[3] = 1;
  ExtendedSample x{};
  x.heart_rate = 150;
  x.ch2 = 312;   // speed
  x.ch3 = 88;    // cadence
  x.ch4 = 1234;  // altitude
  x.ch5 = 245;   // power
  x.ch6 = 0x40;  // balance, low byte
  x.ch7 = 0x01;  // balance, high byte
  x.ch9 = 1013;  // air pressure
  e.ext_samples.assign(1, x);
  e.sample_capacity = e.sample_count = 1;
  const struct {
    std::vector<int32_t> flags;
    const char* line;
  } sets[] = {
      {{}, "150"},
      {{20}, "150\t1013"},
      {{10, 11, 20}, "150\t88\t245\t1013"},
      {{8, 9, 18}, "150\t312\t1234\t320"},
      {{8, 10, 9, 11, 18, 20}, "150\t312\t88\t1234\t245\t320\t1013"},
  };
  for (const auto& set : sets) {
    for (int32_t flag : {8, 9, 10, 11, 18, 20})
      e.flags[static_cast<size_t>(flag)] = 0;
    for (int32_t flag : set.flags)
      e.flags[static_cast<size_t>(flag)] = 1;
    EXPECT_EQ(HrmDataBlock(e), Lines({"[HRData]", set.line}));
  }
}

TEST_F(HrmWriter, AFileIsOneMomentOfTheStoreWhileADecoderRewritesIt) {
  // A decoder rewrites every sample with k, k + 1, ... from the first to the last. At any moment
  // the samples read k down to k - 1; a file read piecemeal would catch later rounds further on.
  constexpr int32_t kSamples = 3000;
  for (int32_t j = 0; j < kSamples; ++j)
    sample(Sample(j, 0));
  std::atomic<bool> saving{true};
  std::atomic<int32_t> rounds{0};
  std::thread decoder([&] {
    for (int32_t k = 1; saving; ++k) {
      for (int32_t j = 0; j < kSamples; ++j)
        s().SetSampleValue(0, 1, j, k);
      rounds = k;
    }
  });
  while (rounds == 0)
    std::this_thread::yield();
  std::vector<std::string> files;
  for (int file = 0; file < 20; ++file)
    files.push_back(save());
  saving = false;
  decoder.join();

  for (size_t file = 0; file < files.size(); ++file) {
    std::istringstream lines(files[file].substr(files[file].find("[HRData]\r\n") + 10));
    std::vector<int32_t> values;
    for (std::string line; std::getline(lines, line);)
      values.push_back(std::stoi(line));
    ASSERT_EQ(values.size(), static_cast<size_t>(kSamples));
    EXPECT_LE(values.front() - values.back(), 1) << "file " << file;
    EXPECT_TRUE(std::is_sorted(values.rbegin(), values.rend())) << "file " << file;
  }
}

TEST_F(HrmWriter, DialogPathFailuresAndAnEmptyStore) {
  char buffer[260] = {};
  // Cancelled (the headless system always cancels; here the scripted dialog does).
  m().last_error = 0;
  EXPECT_EQ(fnQuibra_SaveExerciseHRM(0, buffer, 0), 0);
  EXPECT_EQ(fnQuibra_GetErrorCode(), 2);
  EXPECT_EQ(dialogs_.seen.title, "Save Orvek Exercise File");
  EXPECT_EQ(dialogs_.seen.filter_text, "HRM Files (*.hrm)");
  EXPECT_EQ(dialogs_.seen.pattern, "*.hrm");
  EXPECT_EQ(dialogs_.seen.default_ext, "hrm");
  EXPECT_TRUE(dialogs_.seen.prompt_overwrite);
  EXPECT_TRUE(dialogs_.seen.save);

  // Chosen: the path comes back in the buffer, and the never-decoded store writes zeros.
  frame::UnloadModule();
  frame::LoadModule();
  dialogs_.answer = (dir_ / "chosen.hrm").string();
  EXPECT_EQ(fnQuibra_SaveExerciseHRM(7, buffer, 0), 1);
  EXPECT_EQ(dialogs_.seen.owner, 7u);
  EXPECT_EQ(std::string(buffer), *dialogs_.answer);
  const std::string text = ReadFile(*dialogs_.answer);
  EXPECT_EQ(text.substr(0, 40), "[Params]\r\nVersion=107\r\nMonitor=0\r\nSMode=");
  EXPECT_EQ(text.substr(text.size() - 24), "[IntTimes]\r\n\r\n[HRData]\r\n");

  // A path that cannot be created.
  m().last_error = 0;
  const std::string bad = (dir_ / "missing" / "x.hrm").string();
  std::strncpy(buffer, bad.c_str(), sizeof buffer - 1);
  EXPECT_EQ(fnQuibra_SaveExerciseHRM(0, buffer, 0), 0);
  EXPECT_EQ(fnQuibra_GetErrorCode(), 2);

  // Created but the bytes do not fit: 0 without the "not opened" code, and the device stays.
  if (fs::exists("/dev/full")) {
    m().last_error = 0;
    std::strncpy(buffer, "/dev/full", sizeof buffer - 1);
    EXPECT_EQ(fnQuibra_SaveExerciseHRM(0, buffer, 0), 0);
    EXPECT_EQ(fnQuibra_GetErrorCode(), 0);
    EXPECT_TRUE(fs::exists("/dev/full"));
  }
}

TEST_F(HrmWriter, ReadOnlyFileIsReplaced) {
  const fs::path path = dir_ / "old.hrm";
  { std::ofstream(path) << "old contents that are longer than nothing"; }
  fs::permissions(path, fs::perms::owner_read, fs::perm_options::replace);
  char buffer[260] = {};
  std::strncpy(buffer, path.string().c_str(), sizeof buffer - 1);
  EXPECT_EQ(fnQuibra_SaveExerciseHRM(0, buffer, 0), 1);
  EXPECT_EQ(ReadFile(path).substr(0, 8), "[Params]");
}

}  // namespace
}  // namespace quibra::exercise
