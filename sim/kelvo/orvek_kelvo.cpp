#include "orvek_kelvo.h"

#include <chrono>
#include <mutex>
#include <vector>

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
  // A script of intervals in place of the steady beat; `next` is the beat due next.
  bool scripted = false;
  std::vector<uint16_t> script;
  size_t next = 0;
  int64_t speed = 1;

  // The interval of the beat due next; 0 when the script has run out.
  int64_t due_interval() const {
    if (!scripted) return kBeatIntervalMs;
    return next < script.size() ? script[next] : 0;
  }
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
      std::chrono::duration_cast<std::chrono::milliseconds>(now - link.last_poll).count() *
      link.speed;
  // Whole device milliseconds only: the rest counts towards the next poll.
  link.last_poll += std::chrono::milliseconds(elapsed / link.speed);
  if (link.paused) return 0;
  uint8_t count = 0;
  int64_t at = link.until_next_beat_ms;
  for (int64_t interval = link.due_interval(); interval > 0 && at <= elapsed;
       interval = link.due_interval()) {
    // Beats beyond ten in one pass are lost, as on the air.
    if (count < kMaxEntries) {
      uint8_t* entry = packet + count * kEntryBytes;
      Put16(entry, at);
      Put16(entry + 2, as_rate ? 60000 / interval : interval);
      ++count;
    }
    ++link.next;
    const int64_t following = link.due_interval();
    if (following == 0) break;
    at += following;
  }
  link.until_next_beat_ms = at - elapsed;
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

KELVO_EXPORT void OrvekKelvoSim_PlayBeats(const uint16_t* intervals, int32_t count,
                                          int32_t speed) {
  auto& link = state();
  std::lock_guard guard(link.lock);
  link.scripted = true;
  link.script.assign(intervals, intervals + (count > 0 ? count : 0));
  link.next = 0;
  link.speed = speed > 0 ? speed : 1;
  link.last_poll = std::chrono::steady_clock::now();
  link.until_next_beat_ms = link.due_interval();
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
  link.scripted = false;
  link.speed = 1;
  link.next = 0;
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
