// The IrDA socket interface of the platform seam: the operating system's IrDA protocol stack,
// reached through stream sockets of the IrDA address family. The stack does the framing and the
// error checking; what goes through a socket is the unit's short form, one message per send.
//
// Results are socket error codes in the numbering of Windows Sockets (0 = success), the codes
// the library's callers see. A stack that lacks the address family reports
// kIrdaAddressFamilyUnsupported from socket creation.
//
// Threads: every call may come from the application's thread, the communication thread or the
// IrDA receive thread. receive and accept block; close (from any thread) ends a receive or an
// accept blocked on that socket, which then returns an error. Sockets are plain handle values; a
// call on a handle that is no longer open fails with kIrdaNotSocket.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quibra::platform {

// Socket error codes the library tells apart.
inline constexpr int32_t kIrdaNotSocket = 10038;
inline constexpr int32_t kIrdaAddressFamilyUnsupported = 10047;
inline constexpr int32_t kIrdaConnectionAborted = 10053;
inline constexpr int32_t kIrdaConnectionReset = 10054;
inline constexpr int32_t kIrdaNotConnected = 10057;
inline constexpr int32_t kIrdaNotInitialised = 10093;

// Socket options of the IrDA stack (level kIrdaOptionLevel): the service record of a server
// (an IAS entry: class name, attribute name, attribute type and value) and the 9-wire mode of
// IrCOMM.
inline constexpr int32_t kIrdaOptionLevel = 255;
inline constexpr int32_t kIrdaOptionServiceRecord = 17;
inline constexpr int32_t kIrdaOptionNineWire = 22;
// The service record as the option takes it: the class name and the attribute name as
// zero-terminated texts in fields of 64 and 256 bytes, the attribute type (4 bytes, low byte
// first), then for an octet sequence its length (2 bytes) and its bytes.
inline constexpr size_t kIasClassNameAt = 0;
inline constexpr size_t kIasClassNameBytes = 64;
inline constexpr size_t kIasAttributeNameAt = 64;
inline constexpr size_t kIasAttributeNameBytes = 256;
inline constexpr size_t kIasAttributeTypeAt = 320;
inline constexpr size_t kIasOctetsLengthAt = 324;
inline constexpr size_t kIasOctetsAt = 326;
inline constexpr size_t kIasMaxOctets = 1024;
inline constexpr uint32_t kIasOctetSequence = 2;

// The device list is read into a buffer of this many bytes: a 4-byte count, then records of a
// 4-byte device id, a 22-byte name, 2 hint bytes and a character-set byte. It holds 10 devices.
inline constexpr size_t kIrdaDeviceListBytes = 297;
inline constexpr size_t kIrdaDeviceNameBytes = 22;
inline constexpr size_t kIrdaMaxDevices = (kIrdaDeviceListBytes - 4) / 29;
// A service name takes at most 24 characters and its terminating zero.
inline constexpr size_t kIrdaServiceNameBytes = 25;

struct IrdaDevice {
  uint32_t id = 0;
  std::string name;  // as the device announces it, at most 22 characters
};

struct IrdaReceived {
  int32_t error = 0;  // 0, or the socket error of a failed receive
  size_t count = 0;   // bytes placed in the buffer; 0 when the peer closed the link
};

class IrdaSockets {
 public:
  virtual ~IrdaSockets() = default;

  // Starts the socket library at version 1.1. 0, or its error code. Every successful startup
  // is matched by one cleanup.
  virtual int32_t startup() = 0;
  virtual void cleanup() = 0;

  // Makes an IrDA stream socket: 0 and the handle in `handle`, or the error code.
  virtual int32_t open_stream(int32_t& handle) = 0;
  // Binds the socket to a device id and service name and listens with the given backlog.
  virtual int32_t bind_and_listen(int32_t handle, uint32_t device_id, const char* service,
                                  int backlog) = 0;
  // The two steps of bind_and_listen apart, for a server that tells which one failed.
  virtual int32_t bind(int32_t handle, uint32_t device_id, const char* service) = 0;
  virtual int32_t listen(int32_t handle, int backlog) = 0;
  // Sets a socket option (level and option as the stack numbers them) to `size` bytes.
  virtual int32_t set_option(int32_t handle, int32_t level, int32_t option, const uint8_t* value,
                             size_t size) = 0;
  // Waits on a listening socket for a peer to connect: 0 and the connected socket in
  // `connected`, or the error.
  virtual int32_t accept(int32_t handle, int32_t& connected) = 0;
  // Enumerates the devices in range (at most kIrdaMaxDevices, in the stack's order).
  virtual int32_t enumerate(int32_t handle, std::vector<IrdaDevice>& devices) = 0;
  // Connects the socket to a device's service.
  virtual int32_t connect(int32_t handle, uint32_t device_id, const char* service) = 0;
  // Sends the bytes in one call; a zero-length send only tests the link.
  virtual int32_t send(int32_t handle, const uint8_t* bytes, size_t count) = 0;
  // Receives one block of at most `capacity` bytes, blocking until one arrives, the link ends
  // or the socket is closed.
  virtual IrdaReceived receive(int32_t handle, uint8_t* buffer, size_t capacity) = 0;
  // Closes the socket. Harmless for a handle that is not open.
  virtual void close(int32_t handle) = 0;
};

// A new handle on the system's IrDA stack (posix or win32 backend, chosen at build time).
std::unique_ptr<IrdaSockets> make_system_irda_sockets();

}  // namespace quibra::platform
