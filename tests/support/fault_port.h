// A byte-port decorator for tests: forwards to the Module's own port (the system's, on a pty) and
// makes one chosen operation fail on its Nth call, once or for good; it also plays the USB
// adapter's device files, which no test machine has. The inner port is looked up at every call,
// so the decorator outlives the Modules it serves and unloading closes what it opened.
#pragma once

#include <atomic>
#include <functional>
#include <set>
#include <string>

#include "platform/byte_port.h"
#include "platform/registry.h"

namespace quibra::testing {

class FaultPort final : public platform::BytePort {
 public:
  enum class Op { OpenSerial, Write, Read };

  // The nth call (1 = next) of op fails; with for_good every call after it too.
  void fail(Op op, int nth, bool for_good = false) {
    op_ = op;
    remaining_ = nth;
    for_good_ = for_good;
  }
  // Device files numbered here open (with handle value 100 + number); none by default. With
  // usb_path set, an opened device file is that path (a pty) behind the inner port.
  std::set<int> usb_files;
  std::string usb_path;
  bool supports_usb = true;
  bool keep_output_on_purge = false;
  std::atomic<int> usb_opens{0};
  std::atomic<int> usb_resets{0};
  std::atomic<int> closes{0};
  // Called on the writing thread with every write, before it is passed on.
  std::function<void(const uint8_t*, size_t)> on_write;

  int32_t open_serial(const char* name) override {
    return failing(Op::OpenSerial) ? 0 : inner().open_serial(name);
  }
  int32_t open_usb_device(int number) override {
    ++usb_opens;
    if (usb_files.count(number) == 0) return 0;
    if (!usb_path.empty() && inner().open_serial(usb_path.c_str()) == 0) return 0;
    return 100 + number;
  }
  bool open_driver_kit(uint32_t) override { return false; }
  bool configure_line(uint32_t baud, int parity, int stop_bits) override {
    return inner().configure_line(baud, parity, stop_bits);
  }
  bool set_read_timeout(uint32_t ms) override { return inner().set_read_timeout(ms); }
  bool write(const uint8_t* bytes, size_t count) override {
    if (on_write) on_write(bytes, count);
    return failing(Op::Write) ? false : inner().write(bytes, count);
  }
  platform::PortReadResult read(uint8_t* buffer, size_t count) override {
    if (failing(Op::Read)) return {false, 0, 5};
    return inner().read(buffer, count);
  }
  void purge_receive() override { inner().purge_receive(); }
  // A pty has no transmitter: what the library wrote waits in the far end's input until the
  // test reads it, and purging the output would discard it there. A real line has sent it long
  // before the purge, so the stand-in for the wire keeps it.
  void purge_transmit() override {
    if (!keep_output_on_purge) inner().purge_transmit();
  }
  bool reset_usb_adapter() override {
    ++usb_resets;
    return true;
  }
  void close() override {
    ++closes;
    inner().close();
  }
  bool system_supports_usb_adapter() override { return supports_usb; }

 private:
  bool failing(Op op) {
    if (op != op_ || remaining_ <= 0) return false;
    if (--remaining_ == 0) {
      if (for_good_) remaining_ = 1;
      return true;
    }
    return false;
  }

  static platform::BytePort& inner() { return platform::system_byte_port(); }

  std::atomic<Op> op_{Op::OpenSerial};
  std::atomic<int> remaining_{0};
  std::atomic<bool> for_good_{false};
};

}  // namespace quibra::testing
