// Unit identification and the checks that follow it, against a scripted unit that answers the
// identification from given bytes and the memory commands from a memory array.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "frame/module.h"
#include "quibra/quibra.h"
#include "support/comm_params.h"
#include "support/module_fixture.h"
#include "support/scripted_unit_test.h"

namespace quibra::testing {
namespace {

// An identification answer as the image holds it: bytes by index, the rest zero.
std::vector<uint8_t> Identity(std::map<int, uint8_t> bytes) {
  std::vector<uint8_t> image(37, 0);
  for (const auto& [index, value] : bytes)
    image[static_cast<size_t>(index)] = value;
  return image;
}

class UnitInfoTest : public ScriptedUnitTest {
 protected:
  MonitorInfo Read(std::vector<uint8_t> identity, int32_t expected = 1) {
    unit_.identities = {std::move(identity)};
    CommParams p = LinkParams();
    MonitorInfo info{};
    info.MonitorInUse = -1;
    EXPECT_EQ(fnQuibra_ReadMonitorInfo(&p, &info), expected);
    return info;
  }
};

TEST_F(UnitInfoTest, OlderUnitFilesMemoryAndBattery) {
  // K55T: product code 19; variant 3 with the low-battery bit; 12 files (BCD); 4096 bytes used.
  const MonitorInfo info = Read(Identity({{6, 19}, {7, 0x31}, {8, 0x12}, {10, 0x10}, {11, 0x00}}));
  EXPECT_EQ(unit_.sent.front(), std::make_pair(9021, 1));  // the probe: MonitorInUse was -1
  EXPECT_EQ(info.Size, 40u);
  EXPECT_EQ(info.MonitorInUse, 22);
  EXPECT_EQ(info.DataVersion, 3u);
  EXPECT_EQ(info.LowBattery, 1u);
  EXPECT_EQ(info.TotalFiles, 12u);
  EXPECT_EQ(info.TotalMemoryInBytes, 32036u);
  EXPECT_EQ(info.FreeMemoryInBytes, 32036 - 4096);
  EXPECT_EQ(info.MonitorSubModel, 19u);
  EXPECT_EQ(module().unit.type.load(), 22);
  EXPECT_EQ(module().unit.variant.load(), 3);
}

TEST_F(UnitInfoTest, MemorySizesAndTheirCorrections) {
  struct Case {
    uint8_t code;
    uint8_t variant_byte;
    uint8_t used_high;
    uint32_t size;
    int32_t free;
  };
  const Case cases[] = {
      {17, 0x00, 0x10, 0, 0},                       // type 11, variant 0: no size at all
      {17, 0x10, 0x10, 15965, 15965 - 4096 + 417},  // variant 1 gives bytes back
      {68, 0x20, 0x10, 15883, 15883 - 4096 - 6},    // type 15, variant 2
      {17, 0x70, 0x10, 15912, 15912 - 4096 - 6},
      {37, 0x00, 0x7E, 32250, 0},  // type 23 with 32256 bytes used: never below 0
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.code));
    const MonitorInfo info = Read(Identity({{6, c.code}, {7, c.variant_byte}, {10, c.used_high}}));
    EXPECT_EQ(info.TotalMemoryInBytes, c.size);
    EXPECT_EQ(info.FreeMemoryInBytes, c.free);
  }
}

TEST_F(UnitInfoTest, FileCountsByType) {
  // Types 20 and 21: 100 when byte 9 has a low nibble, else BCD byte 8.
  EXPECT_EQ(Read(Identity({{6, 85}, {8, 0x42}})).TotalFiles, 42u);
  EXPECT_EQ(Read(Identity({{6, 102}, {8, 0x42}, {9, 0x01}})).TotalFiles, 100u);
}

