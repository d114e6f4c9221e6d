// A simulated phone sends its exercise memory to fnQuibra_ReadFromMobile through the in-process
// IrDA stack: whole memories in blocks of any size end decoded; no phone, or one that hangs up,
// ends in the timeout with Restart offered; Cancel and every other way out close the sockets and
// end the accept thread; a service that cannot be opened is reported in a message box.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "encoders/outdoor_encoder.h"
#include "irda_stack.h"
#include "mobile_phone.h"
#include "platform/scaled_clock.h"
#include "quibra/quibra.h"
#include "support/module_fixture.h"
#include "support/recorded_boxes.h"
#include "ui/dialog_test_support.h"
#include "ui/mobile_procedure.h"
#include "ui/web_browser.h"

namespace quibra::testing {
namespace {

using Bytes = std::vector<uint8_t>;

class RecordingBrowser final : public ui::WebBrowser {
 public:
  bool open(const std::string& address) override {
    opened.push_back(address);
    return true;
  }
  std::vector<std::string> opened;
};

class MobilePhoneTest : public ModuleTest {
 protected:
  void SetUp() override {
    platform::set_clock(&clock_);
    ui::set_message_box_host(&boxes_);
    ui::set_web_browser(&browser_);
    ASSERT_EQ(fnQuibraExt_SetIrdaStack(&stack_.table()), 1);
    ModuleTest::SetUp();
    fnQuibraExt_SetDialogObserver(&DialogRecorder::observe, &recorder_);
  }
  void TearDown() override {
    fnQuibraExt_SetDialogObserver(nullptr, nullptr);
    ModuleTest::TearDown();
    fnQuibraExt_SetIrdaStack(nullptr);
    ui::set_web_browser(nullptr);
    ui::set_message_box_host(nullptr);
    platform::set_clock(nullptr);
  }

  // Whatever way the call ended, nothing of the library is left open and its thread is gone.
  void ExpectAllClosed(int phone_sockets = 0) {
    EXPECT_EQ(stack_.open_sockets(), phone_sockets);
    EXPECT_EQ(stack_.startups(), stack_.cleanups());
    EXPECT_FALSE(m().mobile.accept_thread.joinable());
  }

