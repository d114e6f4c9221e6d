// The entry table both wireless-link library backends share: the seven entries by ordinal, the
// calls forwarded to them, and resolving them all at once. A backend names the calling
// convention of the entries and how one entry is found by its ordinal.
#pragma once

#include <cstdint>
#include <mutex>

#include "platform/link_library.h"

namespace quibra::platform {

// Convention: a type with `template <typename R, typename... A> using Fn = R (*)(A...);`, with
// the calling convention of the library's entries.
template <typename Convention>
class LinkLibraryEntries : public LinkLibrary {
 public:
  int32_t open(uint8_t link_type, int32_t value) override { return open_(link_type, value); }
  uint8_t list_devices(int32_t* slots) override { return list_(slots); }
  uint8_t packet(int32_t device, uint8_t* buffer) override { return packet_(device, buffer); }
  uint8_t packet_extended(int32_t device, uint8_t* buffer) override {
    return packet_ex_(device, buffer);
  }
  uint8_t relax(int32_t a, int32_t b) override { return relax_(a, b); }
  void close() override { close_(); }
  void pause() override { pause_(); }

 protected:
  // find(ordinal) returns the entry's address or null. True when every entry was found.
  template <typename Find>
  bool resolve_all(Find&& find) {
    return resolve(open_, find(1)) && resolve(close_, find(2)) && resolve(pause_, find(3)) &&
           resolve(list_, find(4)) && resolve(packet_, find(6)) && resolve(relax_, find(9)) &&
           resolve(packet_ex_, find(12));
  }

  // Guards loading. Lock order 4 (frame/locks.h): nothing of the library is taken under it.
  std::mutex lock_;

 private:
  template <typename R, typename... A>
  using Fn = typename Convention::template Fn<R, A...>;

  template <typename Pointer>
  static bool resolve(Pointer& entry, void* address) {
    entry = reinterpret_cast<Pointer>(address);
    return entry != nullptr;
  }

  Fn<int32_t, uint8_t, int32_t> open_ = nullptr;
  Fn<void> close_ = nullptr;
  Fn<void> pause_ = nullptr;
  Fn<uint8_t, int32_t*> list_ = nullptr;
  Fn<uint8_t, int32_t, uint8_t*> packet_ = nullptr;
  Fn<uint8_t, int32_t, int32_t> relax_ = nullptr;
  Fn<uint8_t, int32_t, uint8_t*> packet_ex_ = nullptr;
};

}  // namespace quibra::platform
