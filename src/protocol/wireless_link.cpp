#include "protocol/wireless_link.h"

#include <cstring>
#include <mutex>

#include "frame/module.h"
#include "frame/state_flags.h"
#include "platform/registry.h"
#include "protocol/engine_control.h"
#include "protocol/online_thread.h"

namespace quibra::protocol {
namespace {

using frame::GetStateFlag;
using frame::SetStateFlag;

constexpr uint32_t kListSettleMs = 500;
constexpr uint8_t kNoLink = 0xFF;
constexpr uint8_t kNoLinkAlt = 0xFE;

}  // namespace

int32_t GetDeviceList(int32_t link_type, uint8_t* list) {
  if (list == nullptr) return 0;
  platform::LinkLibrary& library = platform::link_library();
  if (!library.load()) return 0;
  int32_t first_slot = 0;
  std::memcpy(&first_slot, list + 4, sizeof first_slot);
  const int32_t result = library.open(static_cast<uint8_t>(link_type), first_slot);
  platform::clock().sleep_ms(kListSettleMs);
  int32_t slots[kMaxLinkDevices] = {};
  const uint8_t found = library.list_devices(slots);
  if (found >= 1 && found <= kMaxLinkDevices) {
    std::memcpy(list + 4, slots, sizeof(int32_t) * found);
  }
  list[0] = found;
  return result;
}

void ClearDeviceRegistry() {
  Module& mod = module();
  std::lock_guard guard(mod.locks.DeviceRegistryLock);
  mod.wireless.has_device = false;
  mod.wireless.registered_device = 0;
}

int32_t OpenConnection(int32_t options, int32_t link_type, int32_t device) {
  Module& mod = module();
  mod.wireless.link_type = link_type & 0xFF;
  int32_t result = 0;
  if ((options & kOptionWireless) != 0 && device != 0) {
    platform::LinkLibrary& library = platform::link_library();
    if (!library.load()) return 0;
    result = library.open(static_cast<uint8_t>(link_type), device);
  }
  if (ResetIRCommunication(options) == 0 || device == 0 ||
      GetStateFlag(frame::kFlagWirelessOpened) != 0) {
    return result;
  }
  // The online samples of a previous device go with its registration (resetting them empties
  // the registry).
  if (mod.online_receiver.samples != nullptr) mod.online_receiver.samples->reset();
  ClearDeviceRegistry();
  {
    std::lock_guard guard(mod.locks.DeviceRegistryLock);
    mod.wireless.registered_device = device;
    mod.wireless.has_device = true;
  }
  if (GetStateFlag(frame::kFlagWirelessAdapter) != 0) {
    SetStateFlag(frame::kFlagWirelessOpened, result > kLinkOpenedAbove ? 1 : 0);
    if (GetStateFlag(frame::kFlagOnlineMode) != 0 &&
        GetStateFlag(frame::kFlagWirelessOpened) != 0) {
      StartOnlineThread();
    }
  }
  return result;
}

void EndWirelessLink() {
  if (GetStateFlag(frame::kFlagWirelessAdapter) == 0) return;
  Module& mod = module();
  platform::LinkLibrary& library = platform::link_library();
  if (library.load()) {
    int32_t device = 0;
    {
      std::lock_guard guard(mod.locks.DeviceRegistryLock);
      device = mod.wireless.registered_device;
    }
    uint8_t buffer[platform::kLinkPacketBufferBytes] = {};
    std::lock_guard calls(mod.wireless.calls);
    const uint8_t entries = library.packet(device, buffer);
    if (entries != kNoLink && entries != kNoLinkAlt) library.close();
  }
  SetStateFlag(frame::kFlagWirelessOpened, 0);
}

uint8_t LinkPacket(int32_t device, uint8_t* buffer, bool extended) {
  platform::LinkLibrary& library = platform::link_library();
  if (!library.load()) return kNoLink;
  std::lock_guard calls(module().wireless.calls);
  return extended ? library.packet_extended(device, buffer) : library.packet(device, buffer);
}

int32_t GetOnlineRRPacket(uint8_t* buffer) {
  if (buffer == nullptr) return 0;
  Module& mod = module();
  int32_t device = 0;
  {
    std::lock_guard guard(mod.locks.DeviceRegistryLock);
    device = mod.wireless.registered_device;
  }
  return LinkPacket(device, buffer, false);
}

int32_t GetOnlineRLX(int32_t a, int32_t b) {
  platform::LinkLibrary& library = platform::link_library();
  if (!library.load()) return 0;
  std::lock_guard calls(module().wireless.calls);
  return library.relax(a, b);
}

void PauseWirelessLink() {
  platform::LinkLibrary& library = platform::link_library();
  if (!library.load()) return;
  std::lock_guard calls(module().wireless.calls);
  library.pause();
}

}  // namespace quibra::protocol
