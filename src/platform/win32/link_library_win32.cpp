// win32 backend of the wireless-link library: LoadLibrary of OrvekKelvo.dll and GetProcAddress
// by ordinal. The entries use the callee-pops convention.
#include <windows.h>

#include "platform/link_library_entries.h"

namespace quibra::platform {
namespace {

struct StdcallConvention {
  template <typename R, typename... A>
  using Fn = R(__stdcall*)(A...);
};

class Win32LinkLibrary final : public LinkLibraryEntries<StdcallConvention> {
 public:
  // The entries die with the module; nothing may call them after this.
  ~Win32LinkLibrary() override {
    if (module_ != nullptr) FreeLibrary(module_);
  }

  bool load() override {
    std::lock_guard guard(lock_);
    if (module_ != nullptr) return true;
    HMODULE h = LoadLibraryA("OrvekKelvo.dll");
    if (h == nullptr) return false;
    const bool all = resolve_all([h](int ordinal) {
      FARPROC proc = GetProcAddress(h, MAKEINTRESOURCEA(ordinal));
      return reinterpret_cast<void*>(proc);
    });
    if (!all) {
      FreeLibrary(h);
      return false;
    }
    module_ = h;
    return true;
  }

 private:
  HMODULE module_ = nullptr;
};

}  // namespace

std::unique_ptr<LinkLibrary> make_system_link_library() {
  return std::make_unique<Win32LinkLibrary>();
}

}  // namespace quibra::platform
