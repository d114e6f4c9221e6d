// Logos: the display sizes, the range check, the packing of every layout, the sound upload with
// its two-part form, the round trip through a simulated unit over a pty, and the memory read of
// the running and cycling units against a scripted unit.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <vector>

#include "protocol/checksum.h"
#include "settings/logo_packing.h"
#include "settings/logo_transfer.h"
#include "settings_test_support.h"
#include "transfer/engine_link.h"

namespace quibra::testing {
namespace {

using Columns = std::array<int32_t, 64>;

class LogoTest : public SettingsTest {
 protected:
  void TearDown() override {
    transfer::set_transfer_link(nullptr);
    SettingsTest::TearDown();
  }
  // Exchanges go to a scripted unit in place of the engine.
  void script() {
    scripted_.identities = {Bytes{}};  // asked for its identity, it leaves the image as it is
    transfer::set_transfer_link(&scripted_);
  }

  static CommParams played() { return sound(); }
  CommParams kept_file(const std::string& name) const {
    CommParams p = sound();
    p.SoundFileOnly = 1;
    p.KeepSoundFile = 1;
    std::snprintf(p.FilePath, sizeof p.FilePath, "%s", (folder_ / name).string().c_str());
    return p;
  }
  static Columns Filled(int32_t value) {
    Columns c{};
    c.fill(value);
    return c;
  }

