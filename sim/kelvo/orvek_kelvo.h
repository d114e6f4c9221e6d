// The simulated wireless-link library: the entries of the closed link library, exported as
// OrvekKelvo_<ordinal>, with one simulated device in range.
//
// Behaviour (values the library does not rely on are this simulation's own choice):
// - OrvekKelvo_1 (link type, value): link types 1 and 10 are known, anything else gives 0.
//   With the simulated device's id the device is opened: result kOpenResult (above 18000).
//   With any other value a search is started: result 1, the device is not open.
// - OrvekKelvo_4 (32 slots): puts the one device id in slot 0 and returns 1.
// - OrvekKelvo_6 (device id, packet buffer) and OrvekKelvo_12 (device id, packet buffer): the
//   beats since the previous call, at most 10 entries of kEntryBytes each: a 16-bit little-endian
//   offset in ms from the previous call, then a 16-bit little-endian value: the beat-to-beat
//   interval in ms (ordinal 6) or the heart rate in beats per minute (ordinal 12, from which
//   the interval is 60000 / rate). Result: the entry count; 0 when no beat fell since the last
//   call or the link is paused; 0xFF when the device is not open or the id is not its id.
//   The buffer must hold kMaxEntries * kEntryBytes bytes.
// - OrvekKelvo_9 (a, b): 1 while the device is open, else 0; the values are not looked at.
// - OrvekKelvo_2 (): closes the device.  OrvekKelvo_3 (): pauses, or resumes when paused.
//
// For tests, entries of the simulation's own: OrvekKelvoSim_Calls reports how the library used
// the link so far, OrvekKelvoSim_LoseLink makes the open device drop out of range (its polls
// then answer kLinkLost), and OrvekKelvoSim_PlayBeats makes the device's next beats those of a
// script (intervals in ms; after the last one the device has no more beats until it is opened
// again), with its time running `speed` times faster than real time (offsets are reported in
// the device's time).
#pragma once

#include <cstdint>

namespace quibra::sim::kelvo {
inline constexpr uint32_t kDeviceId = 0x00012345;
inline constexpr int32_t kOpenResult = 18500;
inline constexpr uint8_t kNoLink = 0xFF;
inline constexpr uint8_t kLinkLost = 0xFE;
inline constexpr int kMaxEntries = 10;
inline constexpr int kEntryBytes = 4;
inline constexpr int kBeatIntervalMs = 800;  // a steady 75 beats per minute
}  // namespace quibra::sim::kelvo

extern "C" {
struct OrvekKelvoSimCalls {
  int32_t opens;
  int32_t closes;
  int32_t polls;
  uint32_t last_open_value;
  uint8_t last_link_type;
};

void OrvekKelvoSim_Calls(OrvekKelvoSimCalls* calls);
void OrvekKelvoSim_LoseLink(void);
void OrvekKelvoSim_PlayBeats(const uint16_t* intervals, int32_t count, int32_t speed);
int32_t OrvekKelvo_1(uint8_t link_type, uint32_t value);
void OrvekKelvo_2(void);
void OrvekKelvo_3(void);
uint8_t OrvekKelvo_4(uint32_t* slots);
uint8_t OrvekKelvo_6(uint32_t device_id, uint8_t* packet);
uint8_t OrvekKelvo_9(uint32_t a, uint32_t b);
uint8_t OrvekKelvo_12(uint32_t device_id, uint8_t* packet);
}
