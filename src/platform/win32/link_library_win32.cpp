// win32 backend of the wireless-link library: LoadLibrary of OrvekKelvo.dll and GetProcAddress
// by ordinal. The entries use the callee-pops convention.
#include <windows.h>

#include <mutex>

#include "platform/link_library.h"

namespace quibra::platform {
namespace {

class Win32LinkLibrary final : public LinkLibrary {
 public:
  bool load() override {
    std::lock_guard guard(lock_);
    if (module_ != nullptr) return true;
    HMODULE h = LoadLibraryA("OrvekKelvo.dll");
    if (h == nullptr) return false;
    if (resolve(h, open_, 1) && resolve(h, close_, 2) && resolve(h, pause_, 3) &&
        resolve(h, list_, 4) && resolve(h, packet_, 6) && resolve(h, relax_, 9) &&
        resolve(h, packet_ex_, 12)) {
      module_ = h;
      return true;
    }
    FreeLibrary(h);
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
  static bool resolve(HMODULE h, Fn& fn, WORD ordinal) {
    FARPROC proc = GetProcAddress(h, MAKEINTRESOURCEA(ordinal));
    fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(proc));
    return fn != nullptr;
  }

  std::mutex lock_;
  HMODULE module_ = nullptr;
  int32_t(__stdcall* open_)(uint8_t, int32_t) = nullptr;
  void(__stdcall* close_)() = nullptr;
  void(__stdcall* pause_)() = nullptr;
  uint8_t(__stdcall* list_)(int32_t*) = nullptr;
  uint8_t(__stdcall* packet_)(int32_t, uint8_t*) = nullptr;
  uint8_t(__stdcall* relax_)(int32_t, int32_t) = nullptr;
  uint8_t(__stdcall* packet_ex_)(int32_t, uint8_t*) = nullptr;
};

}  // namespace

LinkLibrary& system_link_library() {
  static Win32LinkLibrary library;
  return library;
}

}  // namespace quibra::platform
