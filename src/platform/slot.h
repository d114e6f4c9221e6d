// One replaceable service of a registry: a replacement that a test or tool installed (not
// owned; it must outlive its use), or else the system's own. Lock-free, so any thread may ask
// at any time; installing is meant for moments when no library thread is using the service.
#pragma once

#include <atomic>

namespace quibra::platform {

template <typename Service>
class Slot {
 public:
  // The replacement when one is installed, else system(): a function returning the system's
  // service, called only when it is needed (some are the Module's, reached through module()).
  template <typename System>
  Service& get(System&& system) const {
    Service* replacement = replacement_.load(std::memory_order_acquire);
    return replacement != nullptr ? *replacement : system();
  }

  // Installs a replacement, or with nullptr returns to the system's.
  void set(Service* replacement) { replacement_.store(replacement, std::memory_order_release); }

 private:
  std::atomic<Service*> replacement_{nullptr};
};

}  // namespace quibra::platform
