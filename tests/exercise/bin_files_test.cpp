// The binary exercise file and the memory text dump: hand-worked file contents, loading, and
// round trips through save and load.
#include "exercise/bin_files.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/dump_path.h"
#include "platform/registry.h"
#include "protocol/message_image.h"
#include "quibra/quibra.h"
#include "support/module_fixture.h"

namespace quibra::exercise {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class CancelledDialogs final : public platform::FileDialogs {
 public:
  platform::FileDialogRequest seen;
  std::optional<std::string> ask(const platform::FileDialogRequest& request) override {
    seen = request;
    return std::nullopt;
  }
};

class BinFiles : public quibra::testing::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    dir_ = fs::temp_directory_path() /
           ("quibra-bin-" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::create_directories(dir_);
    platform::set_file_dialogs(&dialogs_);
  }
  void TearDown() override {
    platform::set_file_dialogs(nullptr);
    fs::remove_all(dir_);
    ModuleTest::TearDown();
  }
  void fill(const Bytes& bytes) {
    auto& memory = m().exercise_memory;
    memory.allocate();
    for (size_t i = 0; i < bytes.size(); ++i)
      ASSERT_TRUE(memory.store(static_cast<int32_t>(i + 1), bytes[i]));
    ASSERT_TRUE(memory.set_count(static_cast<int32_t>(bytes.size())));
  }
  Bytes image() {
    Bytes out;
    for (int32_t p = 1; p <= fnKx2GetNbrOfMemtrBytes(); ++p)
      out.push_back(static_cast<uint8_t>(fnKx2GetMemtrData(p)));
    return out;
  }
  CommParams params(const fs::path& path) {
    CommParams p{};
    p.Size = QUIBRA_COMM_PARAMS_SIZE;
    std::strncpy(p.FilePath, path.string().c_str(), sizeof p.FilePath - 1);
    return p;
  }
  void write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }

  fs::path dir_;
  CancelledDialogs dialogs_;
};

TEST_F(BinFiles, BinaryFileIsPositionZeroThenEveryByte) {
  fill({0x11, 0x22, 0x33});
  CommParams p = params(dir_ / "x.bin");
  ASSERT_EQ(fnQuibra_SaveExerciseBinFile(&p), 1);
  EXPECT_EQ(ReadFile(dir_ / "x.bin"), std::string("\x00\x11\x22\x33", 4));

  // Loading: byte k to position k, the first byte dropped; the record is reset, not decoded.
  write(dir_ / "y.bin", std::string("\xAA\x01\x02\x03\x04", 5));
  m().exercise_store.ResetExerciseRecord(0);
  m().exercise_store.SetExerciseParam(0, 5, 22);
  CommParams q = params(dir_ / "y.bin");
  ASSERT_EQ(fnQuibra_LoadExerciseBinFile(&q), 1);
  EXPECT_EQ(image(), (Bytes{1, 2, 3, 4}));
  EXPECT_EQ(fnKx2GetMemtrData(0), 0);
  EXPECT_EQ(fnQuibra_GetRecParam(5), 0);
}

// A file longer than the image loads up to the image's limit; saved and loaded again, the whole
// image comes back.
TEST_F(BinFiles, BinaryRoundTripUpToTheImageLimit) {
  std::string huge(262146 + 10, '\0');
  for (size_t i = 0; i < huge.size(); ++i)
    huge[i] = static_cast<char>(i * 31 + 7);
  write(dir_ / "huge.bin", huge);
  CommParams p = params(dir_ / "huge.bin");
  ASSERT_EQ(fnQuibra_LoadExerciseBinFile(&p), 1);
  const Bytes loaded = image();
  EXPECT_EQ(loaded, Bytes(huge.begin() + 1, huge.begin() + 262145));
  CommParams again = params(dir_ / "again.bin");
  ASSERT_EQ(fnQuibra_SaveExerciseBinFile(&again), 1);
  m().exercise_memory.allocate();
  ASSERT_EQ(fnQuibra_LoadExerciseBinFile(&again), 1);
  EXPECT_EQ(image(), loaded);
}