  platform::ScaledClock clock_{0.02};
  RecordedBoxes boxes_;
  RecordingBrowser browser_;
  sim::IrdaStack stack_;
  DialogRecorder recorder_;
};

// A type 20 memory small enough for one block.
Bytes SmallOutdoorMemory() {
  sim::OutdoorExercise x;
  x.duration_s = 60;
  for (int i = 0; i < 12; ++i)
    x.samples.push_back({120 + i, false, 900});
  Bytes memory = sim::OutdoorWholeImage({x}, 20, sim::PhoneMemory(20).at(1));
  memory.resize(memory.size() + 2, 0);
  return memory;
}

struct Sent {
  const char* name;
  int32_t type;
  Bytes memory;
  size_t block_bytes;
  int32_t samples;
};

TEST_F(MobilePhoneTest, MemoriesInBlocksOfAnySizeEndDecoded) {
  const Bytes outdoor = sim::PhoneMemory(20);
  const Sent cases[] = {
      {"type 20 in 250-byte blocks", 20, outdoor, 250, 120},
      {"type 20 in one block", 20, SmallOutdoorMemory(), 250, 12},
      // The length bytes arrive in the second block.
      {"type 20 in 50-byte blocks", 20, outdoor, 50, 120},
      {"type 22, its length at bytes 79 and 80", 22, sim::PhoneMemory(22), 250, 120},
  };
  for (const Sent& c : cases) {
    SCOPED_TRACE(c.name);
    sim::MobilePhone phone(stack_, c.memory, {c.block_bytes});
    phone.start();
    EXPECT_EQ(fnQuibra_ReadFromMobile(0), 1);
    phone.finish();
    EXPECT_EQ(phone.blocks_sent(), (c.memory.size() + c.block_bytes - 1) / c.block_bytes);
    EXPECT_EQ(phone.acknowledgement(), c.memory.front());
    EXPECT_EQ(fnKx2GetNbrOfMemtrBytes(), static_cast<int32_t>(c.memory.size()));
    EXPECT_EQ(fnQuibra_GetRecParam(5), c.type);
    EXPECT_EQ(fnQuibra_GetNbrOfHRMSamples(), c.samples);
    ExpectAllClosed();
  }
  EXPECT_EQ(stack_.service_classes(), std::vector<std::string>(4, "IrDA:IrCOMM"));
  EXPECT_EQ(stack_.nine_wire_sockets(), 4);
}

TEST_F(MobilePhoneTest, WithoutAWholeMemoryTheDialogTimesOutAndOffersRestart) {
  // Nobody calls, or a phone hangs up after its first block.
  for (const bool phone_calls : {false, true}) {
    SCOPED_TRACE(phone_calls ? "phone hangs up" : "no phone");
    sim::MobilePhone phone(stack_, sim::PhoneMemory(20), {.block_bytes = 250, .stop_after = 1});
    if (phone_calls) phone.start();
    ControlView status, restart, no_answer, waiting;
    int open_at_timeout = -1;
    recorder_.on_event = [&](const QuibraDialogEvent& e) {
      if (e.Kind != QUIBRA_DIALOG_AWAITING_CHOICE) return;
      status = recorder_.controls[1002];
      restart = recorder_.controls[1005];
      no_answer = recorder_.controls[115];
      waiting = recorder_.controls[110];
      open_at_timeout = stack_.open_sockets();
      fnQuibraExt_PressDialogButton(1005);
    };
    const uint32_t start = clock_.tick_ms();
    EXPECT_EQ(fnQuibra_ReadFromMobile(0), 2);
    // 70 ticks of 300 ms, then the second that Restart waits.
    EXPECT_GE(clock_.tick_ms() - start, 21000u + 1000u);
    EXPECT_EQ(status.text, "No answer from HR Monitor");
    EXPECT_TRUE(restart.enabled);
    EXPECT_TRUE(no_answer.visible);
    EXPECT_FALSE(waiting.visible);
    EXPECT_EQ(open_at_timeout, 0);
    phone.stop();
    ExpectAllClosed();
  }
}

TEST_F(MobilePhoneTest, CancelClosesBothSocketsAndEndsTheThread) {
  // The phone connects, sends a block and holds the line.
  sim::MobilePhone phone(stack_, sim::PhoneMemory(20),
                         {.block_bytes = 250, .stop_after = 1, .hold = true});
  phone.start();
  std::thread user([&] {
    while (phone.blocks_sent() == 0)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    // The link first: it opens the maker's page and leaves the dialog open.
    fnQuibraExt_PressDialogButton(1012);
    fnQuibraExt_PressDialogButton(2);
  });
  EXPECT_EQ(fnQuibra_ReadFromMobile(0), 0);
  user.join();
  EXPECT_EQ(recorder_.controls[1012].text, "Orvek Mobile Connectivity");
  EXPECT_TRUE(recorder_.controls[1012].visible);
  EXPECT_EQ(browser_.opened, std::vector<std::string>{ui::kMobilePageAddress});
  // Only the phone's own end is left.
  ExpectAllClosed(1);
  phone.stop();
  EXPECT_EQ(stack_.open_sockets(), 0);
}

TEST_F(MobilePhoneTest, AServiceThatCannotBeOpenedIsReported) {
  struct Refusal {
    bool system_stack;  // this system's own: it has no IrDA
    const char* text;
  };
  const Refusal refusals[] = {
      {false, "An error -1 / 10091 occurred in opening IRComm connection"},
      {true, "An error 0 / 10047 occurred in opening IRComm connection"},
  };
  stack_.fail_startup(10091);
  for (const Refusal& r : refusals) {
    if (r.system_stack) fnQuibraExt_SetIrdaStack(nullptr);
    boxes_.shown.clear();
    EXPECT_EQ(fnQuibra_ReadFromMobile(0), 0);
    ASSERT_EQ(boxes_.shown.size(), 1u);
    EXPECT_EQ(boxes_.shown[0].first, r.text);
    EXPECT_EQ(boxes_.shown[0].second, "Orvek");
    ExpectAllClosed();
  }
}

}  // namespace
}  // namespace quibra::testing
