#include "protocol/wireless_link.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "frame/state_flags.h"
#include "kelvo/orvek_kelvo.h"
#include "platform/registry.h"
#include "platform/scaled_clock.h"
#include "quibra/quibra.h"
#include "support/module_fixture.h"

namespace quibra::protocol {
namespace {

// The simulated link library, loaded by path through the loader's environment variable; its
// own entries tell how the library used it.
class WirelessLinkTest : public testing::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    setenv(platform::kLinkLibraryVariable, QUIBRA_SIM_KELVO_LIBRARY, 1);
    platform::set_clock(&clock_);
    sim_ = dlopen(QUIBRA_SIM_KELVO_LIBRARY, RTLD_NOW);
    ASSERT_NE(sim_, nullptr);
    calls_ = reinterpret_cast<decltype(calls_)>(dlsym(sim_, "OrvekKelvoSim_Calls"));
    lose_link_ = reinterpret_cast<decltype(lose_link_)>(dlsym(sim_, "OrvekKelvoSim_LoseLink"));
    play_beats_ = reinterpret_cast<decltype(play_beats_)>(dlsym(sim_, "OrvekKelvoSim_PlayBeats"));
    ASSERT_NE(calls_, nullptr);
    ASSERT_NE(lose_link_, nullptr);
    ASSERT_NE(play_beats_, nullptr);
  }
  void TearDown() override {
    fnQuibra_EndIRCommunication(0);
    platform::set_clock(nullptr);
    // The simulated link keeps its state per process: leave it closed for the next test.
    if (sim_ != nullptr) {
      if (auto* close = reinterpret_cast<void (*)()>(dlsym(sim_, "OrvekKelvo_2"))) close();
      dlclose(sim_);
    }
    ModuleTest::TearDown();
  }
  OrvekKelvoSimCalls calls() {
    OrvekKelvoSimCalls c{};
    calls_(&c);
    return c;
  }

  static constexpr int32_t kDevice = static_cast<int32_t>(sim::kelvo::kDeviceId);
  platform::ScaledClock clock_{0.01};
  void* sim_ = nullptr;
  void (*calls_)(OrvekKelvoSimCalls*) = nullptr;
  void (*lose_link_)() = nullptr;
  void (*play_beats_)(const uint16_t*, int32_t, int32_t) = nullptr;
};

// Waits (in real time) until the condition holds; false when it did not within 10 s.
template <typename Condition>
bool WaitFor(Condition condition) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

TEST_F(WirelessLinkTest, OnlineRecordingOnBothLinkTypesEndsCleanlyWhenTheDeviceIsLost) {
  // Intervals that 60000 divides, so the heart rates of link type 10 carry them exactly.
  const std::vector<uint16_t> script = {800, 750, 600, 500, 480, 625, 1000, 800, 750, 600,
                                        500, 480, 400, 375, 400, 480, 500, 600, 750, 800};
  for (int32_t link_type : {1, 10}) {
    ASSERT_EQ(fnQuibra_OpenConnection(0x180, link_type, kDevice), sim::kelvo::kOpenResult);
    EXPECT_EQ(fnQuibra_GetCurrentMessageStatus(), 0);  // the online thread runs
    EXPECT_EQ(fnQuibra_PauseOnline(0), 1);
    play_beats_(script.data(), static_cast<int32_t>(script.size()), 20);
    // Polled from here while the online thread stores.
    std::vector<int32_t> ring(601);
    std::vector<int32_t> polled;
    ASSERT_TRUE(WaitFor([&] {
      if (fnQuibra_GetRealOnlineData(0, ring.data()) == 0) {
        for (int i = 0; i < ring[0]; ++i)
          if (ring[1 + i * 6 + 3] > 0) polled.push_back(ring[1 + i * 6 + 3]);
      }
      return fnQuibra_GetNbrOfOnlineSamples(0) == static_cast<int32_t>(script.size());
    }));
    if (fnQuibra_GetRealOnlineData(0, ring.data()) == 0) {
      for (int i = 0; i < ring[0]; ++i)
        if (ring[1 + i * 6 + 3] > 0) polled.push_back(ring[1 + i * 6 + 3]);
    }
    EXPECT_EQ(polled, std::vector<int32_t>(script.begin(), script.end())) << link_type;
    std::vector<int32_t> stored;
    for (int32_t i = 0; i < fnQuibra_GetNbrOfOnlineSamples(0); ++i)
      stored.push_back(fnQuibra_GetOnlineSample(0, 1, i));
    EXPECT_EQ(stored, std::vector<int32_t>(script.begin(), script.end())) << link_type;
    EXPECT_EQ(fnQuibra_GetOnlineRecParam(0, 5), 43);

    lose_link_();
    EXPECT_TRUE(WaitFor([] { return fnQuibra_GetCurrentMessageStatus() == 20; })) << link_type;
    // The last entry of the ring tells why the recording ended.
    ASSERT_EQ(fnQuibra_GetRealOnlineData(0, ring.data()), 0);
    EXPECT_EQ(ring[1 + (ring[0] - 1) * 6 + 2], sim::kelvo::kLinkLost);
    int64_t sum = 0;
    for (int32_t v : stored)
      sum += v;
    EXPECT_EQ(fnQuibra_GetOnlineRecParam(0, 11), sum);
    EXPECT_EQ(fnQuibra_EndIRCommunication(0), 1);
  }
}

