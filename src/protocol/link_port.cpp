#include "protocol/link_port.h"

#include "frame/module.h"
#include "frame/state_flags.h"
#include "platform/registry.h"
#include "protocol/irda_link.h"

namespace quibra::protocol {
namespace {

using frame::GetStateFlag;
using frame::SetStateFlag;

// The handle value recorded while the driver kit holds the adapter: the kit has no file handle.
constexpr int32_t kDriverKitHandle = -1;
// The driver kit needs this long after a transfer before the adapter takes the next one.
constexpr uint32_t kDriverKitSettleMs = 200;
// After purging the USB adapter's output it is given this long.
constexpr uint32_t kUsbPurgeSettleMs = 10;

bool OnDriverKit() {
  return GetStateFlag(frame::kFlagUsbDriverKit) != 0;
}
bool OnUsbDeviceFile() {
  return GetStateFlag(frame::kFlagUsbAdapter) != 0 && !OnDriverKit();
}

// The link's name in the trace.
const char* TracedLink() {
  return GetStateFlag(frame::kFlagUsbAdapter) != 0 ? "usb" : "serial";
}

}  // namespace

int32_t OpenUsbAdapter() {
  platform::BytePort& port = platform::byte_port();
  if (!OnDriverKit()) {
    for (int number = 0; number < platform::kUsbDeviceFileCount; ++number) {
      const int32_t handle = port.open_usb_device(number);
      if (handle > 0) return handle;
    }
  }
  if (port.open_driver_kit(kDriverKitAttachWaitMs)) {
    SetStateFlag(frame::kFlagUsbDriverKit, 1);
    return kDriverKitHandle;
  }
  SetStateFlag(frame::kFlagUsbDriverKit, 0);
  return 0;
}

int32_t OpenPort(const char* name) {
  if (GetStateFlag(frame::kFlagPortHeld) != 0) return 0;
  LinkPort& link = module().port;
  if (GetStateFlag(frame::kFlagIrdaSockets) != 0) {
    // The IrDA stack has no port: the probe shows that it can make the unit's sockets.
    if (ProbeIrda() == 0) return 1;
    SetStateFlag(frame::kFlagPortOpenFailed, 1);
    return 0;
  }
  int32_t handle = 0;
  if (GetStateFlag(frame::kFlagUsbAdapter) != 0) {
    handle = OpenUsbAdapter();
  } else if (name != nullptr) {
    handle = platform::byte_port().open_serial(name);
  } else {
    // No name on a serial link: the port opened before stays the port.
    handle = link.handle();
  }
  if (handle == 0) {
    SetStateFlag(frame::kFlagPortOpenFailed, 1);
    module().trace.event("open %s %s failed", TracedLink(), name != nullptr ? name : "");
    return 0;
  }
  link.set_handle(handle);
  module().trace.event("open %s %s", TracedLink(), name != nullptr ? name : "");
  return 1;
}

int32_t ConfigurePort(uint32_t baud, int parity, int stop_bits) {
  if (GetStateFlag(frame::kFlagIrdaSockets) != 0 ||
      GetStateFlag(frame::kFlagWirelessAdapter) != 0) {
    return 1;
  }
  platform::BytePort& port = platform::byte_port();
  if (GetStateFlag(frame::kFlagUsbAdapter) == 0 && !OnDriverKit()) {
    port.configure_line(baud, parity, stop_bits);
  }
  port.set_read_timeout(kReadTimeoutMs);
  return 1;
}

int32_t WritePort(const uint8_t* bytes, size_t count) {
  // A write that did not go out shows as a missing answer, which the engine retries.
  module().trace.bytes(TracedLink(), frame::TraceDirection::Sent, bytes, count);
  platform::byte_port().write(bytes, count);
  if (OnDriverKit()) platform::clock().sleep_ms(kDriverKitSettleMs);
  return 1;
}

platform::PortReadResult ReadPort(uint8_t* buffer, size_t count) {
  const platform::PortReadResult got = platform::byte_port().read(buffer, count);
  frame::Trace& trace = module().trace;
  trace.bytes(TracedLink(), frame::TraceDirection::Received, buffer, got.count);
  if (!got.ok) {
    trace.event("read %s failed, error %d", TracedLink(), got.error);
  } else if (got.count == 0) {
    trace.quiet();
  }
  return got;
}

void PurgePort() {
  if (OnDriverKit()) return;
  platform::BytePort& port = platform::byte_port();
  if (!OnUsbDeviceFile()) {
    port.purge_receive();
    port.purge_transmit();
    return;
  }
  // The USB adapter keeps what it received in itself: drain it by reading.
  uint8_t drain[kUsbChunk];
  if (!port.read(drain, sizeof drain).ok) ResetUsbAdapter();
  port.purge_transmit();
  platform::clock().sleep_ms(kUsbPurgeSettleMs);
}

int32_t ClosePort() {
  LinkPort& link = module().port;
  if (GetStateFlag(frame::kFlagIrdaSockets) != 0) {
    // The sockets belong to the receive thread's lifetime: closing them also ends a receive
    // that is waiting for the unit.
    if (GetStateFlag(frame::kFlagIrdaReceiveRunning) != 0) CloseIrda();
    return 1;
  }
  if (OnDriverKit()) {
    platform::byte_port().close();
    link.clear_handle();
    return 1;
  }
  if (link.handle() != 0 && GetStateFlag(frame::kFlagPortHeld) == 0) {
    platform::byte_port().close();
    link.clear_handle();
    module().trace.event("close %s", TracedLink());
  }
  return 1;
}

int32_t ResetUsbAdapter() {
  LinkPort& link = module().port;
  if (link.handle() == 0) return 0;
  platform::byte_port().reset_usb_adapter();
  // Close refuses while a thread holds the port; the reset runs on that thread, so close the
  // handle directly. The engine thread owns no windows, so it has no window messages to pump.
  platform::byte_port().close();
  link.clear_handle();
  const int32_t handle = OpenUsbAdapter();
  if (handle == 0) return 0;
  link.set_handle(handle);
  return 1;
}

int32_t TestUSBPort() {
  if (!platform::byte_port().system_supports_usb_adapter()) return -10;
  // The port belongs to the running engine; probing would take it away.
  if (GetStateFlag(frame::kFlagPortHeld) != 0) return 0;
  const int32_t handle = OpenUsbAdapter();
  if (handle > 0) {
    platform::byte_port().close();
    return handle;
  }
  return 0;
}

}  // namespace quibra::protocol
