// posix backend of the wireless-link library: dlopen of libOrvekKelvo.so (or the file named by
// QUIBRA_KELVO_LIBRARY) and dlsym of the entries OrvekKelvo_<ordinal>.
#include <dlfcn.h>

#include <cstdlib>
#include <mutex>

#include "platform/link_library.h"

namespace quibra::platform {
namespace {

class PosixLinkLibrary final : public LinkLibrary {
 public:
  bool load() override {
    std::lock_guard guard(lock_);
    if (handle_ != nullptr) return true;
    const char* path = std::getenv(kLinkLibraryVariable);
    void* h = dlopen(path != nullptr && path[0] != '\0' ? path : "libOrvekKelvo.so",
                     RTLD_NOW | RTLD_LOCAL);
    if (h == nullptr) return false;
    if (resolve(h, open_, "OrvekKelvo_1") && resolve(h, close_, "OrvekKelvo_2") &&
        resolve(h, pause_, "OrvekKelvo_3") && resolve(h, list_, "OrvekKelvo_4") &&
        resolve(h, packet_, "OrvekKelvo_6") && resolve(h, relax_, "OrvekKelvo_9") &&
        resolve(h, packet_ex_, "OrvekKelvo_12")) {
      handle_ = h;
      return true;
    }
    dlclose(h);
    return false;
  }
  int32_t open(uint8_t link_type, int32_t value) override { return open_(link_type, value); }
  uint8_t list_devices(int32_t* slots) override { return list_(slots); }
  uint8_t packet(int32_t device, uint8_t* buffer) override { return packet_(device, buffer); }
  uint8_t packet_extended(int32_t device, uint8_t* buffer) override {
    return packet_ex_(device, buffer);
  }
  uint8_t relax(int32_t a, int32_t b) override { return relax_(a, b); }
  void close() override { close_(); }
  void pause() override { pause_(); }

 private:
  template <typename Fn>
  static bool resolve(void* h, Fn& fn, const char* name) {
    fn = reinterpret_cast<Fn>(dlsym(h, name));
    return fn != nullptr;
  }

  std::mutex lock_;
  void* handle_ = nullptr;
  int32_t (*open_)(uint8_t, int32_t) = nullptr;
  void (*close_)() = nullptr;
  void (*pause_)() = nullptr;
  uint8_t (*list_)(int32_t*) = nullptr;
  uint8_t (*packet_)(int32_t, uint8_t*) = nullptr;
  uint8_t (*relax_)(int32_t, int32_t) = nullptr;
  uint8_t (*packet_ex_)(int32_t, uint8_t*) = nullptr;
};

}  // namespace

LinkLibrary& system_link_library() {
  static PosixLinkLibrary library;
  return library;
}

}  // namespace quibra::platform
