// win32 backend of the byte port: a serial adapter is a COM port set up with SetCommState and
// the comm time-outs; the USB adapter's device files are \\.\Orvekusb0..3; a driver kit is not
// used on this platform, so the kit path reports that no adapter was found.
#include <windows.h>

#include <cstdio>

#include "platform/byte_port.h"

namespace quibra::platform {
namespace {

constexpr const char* kUsbDeviceFormat = "\\\\.\\Orvekusb%d";
constexpr DWORD kUsbResetControl = 0x80002004ul;
constexpr DWORD kInQueue = 1048;
constexpr DWORD kOutQueue = 128;

class Win32BytePort final : public BytePort {
 public:
  ~Win32BytePort() override { close(); }

  int32_t open_serial(const char* name) override {
    close();
    if (name == nullptr || name[0] == '\0') return 0;
    HANDLE h =
        CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 0;
    SetupComm(h, kInQueue, kOutQueue);
    return adopt(h);
  }

  int32_t open_usb_device(int number) override {
    close();
    char name[32];
    std::snprintf(name, sizeof name, kUsbDeviceFormat, number);
    HANDLE h = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 0;
    return adopt(h);
  }

  bool open_driver_kit(uint32_t /*wait_ms*/) override {
    close();
    return false;
  }

  bool configure_line(uint32_t baud, int parity, int stop_bits) override {
    if (handle_ == INVALID_HANDLE_VALUE) return false;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(handle_, &dcb)) return false;
    dcb.BaudRate = baud;
    dcb.ByteSize = 8;
    dcb.Parity = static_cast<BYTE>(parity);
    dcb.StopBits = stop_bits == 2 ? TWOSTOPBITS : ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fTXContinueOnXoff = TRUE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fAbortOnError = FALSE;
    if (!SetCommState(handle_, &dcb)) return false;
    EscapeCommFunction(handle_, SETDTR);
    EscapeCommFunction(handle_, SETRTS);
    return true;
  }

  bool set_read_timeout(uint32_t ms) override {
    if (handle_ == INVALID_HANDLE_VALUE) return false;
    COMMTIMEOUTS timeouts{};
    GetCommTimeouts(handle_, &timeouts);
    timeouts.ReadTotalTimeoutConstant = ms;
    return SetCommTimeouts(handle_, &timeouts) != 0;
  }

  bool write(const uint8_t* bytes, size_t count) override {
    if (handle_ == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    return WriteFile(handle_, bytes, static_cast<DWORD>(count), &written, nullptr) != 0;
  }

  PortReadResult read(uint8_t* buffer, size_t count) override {
    PortReadResult result;
    DWORD got = 0;
    if (handle_ == INVALID_HANDLE_VALUE ||
        !ReadFile(handle_, buffer, static_cast<DWORD>(count), &got, nullptr)) {
      result.error = static_cast<int32_t>(GetLastError());
      return result;
    }
    result.ok = true;
    result.count = got;
    return result;
  }

  void purge_receive() override {
    if (handle_ != INVALID_HANDLE_VALUE) PurgeComm(handle_, PURGE_RXCLEAR);
  }
  void purge_transmit() override {
    if (handle_ != INVALID_HANDLE_VALUE) PurgeComm(handle_, PURGE_TXCLEAR);
  }

  bool reset_usb_adapter() override {
    if (handle_ == INVALID_HANDLE_VALUE) return false;
    DWORD returned = 0;
    return DeviceIoControl(handle_, kUsbResetControl, nullptr, 0, nullptr, 0, &returned, nullptr) !=
           0;
  }

  void close() override {
    if (handle_ != INVALID_HANDLE_VALUE) {
      CloseHandle(handle_);
      handle_ = INVALID_HANDLE_VALUE;
    }
  }

  bool system_supports_usb_adapter() override {
    // The extended version record first, then the basic one; both failing counts as too old.
    OSVERSIONINFOEXA extended{};
    extended.dwOSVersionInfoSize = sizeof extended;
    if (GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&extended))) {
      return extended.dwMajorVersion >= 5;
    }
    OSVERSIONINFOA basic{};
    basic.dwOSVersionInfoSize = sizeof basic;
    if (GetVersionExA(&basic)) return basic.dwMajorVersion >= 5;
    return false;
  }

 private:
  int32_t adopt(HANDLE h) {
    handle_ = h;
    // Handle values are small positive numbers on this platform.
    return static_cast<int32_t>(reinterpret_cast<uintptr_t>(h));
  }

  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

}  // namespace

std::unique_ptr<BytePort> make_system_byte_port() {
  return std::make_unique<Win32BytePort>();
}

}  // namespace quibra::platform
