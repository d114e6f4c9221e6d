// win32 backend of the IrDA sockets: Windows Sockets 1.1 with the IrDA address family. Socket
// handles are 32-bit values on the 32-bit build, so they travel as the seam's handle values.
// closesocket from another thread ends a recv blocked on the socket, as the seam requires.
#include <winsock2.h>
// winsock2.h first: af_irda.h needs its types.
#include <af_irda.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "platform/irda_sockets.h"

namespace quibra::platform {
namespace {

constexpr WORD kSocketsVersion = MAKEWORD(1, 1);
// The record of one device in the enumeration buffer.
constexpr size_t kDeviceRecordBytes = sizeof(IRDA_DEVICE_INFO);
static_assert(kDeviceRecordBytes == 29, "an IrDA device record is 29 bytes");
// The service record the library builds is the system's WINDOWS_IAS_SET, byte for byte.
static_assert(kIrdaOptionLevel == SOL_IRLMP && kIrdaOptionServiceRecord == IRLMP_IAS_SET &&
              kIrdaOptionNineWire == IRLMP_9WIRE_MODE && kIasOctetSequence == IAS_ATTRIB_OCTETSEQ);
static_assert(offsetof(WINDOWS_IAS_SET, irdaAttribName) == kIasAttributeNameAt &&
              offsetof(WINDOWS_IAS_SET, irdaAttribType) == kIasAttributeTypeAt &&
              offsetof(WINDOWS_IAS_SET, irdaAttribute.irdaAttribOctetSeq.Len) ==
                  kIasOctetsLengthAt &&
              offsetof(WINDOWS_IAS_SET, irdaAttribute.irdaAttribOctetSeq.OctetSeq) == kIasOctetsAt);

SOCKET AsSocket(int32_t handle) {
  return static_cast<SOCKET>(static_cast<uint32_t>(handle));
}

SOCKADDR_IRDA Address(uint32_t device_id, const char* service) {
  SOCKADDR_IRDA address{};
  address.irdaAddressFamily = AF_IRDA;
  std::memcpy(address.irdaDeviceID, &device_id, sizeof address.irdaDeviceID);
  if (service != nullptr) {
    std::strncpy(address.irdaServiceName, service, kIrdaServiceNameBytes - 1);
  }
  return address;
}

class Win32IrdaSockets final : public IrdaSockets {
 public:
  int32_t startup() override {
    WSADATA data{};
    return WSAStartup(kSocketsVersion, &data);
  }
  void cleanup() override { WSACleanup(); }

  int32_t open_stream(int32_t& handle) override {
    handle = 0;
    const SOCKET s = socket(AF_IRDA, SOCK_STREAM, 0);
    if (s == INVALID_SOCKET) return WSAGetLastError();
    handle = static_cast<int32_t>(static_cast<uint32_t>(s));
    return 0;
  }

  int32_t bind_and_listen(int32_t handle, uint32_t device_id, const char* service,
                          int backlog) override {
    if (const int32_t error = bind(handle, device_id, service); error != 0) return error;
    return listen(handle, backlog);
  }

  int32_t bind(int32_t handle, uint32_t device_id, const char* service) override {
    const SOCKADDR_IRDA address = Address(device_id, service);
    if (::bind(AsSocket(handle), reinterpret_cast<const sockaddr*>(&address), sizeof address) ==
        SOCKET_ERROR) {
      return WSAGetLastError();
    }
    return 0;
  }

  int32_t listen(int32_t handle, int backlog) override {
    if (::listen(AsSocket(handle), backlog) == SOCKET_ERROR) return WSAGetLastError();
    return 0;
  }

  int32_t set_option(int32_t handle, int32_t level, int32_t option, const uint8_t* value,
                     size_t size) override {
    if (setsockopt(AsSocket(handle), level, option, reinterpret_cast<const char*>(value),
                   static_cast<int>(size)) == SOCKET_ERROR) {
      return WSAGetLastError();
    }
    return 0;
  }

  int32_t accept(int32_t handle, int32_t& connected) override {
    connected = 0;
    const SOCKET s = ::accept(AsSocket(handle), nullptr, nullptr);
    if (s == INVALID_SOCKET) return WSAGetLastError();
    connected = static_cast<int32_t>(static_cast<uint32_t>(s));
    return 0;
  }

  int32_t enumerate(int32_t handle, std::vector<IrdaDevice>& devices) override {
    devices.clear();
    char buffer[kIrdaDeviceListBytes] = {};
    int length = static_cast<int>(sizeof buffer);
    if (getsockopt(AsSocket(handle), SOL_IRLMP, IRLMP_ENUMDEVICES, buffer, &length) ==
        SOCKET_ERROR) {
      return WSAGetLastError();
    }
    ULONG count = 0;
    std::memcpy(&count, buffer, sizeof count);
    const size_t fits = (static_cast<size_t>(std::max(length, 4)) - 4) / kDeviceRecordBytes;
    const size_t n = std::min<size_t>({count, fits, kIrdaMaxDevices});
    for (size_t i = 0; i < n; ++i) {
      IRDA_DEVICE_INFO record{};
      std::memcpy(&record, buffer + 4 + i * kDeviceRecordBytes, kDeviceRecordBytes);
      IrdaDevice device;
      std::memcpy(&device.id, record.irdaDeviceID, sizeof device.id);
      device.name.assign(record.irdaDeviceName,
                         strnlen(record.irdaDeviceName, kIrdaDeviceNameBytes));
      devices.push_back(device);
    }
    return 0;
  }

  int32_t connect(int32_t handle, uint32_t device_id, const char* service) override {
    const SOCKADDR_IRDA address = Address(device_id, service);
    if (::connect(AsSocket(handle), reinterpret_cast<const sockaddr*>(&address),
                  sizeof address) == SOCKET_ERROR) {
      return WSAGetLastError();
    }
    return 0;
  }

  int32_t send(int32_t handle, const uint8_t* bytes, size_t count) override {
    if (::send(AsSocket(handle), reinterpret_cast<const char*>(bytes), static_cast<int>(count),
               0) == SOCKET_ERROR) {
      return WSAGetLastError();
    }
    return 0;
  }

  IrdaReceived receive(int32_t handle, uint8_t* buffer, size_t capacity) override {
    const int got =
        recv(AsSocket(handle), reinterpret_cast<char*>(buffer), static_cast<int>(capacity), 0);
    if (got == SOCKET_ERROR) return {WSAGetLastError(), 0};
    return {0, static_cast<size_t>(got)};
  }

  void close(int32_t handle) override {
    if (handle != 0) closesocket(AsSocket(handle));
  }
};

}  // namespace

std::unique_ptr<IrdaSockets> make_system_irda_sockets() {
  return std::make_unique<Win32IrdaSockets>();
}

}  // namespace quibra::platform