TEST_F(UnitInfoTest, GroupAUnitStateBitsAndMemoryMap) {
  // VC8 (type 35), variant 4: state bits 0..3 in byte 8; byte 15 bit 0 sets state bit 4, which
  // then keeps bit 3 clear; byte 15 bit 7 is horse mode.
  // From 8: the variant and state bits; the files (0x134); the memory used; the state and horse
  // bits; the memory base 10000 (16 .. 18) and the bike area 1000 (19, 20). The totals at 23,
  // the display area at 35.
  std::vector<uint8_t> identity = Identity({{6, 166}, {23, 0x34}, {24, 0x12}, {36, 0x20}});
  const uint8_t from8[] = {0x4F, 0x34, 0x01, 0x00, 0x01, 0x00, 0x00,
                           0x81, 0x10, 0x27, 0x00, 0xE8, 0x03};
  std::copy(std::begin(from8), std::end(from8), identity.begin() + 8);
  const MonitorInfo info = Read(identity);
  EXPECT_EQ(info.MonitorInUse, 35);
  EXPECT_EQ(info.DataVersion, 4u);
  EXPECT_EQ(info.LowBattery, 0x17u);
  EXPECT_EQ(info.HorseMode, 0x80u);
  EXPECT_EQ(info.TotalFiles, 0x134u);
  EXPECT_EQ(info.TotalMemoryInBytes, 114637u);
  EXPECT_EQ(info.FreeMemoryInBytes, 114637 - 65536);
  const prvc::UnitMemoryMap& map = module().memory_map;
  EXPECT_EQ(map.base, 10000);
  EXPECT_EQ(map.exercise_area1, 10000 - 3770);
  EXPECT_EQ(map.exercise_area2, 10000 - 3240);
  EXPECT_EQ(map.weekly_targets, 10000 + 6804);
  EXPECT_EQ(map.daily_targets, 10000 + 7308);
  EXPECT_EQ(map.bike_area, 1000);
  EXPECT_EQ(map.settings_area, 1000 - 21 - 2);  // type 35 from variant 4 on
  EXPECT_EQ(map.totals, 0x1234);
  EXPECT_EQ(map.display_area, 0x2000);
  // The health check ran (the memory is all zero, so the state block was rewritten).
  ASSERT_EQ(unit_.writes.size(), 1u);
  EXPECT_EQ(unit_.writes[0].address, 0);
  EXPECT_EQ(unit_.writes[0].bytes, (std::vector<uint8_t>{0x10, 0x00, 0x01, 0x00, 0x00, 0x07}));
}

TEST_F(UnitInfoTest, GroupBStateBitsMoveAndBikesFollowTheSettings) {
  // PR9W (type 38): byte 15 = 1001 0110: bits 1, 2, 4 move to 1, 6, 2; bit 7 is horse mode.
  const MonitorInfo info =
      Read(Identity({{6, 174}, {8, 0x30}, {15, 0x96}, {19, 0x00}, {20, 0x04}}));
  EXPECT_EQ(info.MonitorInUse, 38);
  EXPECT_EQ(info.DataVersion, 3u);
  EXPECT_EQ(info.LowBattery, 0x46u);
  EXPECT_EQ(info.HorseMode, 1u);
  EXPECT_EQ(module().memory_map.settings_area, 0x400);
  EXPECT_EQ(module().memory_map.bike_area, 0x400 + 89);
  EXPECT_TRUE(unit_.writes.empty());  // type 38 has no state check
}

TEST_F(UnitInfoTest, UnknownCodeIsAskedOnceMore) {
  unit_.identities = {Identity({{6, 99}}), Identity({{6, 99}})};
  CommParams p = LinkParams();
  MonitorInfo info{};
  EXPECT_EQ(fnQuibra_ReadMonitorInfo(&p, &info), 0);
  EXPECT_EQ(info.MonitorInUse, -1);
  EXPECT_EQ(unit_.sent, (std::vector<std::pair<int32_t, int32_t>>{{9021, 0}, {9021, 0}}));

  unit_ = ScriptedUnit{};
  unit_.identities = {Identity({{6, 99}}), Identity({{6, 163}})};
  EXPECT_EQ(fnQuibra_ReadMonitorInfo(&p, &info), 1);
  EXPECT_EQ(info.MonitorInUse, 32);  // product code 163 is a VC4
}

TEST_F(UnitInfoTest, StrideSensorAndStateCheckOfType37) {
  unit_.identities = {Identity({{6, 173}})};
  // A sound state block: 0x1234 is the BCD number 1234, byte 3 is 10.
  const uint8_t state[] = {0x34, 0x12, 0x00, 0x0A, 0x55, 0x00};
  std::copy(std::begin(state), std::end(state), unit_.memory.begin());
  CommParams p = LinkParams();
  MonitorInfo info{};
  ASSERT_EQ(fnQuibra_ReadMonitorInfo(&p, &info), 1);
  EXPECT_TRUE(unit_.writes.empty());
  EXPECT_EQ(info.N4SensorMissing, 1u);
  EXPECT_EQ(p.MonitorType, 37);

  // A paired stride sensor in the third slot; an identifier from 0xF00000 up is none.
  unit_.memory[349] = 0xFF;
  unit_.memory[350] = 0xFF;
  unit_.memory[351] = 0xF0;
  EXPECT_EQ(fnQuibra_N4Sensor(&p), 0);
  unit_.memory[355] = 0x01;
  EXPECT_EQ(fnQuibra_N4Sensor(&p), 1);
  EXPECT_EQ(fnQuibra_ReadMonitorType(), 173);  // the raw code, not the monitor type
}

}  // namespace
}  // namespace quibra::testing
