#include "protocol/wireless_link.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "frame/state_flags.h"
#include "platform/registry.h"
#include "platform/scaled_clock.h"
#include "quibra/quibra.h"
#include "support/module_fixture.h"

namespace quibra::protocol {
namespace {

struct Counters {
  int opens = 0;
  int closes = 0;
  int packets = 0;
  int32_t last_value = 0;
  uint8_t last_link_type = 0;
};

// The stand-in library, loaded by path through the loader's environment variable.
class WirelessLinkTest : public testing::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    setenv(platform::kLinkLibraryVariable, QUIBRA_FAKE_LINK_LIBRARY, 1);
    platform::set_clock(&clock_);
    fake_ = dlopen(QUIBRA_FAKE_LINK_LIBRARY, RTLD_NOW);
    ASSERT_NE(fake_, nullptr);
    read_ = reinterpret_cast<void (*)(int*, int*, int*, int32_t*, uint8_t*)>(
        dlsym(fake_, "FakeLink_Counters"));
    set_packet_ = reinterpret_cast<void (*)(uint8_t)>(dlsym(fake_, "FakeLink_SetPacketResult"));
    ASSERT_NE(read_, nullptr);
    ASSERT_NE(set_packet_, nullptr);
    set_packet_(3);
  }
  void TearDown() override {
    platform::set_clock(nullptr);
    if (fake_ != nullptr) dlclose(fake_);
    ModuleTest::TearDown();
  }
  Counters counters() {
    Counters c;
    read_(&c.opens, &c.closes, &c.packets, &c.last_value, &c.last_link_type);
    return c;
  }

  platform::ScaledClock clock_{0.01};
  void* fake_ = nullptr;
  void (*read_)(int*, int*, int*, int32_t*, uint8_t*) = nullptr;
  void (*set_packet_)(uint8_t) = nullptr;
};

TEST_F(WirelessLinkTest, DeviceListCopiesTheIdsAfterTheCount) {
  uint8_t list[4 + 32 * 4] = {};
  const int32_t seed = 77;
  std::memcpy(list + 4, &seed, 4);
  const Counters before = counters();
  EXPECT_EQ(fnQuibra_GetDeviceList(10, list), 17000);
  const Counters after = counters();
  EXPECT_EQ(after.opens, before.opens + 1);
  EXPECT_EQ(after.last_value, 77);
  EXPECT_EQ(after.last_link_type, 10);
  EXPECT_EQ(list[0], 3);
  // Little-endian ids from byte 4: 0x1234, 0x5678, 0x9ABC.
  const uint8_t ids[] = {0x34, 0x12, 0, 0, 0x78, 0x56, 0, 0, 0xBC, 0x9A, 0, 0};
  EXPECT_EQ(std::memcmp(list + 4, ids, sizeof ids), 0);
}

TEST_F(WirelessLinkTest, OpenConnectionRegistersTheDeviceAndEndClosesIt) {
  EXPECT_EQ(fnQuibra_OpenConnection(0x100, 1, 0x1234), 18001);
  EXPECT_EQ(frame::GetStateFlag(frame::kFlagWirelessAdapter), 1);
  EXPECT_EQ(frame::GetStateFlag(frame::kFlagWirelessOpened), 1);
  EXPECT_EQ(m().wireless.registered_device, 0x1234);
  EXPECT_EQ(m().wireless.link_type.load(), 1);
  // Already open: the library is asked again but nothing is registered anew.
  EXPECT_EQ(fnQuibra_OpenConnection(0x100, 1, 0x5678), 17000);
  EXPECT_EQ(m().wireless.registered_device, 0x1234);

  const Counters before = counters();
  EXPECT_EQ(fnQuibra_EndIRCommunication(0), 1);
  EXPECT_EQ(counters().packets, before.packets + 1);
  EXPECT_EQ(counters().closes, before.closes + 1);
  EXPECT_EQ(frame::GetStateFlag(frame::kFlagWirelessOpened), 0);
}

TEST_F(WirelessLinkTest, ALinkAlreadyGoneIsNotClosedAgain) {
  EXPECT_EQ(fnQuibra_OpenConnection(0x100, 1, 0x1234), 18001);
  set_packet_(0xFE);
  const Counters before = counters();
  fnQuibra_EndIRCommunication(0);
  EXPECT_EQ(counters().closes, before.closes);
  EXPECT_EQ(frame::GetStateFlag(frame::kFlagWirelessOpened), 0);
}

TEST_F(WirelessLinkTest, OpenWithoutTheWirelessOptionOnlyResets) {
  const Counters before = counters();
  EXPECT_EQ(fnQuibra_OpenConnection(0x02, 1, 0x1234), 0);
  EXPECT_EQ(counters().opens, before.opens);
  EXPECT_EQ(frame::GetStateFlag(frame::kFlagKeepAlive), 1);
  EXPECT_EQ(frame::GetStateFlag(frame::kFlagWirelessOpened), 0);
}

// A loader that finds no library.
class AbsentLibrary final : public platform::LinkLibrary {
 public:
  bool load() override { return false; }
  int32_t open(uint8_t, int32_t) override { return 1; }
  uint8_t list_devices(int32_t*) override { return 1; }
  uint8_t packet(int32_t, uint8_t*) override { return 1; }
  uint8_t packet_extended(int32_t, uint8_t*) override { return 1; }
  uint8_t relax(int32_t, int32_t) override { return 1; }
  void close() override {}
  void pause() override {}
};

TEST_F(WirelessLinkTest, WithoutTheLibraryTheExportsFailCleanly) {
  AbsentLibrary absent;
  platform::set_link_library(&absent);
  uint8_t list[4 + 32 * 4] = {9};
  EXPECT_EQ(fnQuibra_GetDeviceList(1, list), 0);
  EXPECT_EQ(list[0], 9);
  EXPECT_EQ(fnQuibra_OpenConnection(0x100, 1, 0x1234), 0);
  EXPECT_EQ(frame::GetStateFlag(frame::kFlagWirelessOpened), 0);
  EXPECT_EQ(fnQuibra_EndIRCommunication(0), 1);
  platform::set_link_library(nullptr);
}

}  // namespace
}  // namespace quibra::protocol
