// The wireless link: units reached through the closed wireless-link library. The link type and
// the one registered device are module-wide.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

namespace quibra::protocol {

// Ordinal 1 answers above this when the device is open.
inline constexpr int32_t kLinkOpenedAbove = 18000;
inline constexpr int kMaxLinkDevices = 32;

struct WirelessLink {
  std::atomic<int32_t> link_type{0};
  // The device registry (capacity 1), under DeviceRegistryLock.
  int32_t registered_device = 0;
  bool has_device = false;
  // The packet, relax and pause calls come from the application's thread and the online thread:
  // taken around each, so the link library sees one at a time. Lock order 4 (frame/locks.h);
  // nothing else is taken under it.
  std::mutex calls;
};

// fnQuibra_GetDeviceList: list points at the caller's record (count byte, then 32-bit ids from
// byte 4). 0 when the library is not there.
int32_t GetDeviceList(int32_t link_type, uint8_t* list);
// fnQuibra_OpenConnection.
int32_t OpenConnection(int32_t options, int32_t link_type, int32_t device);
// The wireless part of ending the conversation (with flag 2022 set).
void EndWirelessLink();
// Empties the device registry.
void ClearDeviceRegistry();

// The packet call for a device: ordinal 12 with extended set (link type 10), else ordinal 6.
// 0xFF when the library is not there.
uint8_t LinkPacket(int32_t device, uint8_t* buffer, bool extended);
// fnQuibra_GetOnlineRRPacket: the registered device's next packet (ordinal 6) into the caller's
// buffer of kLinkPacketBufferBytes bytes; the entry count, or 0xFF when there is no link.
int32_t GetOnlineRRPacket(uint8_t* buffer);
// fnQuibra_GetOnlineRLX: ordinal 9 with the two values; 0 when the library is not there.
int32_t GetOnlineRLX(int32_t a, int32_t b);
// The library's pause call (ordinal 3), which pauses and resumes alike.
void PauseWirelessLink();

}  // namespace quibra::protocol
