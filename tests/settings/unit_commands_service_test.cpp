// The service parameters, the file-delete command and the checked block writes, against a
// scripted unit: the bytes each puts into the memory image, the routes they take, and the
// refusals that send nothing.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "frame/comm_params.h"
#include "frame/module.h"
#include "platform/registry.h"
#include "quibra/quibra.h"
#include "settings_test_support.h"
#include "support/comm_params.h"
#include "support/recorded_boxes.h"
#include "support/scripted_unit_test.h"
#include "ui/clipboard.h"
#include "ui/message_box.h"

namespace quibra::testing {
namespace {

using Sent = std::vector<std::pair<int32_t, int32_t>>;

std::vector<uint8_t> Identity(uint8_t product_code) {
  std::vector<uint8_t> image(37, 0);
  image[6] = product_code;
  return image;
}

// The user gives up on a transfer as soon as the dialog offers Retry.
void QUIBRA_CALL CancelOnRetry(const QuibraDialogEvent* event, void*) {
  if (event->Kind == QUIBRA_DIALOG_CONTROL && event->Control == 1005 && event->Enabled != 0)
    fnQuibraExt_PressDialogButton(2);
}

class ServiceCommandsTest : public ScriptedUnitTest {
 protected:
  void SetUp() override {
    ScriptedUnitTest::SetUp();
    platform::set_clock(&pauses_);
    ui::set_message_box_host(&boxes_);
    fnQuibraExt_SetDialogObserver(CancelOnRetry, nullptr);
  }
  void TearDown() override {
    fnQuibraExt_SetDialogObserver(nullptr, nullptr);
    ScriptedUnitTest::TearDown();
    ui::set_message_box_host(nullptr);
  }
  std::array<uint8_t, 3> Block(int32_t block) {
    const auto& b = unit_.blocks[block];
    return {b[0], b[1], b[2]};
  }