TEST_F(WirelessLinkTest, DeviceListCopiesTheIdsAfterTheCount) {
  uint8_t list[4 + 32 * 4] = {};
  const int32_t seed = 77;
  std::memcpy(list + 4, &seed, 4);
  const OrvekKelvoSimCalls before = calls();
  EXPECT_EQ(fnQuibra_GetDeviceList(10, list), 1);  // the search's result
  const OrvekKelvoSimCalls after = calls();
  EXPECT_EQ(after.opens, before.opens + 1);
  EXPECT_EQ(after.last_open_value, 77u);  // the word at byte 4 goes to the library first
  EXPECT_EQ(after.last_link_type, 10);
  EXPECT_EQ(list[0], 1);
  // The device id little-endian from byte 4.
  const uint8_t id[] = {0x45, 0x23, 0x01, 0x00};
  EXPECT_EQ(std::memcmp(list + 4, id, sizeof id), 0);
}

TEST_F(WirelessLinkTest, OpenConnectionRegistersTheDeviceAndEndClosesALinkStillThere) {
  EXPECT_EQ(fnQuibra_OpenConnection(0x100, 1, kDevice), sim::kelvo::kOpenResult);
  EXPECT_EQ(frame::GetStateFlag(frame::kFlagWirelessAdapter), 1);
  EXPECT_EQ(frame::GetStateFlag(frame::kFlagWirelessOpened), 1);
  EXPECT_EQ(m().wireless.registered_device, kDevice);
  EXPECT_EQ(m().wireless.link_type.load(), 1);
  // Already open: the library is asked again but nothing is registered anew.
  EXPECT_EQ(fnQuibra_OpenConnection(0x100, 1, 0x5678), 1);
  EXPECT_EQ(m().wireless.registered_device, kDevice);

  const OrvekKelvoSimCalls before = calls();
  EXPECT_EQ(fnQuibra_EndIRCommunication(0), 1);
  EXPECT_EQ(calls().polls, before.polls + 1);  // the link is asked whether it is still there
  EXPECT_EQ(calls().closes, before.closes + 1);
  EXPECT_EQ(frame::GetStateFlag(frame::kFlagWirelessOpened), 0);

  // A link already gone is not closed again.
  EXPECT_EQ(fnQuibra_OpenConnection(0x100, 1, kDevice), sim::kelvo::kOpenResult);
  lose_link_();
  const OrvekKelvoSimCalls gone = calls();
  fnQuibra_EndIRCommunication(0);
  EXPECT_EQ(calls().closes, gone.closes);
  EXPECT_EQ(frame::GetStateFlag(frame::kFlagWirelessOpened), 0);
}

TEST_F(WirelessLinkTest, OpenWithoutTheWirelessOptionOnlyResets) {
  const OrvekKelvoSimCalls before = calls();
  EXPECT_EQ(fnQuibra_OpenConnection(0x02, 1, kDevice), 0);
  EXPECT_EQ(calls().opens, before.opens);
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
