// posix backend of the IrDA sockets: Linux no longer carries an IrDA protocol stack, so there is
// no IrDA socket to make. The socket library itself starts (there is nothing to start), and
// every socket creation reports that the address family is not supported, which the library
// passes on to its callers as it would a system's refusal.
#include "platform/irda_sockets.h"

namespace quibra::platform {
namespace {

class PosixIrdaSockets final : public IrdaSockets {
 public:
  int32_t startup() override { return 0; }
  void cleanup() override {}
  int32_t open_stream(int32_t& handle) override {
    handle = 0;
    return kIrdaAddressFamilyUnsupported;
  }
  int32_t bind_and_listen(int32_t, uint32_t, const char*, int) override { return kIrdaNotSocket; }
  int32_t bind(int32_t, uint32_t, const char*) override { return kIrdaNotSocket; }
  int32_t listen(int32_t, int) override { return kIrdaNotSocket; }
  int32_t set_option(int32_t, int32_t, int32_t, const uint8_t*, size_t) override {
    return kIrdaNotSocket;
  }
  int32_t accept(int32_t, int32_t& connected) override {
    connected = 0;
    return kIrdaNotSocket;
  }
  int32_t enumerate(int32_t, std::vector<IrdaDevice>& devices) override {
    devices.clear();
    return kIrdaNotSocket;
  }
  int32_t connect(int32_t, uint32_t, const char*) override { return kIrdaNotSocket; }
  int32_t send(int32_t, const uint8_t*, size_t) override { return kIrdaNotSocket; }
  IrdaReceived receive(int32_t, uint8_t*, size_t) override { return {kIrdaNotSocket, 0}; }
  void close(int32_t) override {}
};

}  // namespace

std::unique_ptr<IrdaSockets> make_system_irda_sockets() {
  return std::make_unique<PosixIrdaSockets>();
}

}  // namespace quibra::platform
