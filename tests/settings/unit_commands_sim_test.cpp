// Unit commands and service values against the simulated unit over a pty: the requests as the
// unit receives them, its memory afterwards, and its acknowledgements.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "settings/settings_test_support.h"

namespace quibra::testing {
namespace {

class UnitCommandsSimTest : public SettingsTest {
 protected:
  Bytes memory(int32_t address, int32_t count) const { return unit_->memory(address, count); }
  // A command without answer is on its way when the call returns: wait (2 s at most) until the
  // unit has heard it.
  size_t heard(int32_t id) const {
    for (int i = 0; i < 200 && requests_for(id).empty(); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return requests_for(id).size();
  }
  // The requests the unit received, for a failure message.
  std::string log() const {
    std::string text;
    for (const auto& r : unit_->requests())
      text += std::to_string(r.id) + (r.checksum_ok ? " " : "(bad) ");
    return text;
  }
};

TEST_F(UnitCommandsSimTest, PagedContrastWriteLandsAtTheBlockAddress) {
  ASSERT_TRUE(start_unit(21));
  EXPECT_EQ(fnQuibra_SetLCDContrastEx(1, 9, 29, 0), 1);
  const auto writes = requests_for(9035);
  ASSERT_EQ(writes.size(), 1U);
  // Page byte 160, block 44 at address 5 (low, high), the level.
  EXPECT_EQ(writes[0].payload, (Bytes{160, 0x05, 0x00, 9}));
  EXPECT_EQ(memory(5, 1), Bytes{9});
  // The hour mode of type 20 with page 16, block 42 at address 4.
  EXPECT_EQ(fnQuibra_SetDefaultHourModeEx(1, 1, 0, 20, 0), 1);
  EXPECT_EQ(requests_for(9035).back().payload, (Bytes{16, 0x04, 0x00, 1}));
}

TEST_F(UnitCommandsSimTest, TimeCorrectionBySoundCarriesTheBlockAndTheFactoryDefaults) {
  EXPECT_EQ(fnQuibra_SetTimeCorrectionValue(-250), 1);
  ASSERT_EQ(speaker_.heard.size(), 2U);
  const Bytes& block = speaker_.heard[0];
  // Two zero bytes, then the 9007 image: header, address 0 0, the three value bytes.
  ASSERT_GE(block.size(), 12U);
  EXPECT_EQ(Bytes(block.begin() + 2, block.begin() + 4), (Bytes{0xA3, 0x07}));
  EXPECT_EQ(Bytes(block.begin() + 7, block.begin() + 12), (Bytes{0x00, 0x00, 0x50, 0x02, 0x00}));
  EXPECT_EQ(speaker_.heard[1][3], 0x09);  // then the factory-default command
}

TEST_F(UnitCommandsSimTest, LimitAlarmOffOnAType23Unit) {
  ASSERT_TRUE(start_unit(23));
  const Bytes before{0x41};
  unit_->set_memory(9, before);
  EXPECT_EQ(fnQuibra_SetK65LimitAlarmOff(), 1);
  EXPECT_EQ(memory(9, 1), Bytes{0x43});
  ASSERT_EQ(requests_for(9007).size(), 1U);
  EXPECT_EQ(requests_for(9007)[0].payload, (Bytes{0x09, 0x00, 0x43}));
  EXPECT_EQ(requests_for(9008).size(), 2U);
}

TEST_F(UnitCommandsSimTest, Type22SwitchesItsMonitorType) {
  ASSERT_TRUE(start_unit(22));
  const Bytes mode{2};
  unit_->set_memory(9, mode);
  EXPECT_EQ(fnQuibra_SwitchMonitorType(22, 3), 1) << log();
  EXPECT_EQ(memory(9, 1), Bytes{3});
  EXPECT_EQ(heard(9009), 1U);
}

TEST_F(UnitCommandsSimTest, CaloriesAreReadFromTheBlockTheUnitSends) {
  ASSERT_TRUE(start_unit(11));
  const Bytes calories{0x56, 0x34, 0x12};
  unit_->set_memory(84, calories);
  EXPECT_EQ(fnQuibra_ReadTotalCalories(), 123456);
  EXPECT_EQ(fnQuibra_WriteIDNumber(0x0A0B0C), 1);
  EXPECT_EQ(memory(73, 3), (Bytes{0x0C, 0x0B, 0x0A}));
}

}  // namespace
}  // namespace quibra::testing
