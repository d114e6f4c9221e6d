// Loads the simulated wireless-link library the way the library does: by file, entry by name.
#include <dlfcn.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <thread>

#include "kelvo/orvek_kelvo.h"

namespace quibra::sim::kelvo {
namespace {

class Kelvo : public ::testing::Test {
 protected:
  void SetUp() override {
    handle_ = dlopen(QUIBRA_SIM_KELVO_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle_, nullptr) << dlerror();
    open_ = entry<decltype(&OrvekKelvo_1)>("OrvekKelvo_1");
    close_ = entry<decltype(&OrvekKelvo_2)>("OrvekKelvo_2");
    pause_ = entry<decltype(&OrvekKelvo_3)>("OrvekKelvo_3");
    list_ = entry<decltype(&OrvekKelvo_4)>("OrvekKelvo_4");
    packet_ = entry<decltype(&OrvekKelvo_6)>("OrvekKelvo_6");
    probe_ = entry<decltype(&OrvekKelvo_9)>("OrvekKelvo_9");
    rates_ = entry<decltype(&OrvekKelvo_12)>("OrvekKelvo_12");
  }
  void TearDown() override {
    if (close_ != nullptr) close_();
    if (handle_ != nullptr) dlclose(handle_);
  }
  template <typename F>
  F entry(const char* name) {
    auto* f = reinterpret_cast<F>(dlsym(handle_, name));
    EXPECT_NE(f, nullptr) << name;
    return f;
  }

  void* handle_ = nullptr;
  decltype(&OrvekKelvo_1) open_ = nullptr;
  decltype(&OrvekKelvo_2) close_ = nullptr;
  decltype(&OrvekKelvo_3) pause_ = nullptr;
  decltype(&OrvekKelvo_4) list_ = nullptr;
  decltype(&OrvekKelvo_6) packet_ = nullptr;
  decltype(&OrvekKelvo_9) probe_ = nullptr;
  decltype(&OrvekKelvo_12) rates_ = nullptr;
};

TEST_F(Kelvo, ListsOneDeviceAndOpensIt) {
  ASSERT_NE(open_, nullptr);
  uint32_t slots[32] = {};
  EXPECT_EQ(open_(1, 0), 1);  // a search opens nothing
  EXPECT_EQ(list_(slots), 1);
  EXPECT_EQ(slots[0], kDeviceId);
  uint8_t packet[kMaxEntries * kEntryBytes] = {};
  EXPECT_EQ(packet_(kDeviceId, packet), kNoLink);
  EXPECT_EQ(probe_(0, 0), 0);

  EXPECT_EQ(open_(7, kDeviceId), 0);  // unknown link type
  EXPECT_GT(open_(1, kDeviceId), 18000);
  EXPECT_EQ(probe_(0, 0), 1);
  EXPECT_EQ(packet_(kDeviceId + 1, packet), kNoLink);
  close_();
  EXPECT_EQ(packet_(kDeviceId, packet), kNoLink);
}

TEST_F(Kelvo, DeliversBeatsUnlessPaused) {
  ASSERT_NE(open_, nullptr);
  ASSERT_GT(open_(10, kDeviceId), 18000);
  uint8_t packet[kMaxEntries * kEntryBytes] = {};
  EXPECT_EQ(rates_(kDeviceId, packet), 0);  // no beat yet
  std::this_thread::sleep_for(std::chrono::milliseconds(kBeatIntervalMs + 100));
  ASSERT_EQ(rates_(kDeviceId, packet), 1);
  const int offset = packet[0] | packet[1] << 8;
  EXPECT_GE(offset, kBeatIntervalMs - 10);  // the beat fell about one interval after opening
  EXPECT_LE(offset, kBeatIntervalMs + 10);
  EXPECT_EQ(packet[2] | packet[3] << 8, 75);  // beats per minute

  pause_();
  std::this_thread::sleep_for(std::chrono::milliseconds(kBeatIntervalMs + 100));
  EXPECT_EQ(packet_(kDeviceId, packet), 0);
  pause_();
  std::this_thread::sleep_for(std::chrono::milliseconds(kBeatIntervalMs + 100));
  ASSERT_GE(packet_(kDeviceId, packet), 1);
  EXPECT_EQ(packet[2] | packet[3] << 8, kBeatIntervalMs);
}

}  // namespace
}  // namespace quibra::sim::kelvo
