#include "orvek_kelvo.h"

#include <chrono>
#include <mutex>

#define KELVO_EXPORT __attribute__((visibility("default")))

namespace quibra::sim::kelvo {
namespace {

using Clock = std::chrono::steady_clock;

// The link library is loaded once per process and keeps its device in process-wide state.
struct LinkState {
  std::mutex lock;
  bool open = false;
  bool paused = false;
  Clock::time_point last_poll{};
  int64_t until_next_beat_ms = kBeatIntervalMs;  // from last_poll
  bool lost = false;
  OrvekKelvoSimCalls calls{};
};

LinkState& state() {
  static LinkState link;
  return link;
}

bool KnownLinkType(uint8_t link_type) {
  return link_type == 1 || link_type == 10;
}

void Put16(uint8_t* at, int64_t value) {
  at[0] = static_cast<uint8_t>(value & 0xFF);
  at[1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

// The beats that fell since the previous poll, written as entries of (offset, value).
uint8_t Poll(uint32_t device_id, uint8_t* packet, bool as_rate) {
  auto& link = state();
  std::lock_guard guard(link.lock);
  ++link.calls.polls;
  if (!link.open || device_id != kDeviceId || packet == nullptr) return kNoLink;
  if (link.lost) return kLinkLost;
  const auto now = Clock::now();
  const int64_t elapsed =
      std::chrono::duration_cast<std::chrono::milliseconds>(now - link.last_poll).count();
  if (link.paused) {
    link.last_poll = now;
    return 0;
  }
  uint8_t count = 0;
  int64_t at = link.until_next_beat_ms;
  for (; at <= elapsed && count < kMaxEntries; at += kBeatIntervalMs, ++count) {
    uint8_t* entry = packet + count * kEntryBytes;
    Put16(entry, at);
    Put16(entry + 2, as_rate ? 60000 / kBeatIntervalMs : kBeatIntervalMs);
  }
  // Beats beyond ten in one pass are lost, as on the air; the next one is due after `at`.
  while (at <= elapsed)
    at += kBeatIntervalMs;
  link.until_next_beat_ms = at - elapsed;
  link.last_poll = now;
  return count;
}

}  // namespace
}  // namespace quibra::sim::kelvo

using namespace quibra::sim::kelvo;

extern "C" {

KELVO_EXPORT void OrvekKelvoSim_Calls(OrvekKelvoSimCalls* calls) {
  auto& link = state();
  std::lock_guard guard(link.lock);
  if (calls != nullptr) *calls = link.calls;
}

KELVO_EXPORT void OrvekKelvoSim_LoseLink(void) {
  auto& link = state();
  std::lock_guard guard(link.lock);
  link.lost = true;
}

KELVO_EXPORT int32_t OrvekKelvo_1(uint8_t link_type, uint32_t value) {
  auto& link = state();
  std::lock_guard guard(link.lock);
  ++link.calls.opens;
  link.calls.last_open_value = value;
  link.calls.last_link_type = link_type;
  if (!KnownLinkType(link_type)) return 0;
  if (value != kDeviceId) return 1;  // a search: the device is listed, not opened
  link.open = true;
  link.paused = false;
  link.lost = false;
  link.last_poll = std::chrono::steady_clock::now();
  link.until_next_beat_ms = kBeatIntervalMs;
  return kOpenResult;
}

KELVO_EXPORT void OrvekKelvo_2(void) {
  auto& link = state();
  std::lock_guard guard(link.lock);
  ++link.calls.closes;
  link.open = false;
  link.lost = false;
  link.paused = false;
}

KELVO_EXPORT void OrvekKelvo_3(void) {
  auto& link = state();
  std::lock_guard guard(link.lock);
  link.paused = !link.paused;
}

KELVO_EXPORT uint8_t OrvekKelvo_4(uint32_t* slots) {
  if (slots == nullptr) return 0;
  slots[0] = kDeviceId;
  return 1;
}

KELVO_EXPORT uint8_t OrvekKelvo_6(uint32_t device_id, uint8_t* packet) {
  return Poll(device_id, packet, false);
}

KELVO_EXPORT uint8_t OrvekKelvo_9(uint32_t, uint32_t) {
  auto& link = state();
  std::lock_guard guard(link.lock);
  return link.open ? 1 : 0;
}

KELVO_EXPORT uint8_t OrvekKelvo_12(uint32_t device_id, uint8_t* packet) {
  return Poll(device_id, packet, true);
}

}  // extern "C"