  PauseLog pauses_{clock_, unit_};
  RecordedBoxes boxes_;
};

TEST_F(ServiceCommandsTest, TimeCorrectionGoesAsBcdMagnitudeAndSign) {
  EXPECT_EQ(fnQuibra_SetTimeCorrectionValueEx(1, -250, 11, 0, 0), 1);
  EXPECT_EQ(unit_.sent, (Sent{{9007, 43}}));
  EXPECT_EQ(Block(43), (std::array<uint8_t, 3>{0x50, 0x02, 0x00}));
  EXPECT_EQ(fnQuibra_SetTimeCorrectionValueEx(1, 3999, 11, 0, 0), 1);
  EXPECT_EQ(Block(43), (std::array<uint8_t, 3>{0x99, 0x39, 0x01}));
  EXPECT_EQ(fnQuibra_SetTimeCorrectionValueEx(1, 6, 11, 0, 0), 1);
  EXPECT_EQ(Block(43), (std::array<uint8_t, 3>{0x06, 0x00, 0x01}));
}

TEST_F(ServiceCommandsTest, OutOfRangeServiceValuesSendNothing) {
  EXPECT_EQ(fnQuibra_SetTimeCorrectionValue(5), 0);
  EXPECT_EQ(fnQuibra_SetTimeCorrectionValue(4000), 0);
  EXPECT_EQ(fnQuibra_SetTimeCorrectionValue(-5), 0);
  EXPECT_EQ(fnQuibra_SetTimeCorrectionValueEx(1, -4000, 11, 0, 0), 0);
  EXPECT_EQ(fnQuibra_SetLCDContrast(15), 0);
  EXPECT_EQ(fnQuibra_SetLCDContrastEx(1, 0, 11, 0), 0);
  EXPECT_EQ(fnQuibra_SetDefaultHourMode(2, 0), 0);
  EXPECT_EQ(fnQuibra_SetDefaultHourModeEx(1, 1, 2, 11, 0), 0);
  EXPECT_EQ(fnQuibra_SetLCDContrastEx(2, 7, 11, 0), 0);  // no such link
  // The hour mode has no place in the running and cycling units' memory.
  EXPECT_EQ(fnQuibra_SetDefaultHourModeEx(1, 1, 0, 35, 0), 0);
  // Hostile integers: values whose negation or sum does not exist, unit types nobody makes.
  for (const int32_t hostile : {INT32_MIN, INT32_MIN + 1, -1, 0, 9999, INT32_MAX}) {
    SCOPED_TRACE(hostile);
    EXPECT_EQ(fnQuibra_SetTimeCorrectionValue(hostile), 0);
    EXPECT_EQ(fnQuibra_SetTimeCorrectionValueEx(1, hostile, 11, 0, hostile), 0);
    EXPECT_EQ(fnQuibra_SetLCDContrast(hostile), 0);
    EXPECT_EQ(fnQuibra_SetDefaultHourModeEx(1, 1, 0, hostile, 0), 0);
    EXPECT_EQ(fnQuibra_SetLCDContrastEx(1, 7, hostile, 0), 0);
    EXPECT_EQ(fnQuibra_SetTimeCorrectionValueEx(1, 250, hostile, 0, 0), 0);
  }
  EXPECT_TRUE(unit_.sent.empty());
  EXPECT_TRUE(boxes_.shown.empty());
}

TEST_F(ServiceCommandsTest, HourModeCarriesTheVariantMarkerOnTheBlockRoute) {
  EXPECT_EQ(fnQuibra_SetDefaultHourModeEx(1, 1, 0, 11, 0), 1);
  EXPECT_EQ(unit_.blocks[42][0], 0x11);
  EXPECT_EQ(fnQuibra_SetDefaultHourModeEx(1, 0, 0, 12, 0), 1);
  EXPECT_EQ(unit_.blocks[42][0], 0x10);
  EXPECT_EQ(fnQuibra_SetDefaultHourModeEx(1, 1, 1, 11, 0), 1);
  EXPECT_EQ(unit_.blocks[42][0], 0x01);
  EXPECT_EQ(unit_.sent, (Sent{{9007, 42}, {9007, 42}, {9007, 42}}));
  // The block layouts are the oldest units', whatever type chose the route.
  EXPECT_EQ(module().unit.type.load(), 11);
}

TEST_F(ServiceCommandsTest, PagedRouteCarriesThePageByteOfTheFamily) {
  const std::map<int32_t, uint8_t> pages = {{19, 16}, {21, 16}, {41, 0}, {28, 160}, {31, 160}};
  for (const auto& [type, page] : pages) {
    module().raw_memory.leading_byte = 0x55;
    EXPECT_EQ(fnQuibra_SetLCDContrastEx(1, 9, type, 0), 1) << type;
    EXPECT_EQ(unit_.sent.back(), std::make_pair(9035, 44)) << type;
    EXPECT_EQ(module().raw_memory.leading_byte, page) << type;
    // The value sits after the page byte and the two address bytes; no marker in the hour
    // mode of this route.
    EXPECT_EQ(protocol::GetMessageByte(9035, 44, 8), 9) << type;
  }
  EXPECT_EQ(fnQuibra_SetDefaultHourModeEx(1, 1, 0, 20, 0), 1);
  EXPECT_EQ(protocol::GetMessageByte(9035, 42, 8), 1);
  // Type 38 takes the contrast by block write: only its time correction goes to memory.
  EXPECT_EQ(fnQuibra_SetLCDContrastEx(1, 9, 38, 0), 1);
  EXPECT_EQ(unit_.sent.back(), std::make_pair(9007, 44));
}

TEST_F(ServiceCommandsTest, FactoryDefaultsFollowAfterTheDelay) {
  EXPECT_EQ(fnQuibra_SetTimeCorrectionValueEx(1, 300, 11, 1, 1200), 1);
  EXPECT_EQ(unit_.sent, (Sent{{9007, 43}, {9009, 0}}));
  EXPECT_TRUE(pauses_.paused_before(1200, 1));
  EXPECT_EQ(fnQuibra_SetLCDContrastEx(1, 4, 11, 1), 1);
  EXPECT_EQ(unit_.sent.size(), 4U);
  EXPECT_EQ(unit_.sent[3], std::make_pair(9009, 0));
  EXPECT_TRUE(pauses_.paused_before(750, 3));
  EXPECT_EQ(fnQuibra_SetTimeCorrectionValueEx(1, 300, 11, 1, 0), 1);  // 0 means 750
  EXPECT_TRUE(pauses_.paused_before(750, 5));
  // A write the unit does not answer ends there: no factory defaults.
  unit_.answers = false;
  EXPECT_EQ(fnQuibra_SetDefaultHourModeEx(1, 1, 0, 11, 1), 0);
  EXPECT_EQ(unit_.sent.size(), 7U);
  EXPECT_EQ(unit_.sent.back(), std::make_pair(9007, 42));
}

TEST_F(ServiceCommandsTest, DirectWriteWithoutItsLinkFailsUnsent) {
  // The IrDA link cannot be started on this build: the user sees the failure, nothing is sent.
  EXPECT_EQ(fnQuibra_SetLCDContrastEx(1, 7, 35, 0), 0);
  EXPECT_EQ(fnQuibra_SetTimeCorrectionValueEx(1, 120, 38, 1, 0), 0);
  const uint8_t factory[] = {1, 2, 3};
  EXPECT_EQ(fnQuibra_WriteFactoryEEPROMDataPRVCeq(factory, 3, 36), 0);
  EXPECT_TRUE(unit_.sent.empty());
  using Box = std::pair<std::string, std::string>;
  EXPECT_EQ(boxes_.shown, (std::vector<Box>{
                              {"Failed!", "fnQuibra_SetLCDContrastEx"},
                              {"Failed!", "fnQuibra_SetTimeCorrectionValueEx"},
                              {"Failed!", "fnQuibra_WriteFactoryEEPROMDataPRVCeq"},
                          }));
  // Refused arguments show nothing at all.
  EXPECT_EQ(fnQuibra_WriteFactoryEEPROMDataPRVCeq(nullptr, 3, 36), 0);
  EXPECT_EQ(fnQuibra_WriteFactoryEEPROMDataPRVCeq(factory, 0, 36), 0);
  EXPECT_EQ(fnQuibra_WriteFactoryEEPROMDataPRVCeq(factory, 489, 36), 0);
  EXPECT_EQ(fnQuibra_WriteFactoryEEPROMDataPRVCeq(factory, 3, 39), 0);
  EXPECT_EQ(boxes_.shown.size(), 3U);
}

TEST_F(ServiceCommandsTest, FileDeleteNamesTheFileByItsStart) {
  CommParams p = LinkParams(1, 22);
  // Refused: no such file, no such time of day or date, no downloaded memory to name file 0.
  EXPECT_EQ(fnQuibra_SendFileDeleteCommand(&p, -3, 20240315, 0, 0), 0);
  EXPECT_EQ(fnQuibra_SendFileDeleteCommand(&p, -2, 20240315, 86400, 0), 0);
  EXPECT_EQ(fnQuibra_GetErrorCode(), 101);
  EXPECT_EQ(fnQuibra_SendFileDeleteCommand(&p, -2, 20240230, 0, 0), 0);
  EXPECT_EQ(fnQuibra_GetErrorCode(), 102);
  EXPECT_EQ(fnQuibra_SendFileDeleteCommand(&p, 0, 0, 0, 0), 0);
  EXPECT_EQ(fnQuibra_SendFileDeleteCommand(nullptr, -1, 0, 0, 0), 0);
  // 14:05:09 on 15 March 2024, shown in 12-hour form: recorded, nothing sent.
  EXPECT_EQ(fnQuibra_SendFileDeleteCommand(&p, -2, 20240315, 14 * 3600 + 5 * 60 + 9, 1), 1);
  EXPECT_TRUE(unit_.sent.empty());
  EXPECT_EQ(fnQuibra_SendFileDeleteCommand(&p, -1, 0, 0, 0), 1);
  EXPECT_EQ(unit_.sent, (Sent{{9012, 0}}));
  // All files; 09 s, 05 min, 2 pm (BCD 02 + 128), day 15 + 128, year 124 - 100 = 24, March.
  EXPECT_EQ(ImageBytes(9012, 0, 5, 11), (Bytes{0xFF, 0x09, 0x05, 0x82, 0x95, 0x24, 3}));
  // In 24-hour form the hour and the day carry no marks.
  EXPECT_EQ(fnQuibra_SendFileDeleteCommand(&p, -2, 19991231, 23 * 3600, 0), 1);
  EXPECT_EQ(fnQuibra_SendFileDeleteCommand(&p, -1, 0, 0, 0), 1);
  EXPECT_EQ(ImageBytes(9012, 0, 5, 11), (Bytes{0xFF, 0x00, 0x00, 0x23, 0x31, 0x99, 12}));
}

TEST_F(ServiceCommandsTest, FileDeleteOfTheNewerUnitsPacksTheDate) {
  CommParams p = LinkParams(1, 36);
  EXPECT_EQ(fnQuibra_SendFileDeleteCommand(&p, -2, 20240315, 14 * 3600 + 5 * 60 + 9, 1), 1);
  EXPECT_EQ(fnQuibra_SendFileDeleteCommand(&p, -1, 0, 0, 0), 1);
  // 2024-03-15: (44 << 9) | (3 << 5) | 15 = 0x586F, low byte first; then 09 s, 05 min, 14 h
  // (no 12-hour form), 255.
  EXPECT_EQ(ImageBytes(9012, 0, 5, 11), (Bytes{0xFF, 0x6F, 0x58, 0x09, 0x05, 0x14, 0xFF}));
}

TEST_F(ServiceCommandsTest, MemoryByteIsReadBackOverInfrared) {
  EXPECT_EQ(fnQuibra_WriteMemoryByte(1, 9, 0x1A5), 1);  // the low byte goes
  EXPECT_EQ(unit_.sent, (Sent{{9007, 46}, {9008, 46}}));
  EXPECT_EQ(unit_.blocks[46][0], 0xA5);
  EXPECT_TRUE(pauses_.paused_before(500, 1));
  unit_.stuck_blocks = {46};
  EXPECT_EQ(fnQuibra_WriteMemoryByte(1, 9, 0x11), 0);
  // Other links only prepare the byte.
  EXPECT_EQ(fnQuibra_WriteMemoryByte(0, 9, 0x22), 1);
  EXPECT_EQ(protocol::GetMessageByte(9007, 46, 7), 0x22);
  EXPECT_EQ(fnQuibra_WriteMemoryByte(1, 8, 0x22), 0);
  EXPECT_EQ(unit_.sent.size(), 4U);
}

TEST_F(ServiceCommandsTest, LimitAlarmOffSetsBitOneAndChecksIt) {
  unit_.identities = {Identity(37)};  // type 23
  unit_.blocks[46][0] = 0x41;
  EXPECT_EQ(fnQuibra_SetK65LimitAlarmOff(), 1);
  EXPECT_EQ(unit_.sent, (Sent{{9021, 0}, {9008, 46}, {9007, 46}, {9008, 46}}));
  EXPECT_EQ(unit_.blocks[46][0], 0x43);
  EXPECT_TRUE(pauses_.paused_before(100, 2));
  EXPECT_TRUE(pauses_.paused_before(500, 3));

  unit_.stuck_blocks = {46};
  unit_.blocks[46][0] = 0x00;
  EXPECT_EQ(fnQuibra_SetK65LimitAlarmOff(), 0);

  unit_.sent.clear();
  unit_.identities = {Identity(85)};  // type 20 has no such alarm
  EXPECT_EQ(fnQuibra_SetK65LimitAlarmOff(), 0);
  EXPECT_EQ(unit_.sent, (Sent{{9021, 0}}));
}

TEST_F(ServiceCommandsTest, MonitorTypeSwitchOfType12NeedsTheRightModel) {
  unit_.identities = {Identity(35)};
  EXPECT_EQ(fnQuibra_SwitchMonitorType(12, 1), 1);
  EXPECT_EQ(unit_.sent, (Sent{{9021, 0}, {9007, 41}, {9009, 0}}));
  EXPECT_EQ(unit_.blocks[41][0], 3);
  EXPECT_TRUE(pauses_.paused_before(750, 2));

  unit_.sent.clear();
  unit_.identities = {Identity(34)};  // a type 12 model that cannot switch
  EXPECT_EQ(fnQuibra_SwitchMonitorType(12, 0), 0);
  EXPECT_EQ(unit_.sent, (Sent{{9021, 0}}));
  unit_.sent.clear();
  EXPECT_EQ(fnQuibra_SwitchMonitorType(12, 2), 0);
  EXPECT_EQ(fnQuibra_SwitchMonitorType(11, 0), 0);
  EXPECT_TRUE(unit_.sent.empty());
}

TEST_F(ServiceCommandsTest, MonitorTypeSwitchOfType22IsCheckedByReadingBack) {
  unit_.identities = {Identity(19)};  // type 22
  unit_.blocks[41][0] = 2;
  EXPECT_EQ(fnQuibra_SwitchMonitorType(22, 3), 1);
  EXPECT_EQ(unit_.sent, (Sent{{9021, 0}, {9008, 41}, {9007, 41}, {9008, 41}, {9009, 0}}));
  EXPECT_EQ(unit_.blocks[41][0], 3);
  // Another mode keeps the unit's own type byte.
  unit_.blocks[41][0] = 7;
  EXPECT_EQ(fnQuibra_SwitchMonitorType(22, 9), 1);
  EXPECT_EQ(unit_.blocks[41][0], 7);
  unit_.stuck_blocks = {41};
  unit_.blocks[41][0] = 2;
  unit_.sent.clear();
  EXPECT_EQ(fnQuibra_SwitchMonitorType(22, 3), 0);
  EXPECT_EQ(unit_.count(9009), 0U);
}

TEST_F(ServiceCommandsTest, UsageCountersComeFromBlock45) {
  EXPECT_EQ(fnQuibra_ReadUsageCounterValue(0), 0);  // before any read
  unit_.identities = {Identity(102)};               // type 21
  for (size_t i = 0; i < 26; ++i)
    unit_.blocks[45][i] = static_cast<uint8_t>(i + 1);
  EXPECT_EQ(fnQuibra_GetUsageCounters(0), 1);
  EXPECT_EQ(unit_.sent, (Sent{{9021, 0}, {9008, 45}}));
  EXPECT_EQ(fnQuibra_ReadUsageCounterValue(0), 0x0201);
  EXPECT_EQ(fnQuibra_ReadUsageCounterValue(1), 0x0403);
  EXPECT_EQ(fnQuibra_ReadUsageCounterValue(12), 0x1A19);
  EXPECT_EQ(fnQuibra_ReadUsageCounterValue(13), 0);
  EXPECT_EQ(fnQuibra_ReadUsageCounterValue(-1), 0);
  // A failed read leaves no stale counters behind.
  unit_.answers = false;
  EXPECT_EQ(fnQuibra_GetUsageCounters(0), 0);
  EXPECT_EQ(fnQuibra_ReadUsageCounterValue(0), 0);
}

TEST_F(ServiceCommandsTest, UsageCountersGoToTheClipboardWithTheirValues) {
  class LastText final : public ui::Clipboard {
   public:
    bool put_text(const std::string& t) override {
      text_ = t;
      return true;
    }
    std::string text() override { return text_; }

   private:
    std::string text_;
  } clipboard;
  ui::set_clipboard(&clipboard);
  unit_.identities = {Identity(85)};  // type 20
  unit_.blocks[45][0] = 0x10;
  unit_.blocks[45][1] = 0x27;  // 10000
  unit_.blocks[45][24] = 7;
  EXPECT_EQ(fnQuibra_GetUsageCounters(1), 1);
  ui::set_clipboard(nullptr);
  EXPECT_EQ(clipboard.text(),
            "10000\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n7\r\n");

  unit_.identities = {Identity(19)};  // type 22 keeps no usage counters
  EXPECT_EQ(fnQuibra_GetUsageCounters(1), 0);
}

}  // namespace
}  // namespace quibra::testing
