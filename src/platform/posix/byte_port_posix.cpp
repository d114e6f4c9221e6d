// posix backend of the byte port: a serial adapter is a tty set up with termios (9600 8N2 raw,
// the read time-out done with poll); the USB adapter's device files are /dev/orvekusb0..3; the
// driver-kit path talks to the adapter through libusb-1.0, loaded at run time so that the build
// does not depend on it (without it the kit reports that no adapter was found).
#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/utsname.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "frame/failure_text.h"
#include "platform/byte_port.h"
#include "platform/registry.h"

namespace quibra::platform {
namespace {

// The device files of the adapter's Linux driver, numbered 0..3.
constexpr const char* kUsbDeviceFormat = "/dev/orvekusb%d";
// The adapter driver's reset request, issued without buffers.
constexpr unsigned long kUsbResetRequest = 0x80002004ul;

// The part of libusb-1.0 the driver kit uses, resolved by name from the shared object.
struct LibUsb {
  void* handle = nullptr;
  int (*init)(void** context) = nullptr;
  void (*exit)(void* context) = nullptr;
  void* (*open_device_with_vid_pid)(void* context, uint16_t vendor, uint16_t product) = nullptr;
  void (*close)(void* device) = nullptr;
  int (*claim_interface)(void* device, int number) = nullptr;
  int (*release_interface)(void* device, int number) = nullptr;
  int (*control_transfer)(void* device, uint8_t type, uint8_t request, uint16_t value,
                          uint16_t index, unsigned char* data, uint16_t length,
                          unsigned int timeout) = nullptr;
  int (*interrupt_transfer)(void* device, unsigned char endpoint, unsigned char* data, int length,
                            int* transferred, unsigned int timeout) = nullptr;

  template <typename Fn>
  bool resolve(Fn& fn, const char* name) {
    fn = reinterpret_cast<Fn>(dlsym(handle, name));
    return fn != nullptr;
  }

  bool load() {
    if (handle != nullptr) return true;
    handle = dlopen("libusb-1.0.so.0", RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) return false;
    if (resolve(init, "libusb_init") && resolve(exit, "libusb_exit") &&
        resolve(open_device_with_vid_pid, "libusb_open_device_with_vid_pid") &&
        resolve(close, "libusb_close") && resolve(claim_interface, "libusb_claim_interface") &&
        resolve(release_interface, "libusb_release_interface") &&
        resolve(control_transfer, "libusb_control_transfer") &&
        resolve(interrupt_transfer, "libusb_interrupt_transfer")) {
      return true;
    }
    unload();
    return false;
  }

  void unload() {
    if (handle != nullptr) dlclose(handle);
    handle = nullptr;
  }
};

// Driver-kit transfers: the vendor request out and the adapter's input endpoint.
constexpr uint8_t kKitRequestType = 0x43;  // vendor, host to device, other recipient
constexpr uint8_t kKitRequest = 1;
constexpr uint16_t kKitValue = 0x0801;
constexpr unsigned int kKitTimeoutMs = 30000;
constexpr unsigned char kKitInEndpoint = 0x81;
constexpr int kKitReadMax = 8;
constexpr uint32_t kKitPollMs = 100;

class PosixBytePort final : public BytePort {
 public:
  // Unloading the library closes the port and lets go of libusb.
  ~PosixBytePort() override {
    close();
    usb_.unload();
  }

  int32_t open_serial(const char* name) override {
    close();
    frame::SetFailureText({});
    if (name == nullptr || name[0] == '\0') return 0;
    int fd = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return refuse(name, errno);
    // Only a terminal device carries a serial line: a plain file or /dev/null would swallow
    // every request and leave each transfer to run out of tries.
    if (isatty(fd) == 0) {
      ::close(fd);
      return refuse(name, ENOTTY);
    }
    // Not shared: while we hold the tty a second opener is refused, by the terminal itself
    // (TIOCEXCL, which the superuser passes) and by an advisory lock that every user of this
    // library takes. Pseudo terminals accept both. Linux drivers size their own queues, so
    // there is nothing to set there.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int error = errno == EWOULDBLOCK ? EBUSY : errno;
      ::close(fd);
      return refuse(name, error);
    }
    ioctl(fd, TIOCEXCL);
    return adopt(fd);
  }

  int32_t open_usb_device(int number) override {
    close();
    char name[64];
    std::snprintf(name, sizeof name, kUsbDeviceFormat, number);
    int fd = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return 0;
    return adopt(fd);
  }

  bool open_driver_kit(uint32_t wait_ms) override {
    close();
    if (!usb_.load()) return false;
    if (context_ == nullptr && usb_.init(&context_) != 0) {
      context_ = nullptr;
      return false;
    }
    // The adapter counts as attached as soon as it can be opened; until then look again every
    // 100 ms for the whole wait.
    Clock& c = clock();
    const uint32_t start = c.tick_ms();
    for (;;) {
      device_ = usb_.open_device_with_vid_pid(context_, kUsbAdapterVendor, kUsbAdapterProduct);
      if (device_ != nullptr) {
        if (usb_.claim_interface(device_, 0) == 0) return true;
        usb_.close(device_);
        device_ = nullptr;
      }
      if (c.tick_ms() - start >= wait_ms) break;
      c.sleep_ms(kKitPollMs);
    }
    usb_.exit(context_);
    context_ = nullptr;
    return false;
  }

