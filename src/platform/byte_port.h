// The byte-port interface of the platform seam: the pipe to an infrared transceiver on a serial
// adapter, on the USB adapter's device files, or on the USB adapter reached through the driver
// kit. The backend holds at most one open port and only talks to the operating system; which
// link is opened, the flags, the retries and the recoding live in the protocol layer.
//
// Threads: open and configure run on the application's thread before the communication thread
// starts; write, read and purge run only on the communication thread; close runs at the
// thread's end. The backend itself takes no locks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace quibra::platform {

// The USB adapter's identity on the bus, used by the driver-kit path. The vendor number is this
// library's own choice for the adapter.
inline constexpr uint16_t kUsbAdapterVendor = 0x4F52;
inline constexpr uint16_t kUsbAdapterProduct = 0x0001;
// The adapter's device files are numbered 0..3 and tried lowest first.
inline constexpr int kUsbDeviceFileCount = 4;

struct PortReadResult {
  bool ok = false;    // false: the read itself failed (error holds the system error code)
  size_t count = 0;   // bytes placed in the buffer
  int32_t error = 0;  // errno or GetLastError of a failed read
};

class BytePort {
 public:
  virtual ~BytePort() = default;

  // Opens a serial adapter's port (read and write, not shared, existing only) and sets the
  // driver queues to 1048 bytes in and 128 out where the system has them. Closes any port held
  // before. Returns a positive handle value, or 0 when it cannot be opened.
  virtual int32_t open_serial(const char* name) = 0;
  // Opens the USB adapter's device file number 0..3 (read and write, shared). Returns a positive
  // handle value or 0.
  virtual int32_t open_usb_device(int number) = 0;
  // Looks for the adapter through the driver kit, waiting up to wait_ms for it to attach (the
  // wait goes through the clock). true when a device was found and is now the port.
  virtual bool open_driver_kit(uint32_t wait_ms) = 0;

  // Serial line settings: the given baud, parity (0 = none) and stop bits, 8 data bits, raw
  // binary mode, no flow control; then DTR and RTS raised. false when the line cannot be set.
  virtual bool configure_line(uint32_t baud, int parity, int stop_bits) = 0;
  // The total read time-out: a read returns after this many milliseconds without data.
  virtual bool set_read_timeout(uint32_t ms) = 0;

  // Writes the bytes in one call (driver kit: one vendor control transfer out).
  virtual bool write(const uint8_t* bytes, size_t count) = 0;
  // Reads up to count bytes, returning after the read time-out when none come (driver kit: at
  // most 8 bytes from endpoint 0x81).
  virtual PortReadResult read(uint8_t* buffer, size_t count) = 0;
  // Discards pending input or output.
  virtual void purge_receive() = 0;
  virtual void purge_transmit() = 0;
  // Sends the USB adapter's reset request (device control 0x80002004, no buffers).
  virtual bool reset_usb_adapter() = 0;
  // Closes the port (device file, tty or driver-kit device). Harmless when none is open.
  virtual void close() = 0;

  // Whether the operating system is new enough for the USB adapter.
  virtual bool system_supports_usb_adapter() = 0;
};

// A new byte port of the operating system (posix or win32 backend, chosen at build time), with
// no port open. The Module owns the one the library uses (platform/backends.h).
std::unique_ptr<BytePort> make_system_byte_port();

}  // namespace quibra::platform
