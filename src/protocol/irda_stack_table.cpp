#include "protocol/irda_stack_table.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "platform/registry.h"

namespace quibra::protocol {
namespace {

constexpr size_t kLargestBlock = std::numeric_limits<int32_t>::max();

class TableIrdaSockets final : public platform::IrdaSockets {
 public:
  void set(const QuibraIrdaStack& table) {
    std::lock_guard guard(lock_);
    table_ = table;
  }

  int32_t startup() override {
    const QuibraIrdaStack t = table();
    return t.Startup(t.Context);
  }
  void cleanup() override {
    const QuibraIrdaStack t = table();
    t.Cleanup(t.Context);
  }
  int32_t open_stream(int32_t& handle) override {
    const QuibraIrdaStack t = table();
    handle = 0;
    return t.OpenStream(t.Context, &handle);
  }
  int32_t bind_and_listen(int32_t handle, uint32_t device_id, const char* service,
                          int backlog) override {
    const QuibraIrdaStack t = table();
    return t.BindAndListen(t.Context, handle, device_id, service, backlog);
  }
  // The table binds and listens in one call: a bind is kept until the listen that completes
  // it, and a failure of either is reported by the listen.
  int32_t bind(int32_t handle, uint32_t device_id, const char* service) override {
    if (service == nullptr || std::strlen(service) >= platform::kIrdaServiceNameBytes) {
      return platform::kIrdaNotSocket;
    }
    std::lock_guard guard(lock_);
    bound_[handle] = {device_id, service};
    return 0;
  }
  int32_t listen(int32_t handle, int backlog) override {
    std::pair<uint32_t, std::string> address;
    {
      std::lock_guard guard(lock_);
      const auto it = bound_.find(handle);
      if (it == bound_.end()) return platform::kIrdaNotSocket;
      address = it->second;
      bound_.erase(it);
    }
    return bind_and_listen(handle, address.first, address.second.c_str(), backlog);
  }
  int32_t set_option(int32_t handle, int32_t level, int32_t option, const uint8_t* value,
                     size_t size) override {
    if (size > kLargestBlock) return platform::kIrdaNotSocket;
    const QuibraIrdaStack t = table();
    return t.SetOption(t.Context, handle, level, option, value, static_cast<int32_t>(size));
  }
  int32_t accept(int32_t handle, int32_t& connected) override {
    const QuibraIrdaStack t = table();
    connected = 0;
    return t.Accept(t.Context, handle, &connected);
  }
  int32_t enumerate(int32_t handle, std::vector<platform::IrdaDevice>& devices) override {
    const QuibraIrdaStack t = table();
    std::array<QuibraIrdaDevice, platform::kIrdaMaxDevices> listed{};
    int32_t count = 0;
    devices.clear();
    const int32_t error =
        t.Enumerate(t.Context, handle, listed.data(), static_cast<int32_t>(listed.size()), &count);
    if (error != 0) return error;
    // A count beyond the room given, or a name without its terminator, is the application's
    // slip; the list stops at the room and the name at the length a device may announce.
    const auto n =
        static_cast<size_t>(std::clamp<int32_t>(count, 0, static_cast<int32_t>(listed.size())));
    for (size_t i = 0; i < n; ++i) {
      const QuibraIrdaDevice& d = listed[i];
      devices.push_back(
          {d.Id, std::string(d.Name, strnlen(d.Name, platform::kIrdaDeviceNameBytes))});
    }
    return 0;
  }
  int32_t connect(int32_t handle, uint32_t device_id, const char* service) override {
    const QuibraIrdaStack t = table();
    return t.Connect(t.Context, handle, device_id, service);
  }
  int32_t send(int32_t handle, const uint8_t* bytes, size_t count) override {
    // No block of the library comes near the limit of a 32-bit count.
    if (count > kLargestBlock) return platform::kIrdaNotSocket;
    const QuibraIrdaStack t = table();
    return t.Send(t.Context, handle, bytes, static_cast<int32_t>(count));
  }
  platform::IrdaReceived receive(int32_t handle, uint8_t* buffer, size_t capacity) override {
    const QuibraIrdaStack t = table();
    const auto room = static_cast<int32_t>(std::min(capacity, kLargestBlock));
    int32_t received = 0;
    const int32_t error = t.Receive(t.Context, handle, buffer, room, &received);
    if (error != 0) return {error, 0};
    return {0, static_cast<size_t>(std::clamp(received, 0, room))};
  }
  void close(int32_t handle) override {
    {
      std::lock_guard guard(lock_);
      bound_.erase(handle);
    }
    const QuibraIrdaStack t = table();
    t.Close(t.Context, handle);
  }

 private:
  // Each call works with the table in force when it began, so that an application replacing
  // the table never leaves a call half in the old one.
  QuibraIrdaStack table() {
    std::lock_guard guard(lock_);
    return table_;
  }

  std::mutex lock_;
  QuibraIrdaStack table_{};
  std::map<int32_t, std::pair<uint32_t, std::string>> bound_;  // sockets bound, not listening
};

bool Complete(const QuibraIrdaStack& t) {
  return t.Startup != nullptr && t.Cleanup != nullptr && t.OpenStream != nullptr &&
         t.BindAndListen != nullptr && t.Enumerate != nullptr && t.Connect != nullptr &&
         t.Send != nullptr && t.Receive != nullptr && t.Close != nullptr &&
         t.SetOption != nullptr && t.Accept != nullptr;
}

// Never destroyed: the IrDA receive thread keeps the stack it started with for its whole run,
// which may outlast the destruction of static objects at exit.
TableIrdaSockets& InstalledTable() {
  static auto* sockets = new TableIrdaSockets;
  return *sockets;
}

}  // namespace

bool InstallIrdaStack(const QuibraIrdaStack* table) {
  if (table == nullptr) {
    platform::set_irda_sockets(nullptr);
    return true;
  }
  if (!Complete(*table)) return false;
  TableIrdaSockets& sockets = InstalledTable();
  sockets.set(*table);
  platform::set_irda_sockets(&sockets);
  return true;
}

}  // namespace quibra::protocol