  bool configure_line(uint32_t baud, int parity, int stop_bits) override {
    if (fd_ < 0) return false;
    termios tio{};
    if (tcgetattr(fd_, &tio) != 0) return false;
    cfmakeraw(&tio);
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CREAD | CLOCAL;
    if (parity == 1) tio.c_cflag |= PARENB | PARODD;
    if (parity == 2) tio.c_cflag |= PARENB;
    if (stop_bits == 2) tio.c_cflag |= CSTOPB;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK | IGNPAR | PARMRK);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    const speed_t speed = baud == 9600 ? B9600 : baud == 19200 ? B19200 : B9600;
    cfsetispeed(&tio, speed);
    cfsetospeed(&tio, speed);
    if (tcsetattr(fd_, TCSANOW, &tio) != 0) return false;
    // The transceiver draws its power from DTR and RTS. Terminals without modem lines (a pty)
    // refuse the request; that is no reason to give up the port.
    int lines = TIOCM_DTR;
    ioctl(fd_, TIOCMBIS, &lines);
    lines = TIOCM_RTS;
    ioctl(fd_, TIOCMBIS, &lines);
    return true;
  }

  bool set_read_timeout(uint32_t ms) override {
    read_timeout_ms_ = static_cast<int>(ms);
    return fd_ >= 0 || device_ != nullptr;
  }

  bool write(const uint8_t* bytes, size_t count) override {
    if (device_ != nullptr) {
      const int sent = usb_.control_transfer(device_, kKitRequestType, kKitRequest, kKitValue, 0,
                                             const_cast<unsigned char*>(bytes),
                                             static_cast<uint16_t>(count), kKitTimeoutMs);
      return sent >= 0;
    }
    if (fd_ < 0) return false;
    size_t done = 0;
    while (done < count) {
      const ssize_t n = ::write(fd_, bytes + done, count - done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && errno == EAGAIN) {
        pollfd p{fd_, POLLOUT, 0};
        ::poll(&p, 1, read_timeout_ms_);
        continue;
      }
      if (n <= 0) return false;
      done += static_cast<size_t>(n);
    }
    // Return once the bytes are on the line, as a blocking write to a COM port does: the engine
    // purges the output 50 ms after writing, which must not cut off a request still in the
    // driver's buffer (100 bytes take over 100 ms at 9600 baud).
    tcdrain(fd_);
    return true;
  }

  PortReadResult read(uint8_t* buffer, size_t count) override {
    PortReadResult result;
    if (device_ != nullptr) {
      int transferred = 0;
      const int want =
          count < static_cast<size_t>(kKitReadMax) ? static_cast<int>(count) : kKitReadMax;
      const int rc = usb_.interrupt_transfer(device_, kKitInEndpoint, buffer, want, &transferred,
                                             kKitTimeoutMs);
      result.ok = rc == 0;
      result.error = rc;
      result.count = rc == 0 ? static_cast<size_t>(transferred) : 0;
      return result;
    }
    if (fd_ < 0) {
      result.error = EBADF;
      return result;
    }
    pollfd p{fd_, POLLIN, 0};
    int ready = ::poll(&p, 1, read_timeout_ms_);
    if (ready < 0 && errno != EINTR) {
      result.error = errno;
      return result;
    }
    result.ok = true;
    if (ready <= 0) return result;
    const ssize_t n = ::read(fd_, buffer, count);
    if (n < 0) {
      if (errno == EAGAIN || errno == EINTR) return result;
      result.ok = false;
      result.error = errno;
      return result;
    }
    if (n == 0 && (p.revents & POLLHUP) != 0) {
      // The other end is gone: a tty that hangs up reads as end of file for good.
      result.ok = false;
      result.error = EIO;
      return result;
    }
    result.count = static_cast<size_t>(n);
    return result;
  }

  void purge_receive() override {
    if (fd_ >= 0) tcflush(fd_, TCIFLUSH);
  }
  void purge_transmit() override {
    if (fd_ >= 0) tcflush(fd_, TCOFLUSH);
  }

  bool reset_usb_adapter() override {
    if (fd_ < 0) return false;
    return ioctl(fd_, kUsbResetRequest, nullptr) == 0;
  }

  void close() override {
    if (fd_ >= 0) {
      ::close(fd_);
      fd_ = -1;
    }
    if (device_ != nullptr) {
      usb_.release_interface(device_, 0);
      usb_.close(device_);
      device_ = nullptr;
    }
    if (context_ != nullptr) {
      usb_.exit(context_);
      context_ = nullptr;
    }
  }

  bool system_supports_usb_adapter() override {
    // The adapter's Linux driver needs a 3.x kernel or later; a system that will not tell its
    // version counts as too old, as on the other platform.
    utsname name{};
    if (uname(&name) != 0) return false;
    return std::atoi(name.release) >= 3;
  }

 private:
  // Tells why the port was not opened, in the words the user needs; always 0.
  static int32_t refuse(const char* name, int error) {
    const std::string port = std::string("port ") + name;
    if (error == EBUSY) {
      frame::SetFailureText(port + " is busy (another program is using it)");
    } else if (error == ENOTTY) {
      frame::SetFailureText(port + " is not a terminal device");
    } else {
      frame::SetFailureText("cannot open " + port + ": " + std::strerror(error));
    }
    return 0;
  }

  int32_t adopt(int fd) {
    // A handle value is reported to callers as a positive number.
    if (fd == 0) {
      const int moved = fcntl(fd, F_DUPFD_CLOEXEC, 1);
      ::close(fd);
      if (moved < 0) return 0;
      fd = moved;
    }
    fd_ = fd;
    return fd_;
  }

  int fd_ = -1;
  int read_timeout_ms_ = 10;
  LibUsb usb_;
  void* context_ = nullptr;
  void* device_ = nullptr;
};

}  // namespace

std::unique_ptr<BytePort> make_system_byte_port() {
  return std::make_unique<PosixBytePort>();
}

}  // namespace quibra::platform
