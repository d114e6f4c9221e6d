// posix backend of the wireless-link library: dlopen of libOrvekKelvo.so (or the file named by
// QUIBRA_KELVO_LIBRARY) and dlsym of the entries OrvekKelvo_<ordinal>.
#include <dlfcn.h>

#include <cstdlib>
#include <string>

#include "platform/link_library_entries.h"

namespace quibra::platform {
namespace {

struct CConvention {
  template <typename R, typename... A>
  using Fn = R (*)(A...);
};

class PosixLinkLibrary final : public LinkLibraryEntries<CConvention> {
 public:
  // The entries die with the handle; nothing may call them after this.
  ~PosixLinkLibrary() override {
    if (handle_ != nullptr) dlclose(handle_);
  }

  bool load() override {
    std::lock_guard guard(lock_);
    if (handle_ != nullptr) return true;
    const char* path = std::getenv(kLinkLibraryVariable);
    void* h = dlopen(path != nullptr && path[0] != '\0' ? path : "libOrvekKelvo.so",
                     RTLD_NOW | RTLD_LOCAL);
    if (h == nullptr) return false;
    const bool all = resolve_all(
        [h](int ordinal) { return dlsym(h, ("OrvekKelvo_" + std::to_string(ordinal)).c_str()); });
    if (!all) {
      dlclose(h);
      return false;
    }
    handle_ = h;
    return true;
  }

 private:
  void* handle_ = nullptr;
};

}  // namespace

std::unique_ptr<LinkLibrary> make_system_link_library() {
  return std::make_unique<PosixLinkLibrary>();
}

}  // namespace quibra::platform
