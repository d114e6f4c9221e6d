// Sound upload: the wave's bytes against hand-worked values, and uploads checked by listening to
// them with the simulated unit's receiver.
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "frame/comm_params.h"
#include "pipcast_receiver.h"
#include "platform/registry.h"
#include "protocol/message_image.h"
#include "protocol/seal.h"
#include "quibra/quibra.h"
#include "sound/pipcast.h"
#include "sound/pipcast_wave.h"
#include "ui/dialog_test_support.h"

namespace quibra::testing {
namespace {

using sound::EncodePipcastWave;

constexpr size_t kHeader = 44;
constexpr size_t kSymbol = 441;
constexpr size_t kByte = 11 * kSymbol;

TEST(PipcastWave, HeaderOfThreeBytes) {
  const uint8_t bytes[] = {0x00, 0x00, 0x00};
  const std::vector<uint8_t> wave = EncodePipcastWave(bytes);
  ASSERT_EQ(wave.size(), 14597u);  // D = 3 x 11 x 441 = 14 553, plus the header
  const uint8_t header[] = {'R',  'I',  'F',  'F',  0xFD, 0x38, 0x00, 0x00,  // 14 589
                            'W',  'A',  'V',  'E',  'f',  'm',  't',  ' ',  16,  0,
                            0,    0,    1,    0,    1,    0,    0x44, 0xAC, 0,   0,  // 44 100
                            0x44, 0xAC, 0,    0,    1,    0,    8,    0,    'd', 'a',
                            't',  'a',  0xD9, 0x38, 0x00, 0x00};  // 14 553
  EXPECT_EQ(std::vector<uint8_t>(wave.begin(), wave.begin() + kHeader),
            std::vector<uint8_t>(std::begin(header), std::end(header)));
}

TEST(PipcastWave, SymbolsOfAByte) {
  const uint8_t ff[] = {0xFF};
  const std::vector<uint8_t> wave = EncodePipcastWave(ff);
  ASSERT_EQ(wave.size(), kHeader + kByte);
  for (size_t symbol = 0; symbol < 11; ++symbol) {
    const uint8_t* s = wave.data() + kHeader + symbol * kSymbol;
    SCOPED_TRACE(symbol);
    if (symbol < 9) {
      // 128 sin(5400 x 6.28318 n / 44100) truncated: n = 0 gives 0, n = 1 gives 89, n = 2 gives
      // 127, n = 5 gives -82, stored as 174.
      EXPECT_EQ(s[0], 0);
      EXPECT_EQ(s[1], 89);
      EXPECT_EQ(s[2], 127);
      EXPECT_EQ(s[5], 174);
      EXPECT_EQ(s[219], 139);  // the last burst sample: -117
    } else {
      EXPECT_EQ(s[0], 128);
      EXPECT_EQ(s[219], 128);
    }
    for (size_t n = 220; n < kSymbol; ++n)
      ASSERT_EQ(s[n], 128) << n;
  }
  // 0x02: the start tone, bit 0 silent, bit 1 a tone, the rest silent.
  const uint8_t two[] = {0x02};
  const std::vector<uint8_t> wave2 = EncodePipcastWave(two);
  EXPECT_EQ(wave2[kHeader + 1], 89);
  EXPECT_EQ(wave2[kHeader + kSymbol + 1], 128);
  EXPECT_EQ(wave2[kHeader + 2 * kSymbol + 1], 89);
  EXPECT_EQ(wave2[kHeader + 3 * kSymbol + 1], 128);
}

TEST(PipcastWave, ReceiverHearsEveryByteValue) {
  std::vector<uint8_t> bytes(256);
  for (size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<uint8_t>(i);
  EXPECT_EQ(sim::ListenToPipcast(EncodePipcastWave(bytes)), bytes);
}

// Records what would have been played, in place of the loudspeaker.
class FakeSpeaker final : public platform::SoundOutput {
 public:
  bool play_wave_file(const std::string& path) override {
    played.push_back(path);
    heard = sim::ListenToPipcastFile(path).value_or(std::vector<uint8_t>{0xEE});
    return accept;
  }
  bool accept = true;
  std::vector<std::string> played;
  std::vector<uint8_t> heard;
};

class SoundUpload : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    platform::set_sound_output(&speaker_);
    dir_ = std::filesystem::temp_directory_path() / ("quibra-sound-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    std::filesystem::remove_all(dir_);
    platform::set_sound_output(nullptr);
    DialogTest::TearDown();
  }
  FakeSpeaker speaker_;
  std::filesystem::path dir_;
};

TEST_F(SoundUpload, WritePipcastDataSendsTheBytesAndTheirChecksum) {
  const int32_t data[] = {0x101};  // only the low byte counts
  EXPECT_EQ(fnQuibra_WritePipcastData(1, data), 1);
  ASSERT_EQ(speaker_.played.size(), 1u);
  // CRC-16 over 01 00 00 is 0x8005, high byte first.
  EXPECT_EQ(speaker_.heard, (std::vector<uint8_t>{0x01, 0x80, 0x05}));
  const std::string& path = speaker_.played[0];
  EXPECT_EQ(path.substr(path.size() - 4), ".wav");
  EXPECT_NE(path.find("HRM"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(path));  // deleted after playing

  speaker_.accept = false;
  EXPECT_EQ(fnQuibra_WritePipcastData(1, data), 0);
  EXPECT_TRUE(std::filesystem::exists(speaker_.played.back()));  // left in place on failure
  std::filesystem::remove(speaker_.played.back());

  std::vector<int32_t> many(299, 1);
  EXPECT_EQ(fnQuibra_WritePipcastData(299, many.data()), 0);
  EXPECT_EQ(fnQuibra_WritePipcastData(1, nullptr), 0);
  EXPECT_EQ(speaker_.played.size(), 2u);
}

TEST_F(SoundUpload, MessageImageGoesOutPaddedWithZeros) {
  for (int32_t i = 5; i < 28; ++i)
    protocol::SetMessageByte(9005, 0, i, static_cast<uint8_t>(i));
  protocol::SealMessageImage(9005, 0, 0);
  CommParams p = params(false);
  p.LinkType = 0;
  EXPECT_EQ(sound::SendBySoundOrDataFile(p, 9005, 0), 1);
  std::vector<uint8_t> expected = {0, 0};
  for (int32_t i = 0; i < 30; ++i)
    expected.push_back(protocol::GetMessageByte(9005, 0, i));
  expected.insert(expected.end(), {0, 0});
  EXPECT_EQ(expected[2], 0xA3);
  EXPECT_EQ(speaker_.heard, expected);
  EXPECT_FALSE(std::filesystem::exists(speaker_.played.back()));
}

TEST_F(SoundUpload, FileOptions) {
  const std::string path = (dir_ / "upload.wav").string();
  CommParams keep = params(false);
  keep.LinkType = 0;
  std::strncpy(keep.FilePath, path.c_str(), sizeof keep.FilePath - 1);
  keep.KeepSoundFile = 1;
  EXPECT_EQ(sound::SendBySoundOrDataFile(keep, 9002, 0), 1);
  EXPECT_EQ(speaker_.played, std::vector<std::string>{path});
  ASSERT_TRUE(std::filesystem::exists(path));
  EXPECT_EQ(std::filesystem::file_size(path), 44u + 11u * 11u * 441u);  // 4 + 7 bytes

  CommParams only = keep;
  only.SoundFileOnly = 1;
  std::filesystem::remove(path);
  EXPECT_EQ(sound::SendBySoundOrDataFile(only, 9002, 0), 1);
  EXPECT_EQ(speaker_.played.size(), 1u);  // made, not played
  EXPECT_TRUE(std::filesystem::exists(path));

  CommParams skip = params(false);
  skip.SkipSoundUpload = 1;
  EXPECT_EQ(sound::SendBySoundOrDataFile(skip, 9002, 0), 1);
  EXPECT_EQ(speaker_.played.size(), 1u);
}

TEST_F(SoundUpload, FailuresSetTheErrorCode) {
  CommParams nowhere = params(false);
  nowhere.LinkType = 0;
  std::strncpy(nowhere.FilePath, "/nonexistent-dir/x.wav", sizeof nowhere.FilePath - 1);
  EXPECT_EQ(sound::SendBySoundOrDataFile(nowhere, 9002, 0), 0);
  EXPECT_EQ(fnQuibra_GetErrorCode(), 2);

  speaker_.accept = false;
  CommParams refused = params(false);
  refused.LinkType = 0;
  EXPECT_EQ(sound::SendBySoundOrDataFile(refused, 9002, 0), 0);
  EXPECT_EQ(fnQuibra_GetErrorCode(), 1);
  std::filesystem::remove(speaker_.played.back());
}

TEST_F(SoundUpload, DialogShowsTheTextAndPlaysOnce) {
  speaker_.accept = false;  // a refused playback only closes the dialog
  CommParams p = params(true, "");
  p.LinkType = 0;
  EXPECT_EQ(sound::SendBySoundOrDataFile(p, 9001, 0), 1);
  EXPECT_EQ(speaker_.played.size(), 1u);
  EXPECT_STREQ(recorder_.events.front().Dialog, "PIPCAST_CONNECTION");
  EXPECT_EQ(recorder_.controls[ui::kStatusText].text, "Writing...");
  CommParams own = params(true, "Sending the watch settings");
  own.LinkType = 0;
  EXPECT_EQ(sound::SendBySoundOrDataFile(own, 9001, 0), 1);
  EXPECT_EQ(recorder_.controls[ui::kStatusText].text, "Sending the watch settings");
}

}  // namespace
}  // namespace quibra::testing
