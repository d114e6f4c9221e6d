// A cardio programme written into the J9 unit and read back, over IrDA sockets and a serial line.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "irda_stack.h"
#include "platform/registry.h"
#include "platform/scaled_clock.h"
#include "quibra/quibra.h"
#include "support/cardio_programme.h"
#include "support/comm_params.h"
#include "support/module_fixture.h"
#include "support/sim_unit_fixture.h"
#include "unit.h"

namespace quibra::testing {
namespace {

class CardioProgrammeIrda : public ModuleTest {
 protected:
  void SetUp() override {
    platform::set_clock(&clock_);
    ASSERT_EQ(fnQuibraExt_SetIrdaStack(&stack_.table()), 1);
    ModuleTest::SetUp();
  }
  void TearDown() override {
    ModuleTest::TearDown();
    fnQuibraExt_SetIrdaStack(nullptr);
    platform::set_clock(nullptr);
  }

  platform::ScaledClock clock_{0.02};
  sim::Unit unit_{27, 0};
  sim::IrdaStack stack_{unit_};
};

// Sends the programme in five blocks and reads it back with the J9 read.
void WriteAndReadBack(const sim::Unit& unit) {
  CardioProgram programme = SampleCardioProgram();
  CommParams p = LinkParams();
  ASSERT_EQ(fnQuibra_QF_SendCardioProgram(&p, &programme), 1);
  int blocks = 0;
  for (const auto& r : unit.requests())
    blocks += r.id == 9035 && r.length_ok ? 1 : 0;
  EXPECT_EQ(blocks, 5);
  ASSERT_EQ(fnQuibra_ReadJ9Program(&p), 4);

  FitnessProgramSummary summary{};
  ASSERT_EQ(fnQuibra_GetProgramSummary(&summary), 1);
  EXPECT_EQ(summary.Value1, 1200);
  EXPECT_EQ(summary.FactorB, 300);
  EXPECT_EQ(summary.Byte158, 3);
  EXPECT_EQ(summary.Value161, 401);
  EXPECT_EQ(summary.ScaledA, 140);  // 140 x 512 / 512
  EXPECT_EQ(summary.ScaledB, 300);  // 512 x 300 / 512
  EXPECT_EQ(summary.ScaledC, 154);  // 77 x 1024 / 512
  EXPECT_EQ(summary.RunState, 1);   // FactorB's high byte is 1, not 2
  for (int32_t n = 0; n < 7; ++n) {
    FitnessProgramFile entry{};
    ASSERT_EQ(fnQuibra_GetProgramFileInfo(n, &entry), 1);
    const CardioProgramEntry& sent = programme.Entries[n];
    EXPECT_EQ(entry.Value1, sent.Value1);
    EXPECT_EQ(entry.Value5, sent.Value5);
    EXPECT_STREQ(entry.Name, sent.Name);
    EXPECT_EQ(entry.Last, sent.Last);
  }
}

TEST(CardioProgramme, BadEntriesAreRefused) {
  CardioProgram bad = SampleCardioProgram();
  std::snprintf(bad.Entries[2].Name, sizeof bad.Entries[2].Name, "TOOLONGER");
  EXPECT_EQ(fnQuibra_QF_PrepareCardioProgram(&bad), 0);
  bad = SampleCardioProgram();
  bad.UnitType = 25;
  EXPECT_EQ(fnQuibra_QF_PrepareCardioProgram(&bad), 0);
}

TEST_F(CardioProgrammeIrda, WrittenAndReadBackEqual) {
  ASSERT_EQ(fnQuibra_StartIRCommunication(0x20, "IRDA"), 1);
  for (int i = 0; i < 5000 && fnQuibra_IsIrDAConnected() == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  WriteAndReadBack(unit_);
}

class CardioProgrammeSerial : public SimUnitTest {
 protected:
  CardioProgrammeSerial() : SimUnitTest(27, 0) {}
};

TEST_F(CardioProgrammeSerial, WrittenAndReadBackEqual) {
  open();
  WriteAndReadBack(unit_);
}

}  // namespace
}  // namespace quibra::testing