  ScriptedUnit scripted_;
};

// The display sizes the exports report; the sends below check every size they use.
TEST_F(LogoTest, DisplaySizeByType) {
  EXPECT_EQ(fnQuibra_GetLogoRowCount(19), 15);
  EXPECT_EQ(fnQuibra_GetLogoColCount(16), 44);
  EXPECT_EQ(fnQuibra_GetLogoColCount(30), 64);
  EXPECT_EQ(fnQuibra_GetLogoRowCount(18), 0);  // a type without a logo
  EXPECT_EQ(fnQuibra_GetLogoColCount(-1), 0);
}

TEST_F(LogoTest, ColumnOutsideTheRowsSendsNothing) {
  CommParams p = played();
  Columns c = Filled(255);
  EXPECT_EQ(fnQuibra_SendMonitorLogo(&p, 11, c.data(), 0), 1);
  ASSERT_EQ(speaker_.heard.size(), 1u);
  c[46] = 256;  // the last column of type 11 is checked too
  EXPECT_EQ(fnQuibra_SendMonitorLogo(&p, 11, c.data(), 0), 0);
  c[46] = -1;
  EXPECT_EQ(fnQuibra_SendMonitorLogo(&p, 11, c.data(), 0), 0);
  c = Filled(0x3FFFFF);
  EXPECT_EQ(fnQuibra_SendMonitorLogo(&p, 30, c.data(), 0), 1);
  c[63] = 0x400000;
  EXPECT_EQ(fnQuibra_SendMonitorLogo(&p, 30, c.data(), 0), 0);
  c = Filled(0);
  EXPECT_EQ(fnQuibra_SendMonitorLogo(&p, 18, c.data(), 0), 0);  // no logo on this type
  EXPECT_EQ(fnQuibra_SendMonitorLogo(&p, 11, nullptr, 0), 0);
  EXPECT_EQ(speaker_.heard.size(), 2u);
}

TEST_F(LogoTest, PackingOfEachLayout) {
  using protocol::GetMessageByte;
  Columns c{};
  c[0] = 0x1234;
  c[1] = 0x00FF;
  ASSERT_TRUE(settings::PrepareLogo(25, c.data(), 0, 0));
  EXPECT_EQ(ImageBytes(9015, 25, 5, 8), (Bytes{0x12, 0x34, 0x00, 0xFF}));

  c[0] = 0x3FFFFF;
  c[1] = 0x012345;
  c[63] = 0x200001;
  ASSERT_TRUE(settings::PrepareLogo(30, c.data(), 0, 0));
  EXPECT_EQ(ImageBytes(9015, 30, 5, 10), (Bytes{0x3F, 0xFF, 0xFF, 0x01, 0x23, 0x45}));
  EXPECT_EQ(ImageBytes(9015, 30, 194, 196), (Bytes{0x20, 0x00, 0x01}));

  for (int32_t type = 33; type <= 38; ++type) {
    ASSERT_TRUE(settings::PrepareLogo(type, c.data(), 128, 0));
    EXPECT_EQ(ImageBytes(9015, type, 5, 12), (Bytes{128, 64, 0x3F, 0xFF, 0xFF, 0x01, 0x23, 0x45}))
        << type;
    EXPECT_EQ(ImageBytes(9015, type, 196, 198), (Bytes{0x20, 0x00, 0x01})) << type;
  }

  // A 44-column unit fills the three bytes after its columns with blanks.
  c = Filled(0xFF);
  ASSERT_TRUE(settings::PrepareLogo(11, c.data(), 0, 0));
  c = Filled(0x81);
  ASSERT_TRUE(settings::PrepareLogo(16, c.data(), 0, 0));
  EXPECT_EQ(GetMessageByte(9015, 16, 48), 0x81);
  EXPECT_EQ(ImageBytes(9015, 16, 49, 51), (Bytes{0, 0, 0}));
}

TEST_F(LogoTest, MirroredTypesLeaveTheCallersColumnsAlone) {
  Columns c = Filled(0x01);  // row 0 only
  c[1] = 0x03;
  const Columns before = c;
  CommParams p = played();
  ASSERT_EQ(fnQuibra_SendMonitorLogo(&p, 29, c.data(), 0), 1);
  EXPECT_EQ(c, before);
  ASSERT_EQ(speaker_.heard.size(), 1u);
  const Bytes& heard = speaker_.heard[0];
  // Two padding bytes, then the image: row 0 went out as row 7.
  EXPECT_EQ(Bytes(heard.begin() + 7, heard.begin() + 10), (Bytes{0x80, 0xC0, 0x80}));
  EXPECT_EQ(heard[2 + 51], 0x80);  // the last column
  // Type 28 has the same display and is not mirrored.
  ASSERT_EQ(fnQuibra_SendMonitorLogo(&p, 28, c.data(), 0), 1);
  EXPECT_EQ(speaker_.heard[1][7], 0x01);
  EXPECT_EQ(settings::MirrorRows(0x0001, 15), 0x4000u);
  EXPECT_EQ(settings::MirrorRows(0x0180, 16), 0x0180u);
  EXPECT_EQ(settings::MirrorRows(0x0100, 15), 0x0040u);  // 15 rows: row 7 stays, row 8 <-> 6
}

TEST_F(LogoTest, LogoGoesOutUnderTheCodeAndLengthOfItsType) {
  struct Expect {
    int32_t type;
    uint8_t code;
    uint8_t length;
  };
  const Expect rows[] = {{11, 0x0F, 52}, {22, 0x0F, 52}, {29, 0x15, 52},  {31, 0x15, 52},
                         {32, 0x15, 99}, {25, 0x0F, 99}, {30, 0x0F, 197}, {36, 0x0F, 199}};
  const Columns c = Filled(0x5);
  for (const Expect& e : rows) {
    CommParams p = played();
    speaker_.heard.clear();
    ASSERT_EQ(fnQuibra_SendMonitorLogo(&p, e.type, c.data(), 3), 1) << e.type;
    ASSERT_EQ(speaker_.heard.size(), 1u);
    const Bytes& heard = speaker_.heard[0];
    ASSERT_EQ(heard.size(), size_t{e.length} + 2 + 4) << e.type;
    EXPECT_EQ(Bytes(heard.begin(), heard.begin() + 7), (Bytes{0, 0, 0xA3, e.code, 0, 0, e.length}))
        << e.type;
    // The checksum was computed over the bytes as they went out.
    EXPECT_EQ(protocol::Crc16Check(heard.data() + 2, size_t{e.length} + 2), 1) << e.type;
  }
}

TEST_F(LogoTest, OutdoorLogoInTwoPartsWithAPause) {
  PauseLog pauses(clock_, scripted_);
  platform::set_clock(&pauses);
  Columns c{};
  c[0] = 0x7FFF;   // every row
  c[1] = 0x0100;   // row 8
  c[46] = 0x4081;  // rows 0, 7 and 14
  CommParams p = played();
  ASSERT_EQ(fnQuibra_SendMonitorLogo(&p, 20, c.data(), 0), 1);
  platform::set_clock(&clock_);
  EXPECT_TRUE(pauses.paused_before(1500, 0));
  ASSERT_EQ(speaker_.heard.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    const Bytes& heard = speaker_.heard[i];
    ASSERT_EQ(heard.size(), 55u + 4);
    EXPECT_EQ(Bytes(heard.begin() + 2, heard.begin() + 7), (Bytes{0xA3, 0x32, 0, 0, 53}));
    EXPECT_EQ(protocol::Crc16Check(heard.data() + 2, 55), 1);
  }
  // Sub-image 1 first: the upper eight rows; then sub-image 0: the lower seven.
  const Bytes& upper = speaker_.heard[0];
  const Bytes& lower = speaker_.heard[1];
  EXPECT_EQ(Bytes(upper.begin() + 7, upper.begin() + 10), (Bytes{1, 0xFF, 0x00}));
  EXPECT_EQ(upper[2 + 52], 0x81);
  EXPECT_EQ(Bytes(lower.begin() + 7, lower.begin() + 10), (Bytes{0, 0x7F, 0x01}));
  EXPECT_EQ(lower[2 + 52], 0x40);
}

TEST_F(LogoTest, SecondPartGetsASoundFileOfItsOwn) {
  const Columns c = Filled(0x0101);
  CommParams p = kept_file("logo.wav");
  ASSERT_EQ(fnQuibra_SendMonitorLogo(&p, 20, c.data(), 0), 1);
  EXPECT_EQ(std::string(p.FilePath), (folder_ / "logo2.wav").string());
  EXPECT_TRUE(speaker_.heard.empty());  // made, not played
  const auto first = sim::ListenToPipcastFile((folder_ / "logo.wav").string());
  const auto second = sim::ListenToPipcastFile((folder_ / "logo2.wav").string());
  ASSERT_TRUE(first && second);
  EXPECT_EQ(Bytes(first->begin() + 7, first->begin() + 9), (Bytes{1, 0x01}));
  EXPECT_EQ(Bytes(second->begin() + 7, second->begin() + 9), (Bytes{0, 0x01}));

  // logo2.wav exists now: the next upload names its second part logo3.wav.
  p = kept_file("logo.wav");
  ASSERT_EQ(fnQuibra_SendMonitorLogo(&p, 21, c.data(), 0), 1);
  EXPECT_EQ(std::string(p.FilePath), (folder_ / "logo3.wav").string());
  EXPECT_TRUE(std::filesystem::exists(folder_ / "logo3.wav"));

  EXPECT_EQ(settings::SecondPartSoundName("C:\\tmp\\logo.wav", 260), "C:\\tmp\\logo2.wav");
  EXPECT_EQ(settings::SecondPartSoundName("up.dir/logo", 260), "up.dir/logo2");
  EXPECT_FALSE(settings::SecondPartSoundName("abc.wav", 8));  // "abc2.wav" needs 9
}

TEST_F(LogoTest, InfraredSendsTheMessageOfTheType) {
  script();
  const Columns c = Filled(1);
  CommParams p = infrared();
  ASSERT_EQ(fnQuibra_SendMonitorLogo(&p, 12, c.data(), 0), 1);
  ASSERT_EQ(fnQuibra_SendMonitorLogo(&p, 31, c.data(), 0), 1);
  ASSERT_EQ(fnQuibra_SendMonitorLogo(&p, 21, c.data(), 0), 1);
  ASSERT_EQ(fnQuibra_SendBitmap(&p, c.data()), 1);
  using Sent = std::vector<std::pair<int32_t, int32_t>>;
  EXPECT_EQ(scripted_.sent, (Sent{{9015, 12}, {9021, 31}, {9050, 1}, {9050, 0}, {9015, 11}}));

  // A part that is not answered ends the upload.
  scripted_.sent.clear();
  scripted_.answers = false;
  EXPECT_EQ(fnQuibra_SendMonitorLogo(&p, 19, c.data(), 0), 0);
  EXPECT_EQ(scripted_.sent, (Sent{{9050, 1}}));
}

TEST_F(LogoTest, LogoRoundTripThroughASimulatedUnit) {
  ASSERT_TRUE(start_unit(22));
  Columns c{};
  for (int32_t i = 0; i < 47; ++i)
    c[static_cast<size_t>(i)] = (i * 37 + 11) & 0xFF;
  CommParams p = infrared();
  ASSERT_EQ(fnQuibra_SendMonitorLogo(&p, 22, c.data(), 0), 1);
  const auto writes = requests_for(9015);
  ASSERT_EQ(writes.size(), 1u);
  EXPECT_TRUE(writes[0].checksum_ok);
  ASSERT_GE(writes[0].payload.size(), 3u);
  EXPECT_EQ(Bytes(writes[0].payload.begin(), writes[0].payload.begin() + 3), (Bytes{11, 48, 85}));

  // Wipe the image, then ask the unit for its logo.
  Columns blank{};
  ASSERT_TRUE(settings::PrepareLogo(22, blank.data(), 0, 1));
  Columns back = Filled(-7);
  ASSERT_EQ(fnQuibra_ReadMonitorLogo(&p, 22, back.data(), 0), 1);
  EXPECT_TRUE(std::equal(c.begin(), c.begin() + 47, back.begin()));
  EXPECT_EQ(back[47], -7);  // 47 columns only
}

TEST_F(LogoTest, ReadsOnlyTheTypesThatKeepALogo) {
  script();
  Columns c{};
  CommParams p = infrared();
  for (const int32_t type : {10, 19, 25, 30, 39})
    EXPECT_EQ(fnQuibra_ReadMonitorLogo(&p, type, c.data(), 0), 0) << type;
  EXPECT_TRUE(scripted_.sent.empty());
  scripted_.answers = false;
  EXPECT_EQ(fnQuibra_ReadMonitorLogo(&p, 13, c.data(), 0), 0);
  EXPECT_EQ(fnQuibra_GetErrorCode(), -1);
}

TEST_F(LogoTest, MemoryReadOfARunningUnitsLogoSlot) {
  script();
  // A type 34 unit (product code 167) whose identification names the memory base 0x001000.
  Bytes identity(37, 0);
  identity[6] = 167;
  identity[17] = 0x10;
  scripted_.identities = {identity};
  CommParams p = infrared();
  MonitorInfo info{};
  ASSERT_EQ(fnQuibra_ReadMonitorInfo(&p, &info), 1);
  ASSERT_EQ(info.MonitorInUse, 34);
  // Slot 2 lies at base + 9291 + 2 x 193; a leading byte, then three bytes per column.
  const size_t at = 0x1000 + 9291 + 2 * 193;
  const Bytes slot = {0xEE, 0xC1, 0x23, 0x45, 0x00, 0x00, 0x80};
  std::copy(slot.begin(), slot.end(), scripted_.memory.begin() + static_cast<long>(at));
  scripted_.memory[at + 190] = 0x3F;
  scripted_.memory[at + 191] = 0xFF;
  scripted_.memory[at + 192] = 0xFE;
  Columns c = Filled(-1);
  PauseLog pauses(clock_, scripted_);
  platform::set_clock(&pauses);
  ASSERT_EQ(fnQuibra_ReadMonitorLogo(&p, 34, c.data(), 2), 1);
  platform::set_clock(&clock_);
  // Before and after the read.
  EXPECT_EQ(pauses.pauses, (std::vector<std::pair<uint32_t, size_t>>{{300, 1}, {300, 2}}));
  EXPECT_EQ(c[0], 0x012345);  // the two high bits of the first byte are not pixels
  EXPECT_EQ(c[1], 0x000080);
  EXPECT_EQ(c[63], 0x3FFFFE);
  EXPECT_EQ(scripted_.count(9090), 1u);

  // The export takes the type from CommParams, else from the unit identified last: type 36
  // keeps its slots 8946 bytes past the base.
  scripted_.memory[0x1000 + 8946 + 1 + 2] = 0x99;
  p.MonitorType = 36;
  ASSERT_EQ(fnQuibra_PRVC_ReadBitmap(&p, c.data(), 0), 1);
  EXPECT_EQ(c[0], 0x99);
  p.MonitorType = 0;
  ASSERT_EQ(fnQuibra_PRVC_ReadBitmap(&p, c.data(), 2), 1);
  EXPECT_EQ(c[0], 0x012345);
  EXPECT_EQ(fnQuibra_PRVC_ReadBitmap(&p, c.data(), -1), 0);
  EXPECT_EQ(fnQuibra_PRVC_ReadBitmap(&p, c.data(), 0x7FFFFFFF), 0);
  scripted_.answers = false;
  EXPECT_EQ(fnQuibra_PRVC_ReadBitmap(&p, c.data(), 0), 0);
}

}  // namespace
}  // namespace quibra::testing
