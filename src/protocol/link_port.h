// The port operations the communication engine uses on the serial adapter, the USB adapter's
// device files and the driver-kit path. They decide, from the connection flags, which link to
// open and how to treat it; the byte port of the platform seam does the system calls.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "platform/byte_port.h"

namespace quibra::protocol {

// Line settings the engine configures a serial adapter with.
inline constexpr uint32_t kSerialBaud = 9600;
inline constexpr int kSerialParity = 0;
inline constexpr int kSerialStopBits = 2;
// Reads return after this long without data.
inline constexpr uint32_t kReadTimeoutMs = 10;
// How long the driver kit is given to find an attached adapter.
inline constexpr uint32_t kDriverKitAttachWaitMs = 30000;
// A read that drains the USB adapter takes this many bytes.
inline constexpr size_t kUsbChunk = 250;

// Module-wide port state: the handle value of the open port (0 when none).
class LinkPort {
 public:
  int32_t handle() const { return handle_.load(); }
  void set_handle(int32_t value) { handle_.store(value); }
  void clear_handle() { handle_.store(0); }

 private:
  std::atomic<int32_t> handle_{0};
};

// Open (port name or null): refuses while a thread holds the port; opens the USB adapter with
// flag 2014, else the named serial port. Failure sets flag 2006. Returns 1 or 0.
// On IrDA sockets the open is the IrDA probe.
int32_t OpenPort(const char* name);
// Opens the USB adapter: device files 0..3 unless flag 2021 says the driver kit, then the kit.
// Returns the device file's handle value, -1 when the driver kit found the adapter, 0 when none.
int32_t OpenUsbAdapter();
// Line settings on a serial link, then the 10 ms read time-out. Returns 1.
int32_t ConfigurePort(uint32_t baud, int parity, int stop_bits);
// Writes the bytes; on the driver kit the adapter is then given 200 ms. Returns 1.
int32_t WritePort(const uint8_t* bytes, size_t count);
// Reads up to count bytes; ok false with the system error on failure.
platform::PortReadResult ReadPort(uint8_t* buffer, size_t count);
// Discards pending bytes (on the USB device files by draining the adapter; a failed drain
// resets it).
void PurgePort();
// Closes the port unless a thread holds it. Returns 1.
int32_t ClosePort();
// Recovers the USB adapter after a failed read: reset request, close, open again. 1 or 0.
int32_t ResetUsbAdapter();

// fnQuibra_TestUSBPort: -10 on a system too old for the adapter, else the handle value of the
// first device file that opens (closed again), else 0.
int32_t TestUSBPort();

}  // namespace quibra::protocol
