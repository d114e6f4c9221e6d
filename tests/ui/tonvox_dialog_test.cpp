// The sound download dialog driven through fnQuibra_ReadTonvoxData, with a simulated unit
// playing into a fake sound card, at fifty times real speed.
#include <vector>

#include "frame/module.h"
#include "protocol/checksum.h"
#include "support/fake_sound_card.h"
#include "ui/dialog_test_support.h"
#include "ui/dialog_window.h"

namespace quibra::testing {
namespace {

using Bytes = std::vector<uint8_t>;

class TonvoxDialog : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    platform::set_sound_input(&card_);
  }
  void TearDown() override {
    fnQuibra_Tonvox_End(1);
    platform::set_sound_input(nullptr);
    DialogTest::TearDown();
  }
  // The icons the icon place showed, in order, without repeats.
  std::vector<std::string> icons() const {
    std::vector<std::string> seen;
    for (const QuibraDialogEvent& e : recorder_.events) {
      if (e.Kind != QUIBRA_DIALOG_CONTROL || e.Control != ui::kIconPlace || !e.Text[0]) continue;
      if (seen.empty() || seen.back() != e.Text) seen.push_back(e.Text);
    }
    return seen;
  }
  std::vector<std::string> message_boxes() const {
    std::vector<std::string> texts;
    for (const QuibraDialogEvent& e : recorder_.events) {
      if (e.Kind == QUIBRA_DIALOG_MESSAGE_BOX)
        texts.push_back(std::string(e.Caption) + ": " + e.Text);
    }
    return texts;
  }
  FakeSoundCard card_;
};

TEST_F(TonvoxDialog, ARawPayloadIsReceivedAndReadBack) {
  Bytes payload(120);
  for (size_t i = 0; i < payload.size(); ++i)
    payload[i] = static_cast<uint8_t>(200 + i);
  card_.play(sim::TonvoxBytes(payload, {.block_data = 50}));
  ASSERT_EQ(fnQuibra_ReadTonvoxData(0, 30, 0, 5, 0), 1);
  EXPECT_EQ(card_.opened_rate, 44100);
  EXPECT_EQ(recorder_.controls[0].text, "Orvek PR3");
  EXPECT_EQ(icons(), (std::vector<std::string>{"#111", "#110"}));
  EXPECT_EQ(fnQuibra_GetRecParam(5), 0);  // the record store is untouched

  // Three plain blocks: 50, 50 and 20 bytes, each behind its index, count and length.
  ASSERT_EQ(fnQuibra_GetTonvoxPayloadLength(), 120);
  EXPECT_EQ(fnKx2GetNbrOfMemtrBytes(), 6 + 120 + 9);
  EXPECT_EQ(fnKx2GetMemtrData(3), 30);  // the monitor type replaces header byte 2
  std::vector<int16_t> got(120, -1);
  EXPECT_EQ(fnQuibra_GetTonvoxPayload(got.data()), 120);
  EXPECT_EQ(got[0], 0);   // block 0's index
  EXPECT_EQ(got[2], 50);  // and length
  EXPECT_EQ(got[3], 200);
  EXPECT_EQ(got[119], payload[110]);  // position 126: data byte 10 of block 2
}

TEST_F(TonvoxDialog, AnIdentificationSetsTheDetectedUnit) {
  // Position 8 is the product code (163: type 32), position 10 the variant. The unit sends one
  // plain block whose data starts at position 10 - so its leading bytes carry the code.
  Bytes stream = sim::TonvoxBytes({0x04}, {});
  stream[9] = 163;  // the block's count byte: position 8
  stream[11] = 2;   // position 10
  stream[12] = stream[13] = 0;
  const uint16_t crc = protocol::Crc16Compute(stream.data() + 8, 6);
  stream[12] = static_cast<uint8_t>(crc >> 8);
  stream[13] = static_cast<uint8_t>(crc);
  card_.play(stream, {.sample_rate = 22050});
  ASSERT_EQ(fnQuibra_ReadTonvoxData(0, 32, 1, 5, 0), 1);
  EXPECT_EQ(card_.opened_rate, 22050);
  EXPECT_EQ(fnKx2GetMemtrData(8), 163);
  EXPECT_EQ(module().unit.type, 32);
  EXPECT_EQ(module().unit.variant, 2);
}

TEST_F(TonvoxDialog, SilenceOffersRetryAndTheLevelBarTurnsRed) {
  card_.play(sim::TonvoxBytes(Bytes(10, 7), {}));
  bool pressed = false;
  recorder_.on_event = [&](const QuibraDialogEvent& e) {
    // The level bar drops to 0 last when the reception has failed.
    if (!pressed && e.Kind == QUIBRA_DIALOG_CONTROL && e.Control == ui::kLevelBar &&
        recorder_.controls[ui::kButtonRetry].enabled) {
      pressed = true;
      EXPECT_EQ(recorder_.controls[ui::kStatusText].text, "No answer from HR Monitor");
      EXPECT_EQ(recorder_.controls[ui::kIconPlace].text, "#115");
      fnQuibraExt_PressDialogButton(ui::kButtonRetry);
    }
  };
  // Gain level 0 hears nothing: the level stays 0, drawn red, until 20 s of silence.
  EXPECT_EQ(fnQuibra_ReadTonvoxData(0, 9, 0, 0, 0), 2);
  EXPECT_TRUE(pressed);
  EXPECT_EQ(recorder_.controls[ui::kLevelBar].colour, ui::kRed);
  EXPECT_EQ(recorder_.controls[ui::kLevelBar].progress, 0);
  EXPECT_EQ(card_.closes, 1);
}

TEST_F(TonvoxDialog, BadDataIsAConnectionErrorAndCancelEndsWithZero) {
  // The last of three blocks is bad, so the unit is heard for a while first.
  Bytes bad = sim::TonvoxBytes(Bytes(60, 7), {.block_data = 20});
  bad[bad.size() - 4] ^= 1;
  card_.play(bad);
  recorder_.on_event = [&](const QuibraDialogEvent& e) {
    if (e.Kind == QUIBRA_DIALOG_CONTROL && e.Control == ui::kLevelBar &&
        recorder_.controls[ui::kButtonRetry].enabled) {
      EXPECT_EQ(recorder_.controls[ui::kStatusText].text, "Errors with Connection");
      fnQuibraExt_PressDialogButton(ui::kButtonCancel);
    }
  };
  EXPECT_EQ(fnQuibra_ReadTonvoxData(0, 25, 0, 5, 0), 0);
  // While the unit was heard the level lay between the limits: the bar had its own colour.
  bool default_colour_seen = false;
  for (const QuibraDialogEvent& e : recorder_.events)
    default_colour_seen |= e.Control == ui::kLevelBar && e.Colour == -1 && e.Progress >= 10;
  EXPECT_TRUE(default_colour_seen);
}

TEST_F(TonvoxDialog, ASoundCardThatCannotOpenIsExplained) {
  card_.open_result = FakeSoundCard::Open::kBusy;
  EXPECT_EQ(fnQuibra_ReadTonvoxData(0, 30, 0, 5, 0), 0);
  card_.device = false;
  EXPECT_EQ(fnQuibra_ReadTonvoxData(0, 30, 0, 5, 0), 0);
  EXPECT_EQ(message_boxes(),
            (std::vector<std::string>{"Tonvox: An another application is recording. Close that "
                                      "application and try again. Check also recording settings.",
                                      "Tonvox: No sound card found."}));
}

}  // namespace
}  // namespace quibra::testing
