// The wireless link: units reached through the closed wireless-link library. The link type and
// the one registered device are module-wide.
#pragma once

#include <atomic>
#include <cstdint>

namespace quibra::protocol {

// Ordinal 1 answers above this when the device is open.
inline constexpr int32_t kLinkOpenedAbove = 18000;
inline constexpr int kMaxLinkDevices = 32;

struct WirelessLink {
  std::atomic<int32_t> link_type{0};
  // The device registry (capacity 1), under DeviceRegistryLock.
  int32_t registered_device = 0;
  bool has_device = false;
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

}  // namespace quibra::protocol