TEST_F(BinFiles, DialogsAndMissingFiles) {
  fill({1});
  CommParams p = params("");
  p.ParentWindow = 9;
  m().last_error = 0;
  EXPECT_EQ(fnQuibra_SaveExerciseBinFile(&p), 0);
  EXPECT_EQ(fnQuibra_GetErrorCode(), 2);
  EXPECT_EQ(dialogs_.seen.title, "Save Orvek Binary Exercise File");
  EXPECT_EQ(dialogs_.seen.filter_text, "Binary Files (*.bin)");
  EXPECT_EQ(dialogs_.seen.max_path, 261u);
  EXPECT_EQ(dialogs_.seen.owner, 9u);
  EXPECT_TRUE(dialogs_.seen.prompt_overwrite);
  m().last_error = 0;
  EXPECT_EQ(fnQuibra_LoadExerciseBinFile(&p), 0);
  EXPECT_EQ(fnQuibra_GetErrorCode(), 2);
  EXPECT_EQ(dialogs_.seen.title, "Open Orvek Binary Exercise File");
  EXPECT_FALSE(dialogs_.seen.save);
  EXPECT_EQ(image(), (Bytes{1}));  // unchanged
  CommParams missing = params(dir_ / "none" / "x.bin");
  m().last_error = 0;
  EXPECT_EQ(fnQuibra_LoadExerciseBinFile(&missing), 0);
  EXPECT_EQ(fnQuibra_GetErrorCode(), 2);
  m().last_error = 0;
  EXPECT_EQ(fnQuibra_ReadBinaryMemoryFile((dir_ / "none.txt").string().c_str(), 0), 0);
  EXPECT_EQ(fnQuibra_GetErrorCode(), 2);
}

TEST_F(BinFiles, TextDumpLayoutAndReading) {
  fill({7, 200});
  protocol::SetMessageByte(9021, 1, 8, 0x12);  // BCD 12: the dump's version number
  ASSERT_TRUE(WriteMemoryDump((dir_ / "mem.txt").string()));
  EXPECT_EQ(ReadFile(dir_ / "mem.txt"), "2\r\n12\r\n0\r\n7\r\n200\r\n");

  m().exercise_memory.allocate();
  EXPECT_EQ(fnQuibra_ReadBinaryMemoryFile((dir_ / "mem.txt").string().c_str(), 0), 12);
  EXPECT_EQ(image(), (Bytes{7, 200}));

  // Any white space; a non-numeric word is 0; a short file leaves zeros; mode 1 has one more
  // header word and its entries from position 2.
  write(dir_ / "loose.txt", "4 3\t0 9  x\n8");
  EXPECT_EQ(fnQuibra_ReadBinaryMemoryFile((dir_ / "loose.txt").string().c_str(), 0), 3);
  EXPECT_EQ(image(), (Bytes{9, 0, 8, 0}));
  write(dir_ / "whole.txt", "3\n5\n99\n10\n20\n30\n");
  EXPECT_EQ(fnQuibra_ReadBinaryMemoryFile((dir_ / "whole.txt").string().c_str(), 1), 5);
  EXPECT_EQ(image(), (Bytes{0, 10, 20}));  // count 3: positions 1..3, the entries from 2
  // A count that no image holds is cut to the image's limit before anything is added to it.
  write(dir_ / "huge.txt", "2147483647\n4\n0\n6\n");
  EXPECT_EQ(fnQuibra_ReadBinaryMemoryFile((dir_ / "huge.txt").string().c_str(), 0), 4);
  EXPECT_EQ(m().exercise_memory.count(), protocol::kExerciseMemoryLimit);
  EXPECT_EQ(m().exercise_memory.at(1), 6);
}

TEST_F(BinFiles, AnalysisDumpsTheMemoryUnderTheExtraStep) {
  setenv("TMPDIR", dir_.string().c_str(), 1);  // keep the dump in this test's folder
  const std::string dump = platform::MemoryDumpPath();
  EXPECT_EQ(fs::path(dump).parent_path(), dir_);
  Bytes bytes(300);
  for (size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<uint8_t>(i);
  fill(bytes);
  fnQuibra_AnalyzeFile(0, 0);
  EXPECT_FALSE(fs::exists(dump));  // only with the extra step
  ASSERT_EQ(fnQuibra_ResetIRCommunication(0x40), 1);
  fnQuibra_AnalyzeFile(0, 0);
  ASSERT_TRUE(fs::exists(dump));
  m().exercise_memory.allocate();
  EXPECT_EQ(fnDumpReadEntireMemory(), 0);
  EXPECT_EQ(image(), bytes);
  unsetenv("TMPDIR");
}

}  // namespace
}  // namespace quibra::exercise
