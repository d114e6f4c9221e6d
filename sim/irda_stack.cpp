#include "irda_stack.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

#include "irda_frame.h"
#include "unit.h"

namespace quibra::sim {
namespace {

struct TypeName {
  int32_t type;
  const char* name;
};
// The names the units give their IrDA stack (one per type; the older units have two spellings
// of some, and the first is used here).
constexpr TypeName kTypeNames[] = {
    {11, "Orvek K50e"}, {12, "Orvek K60e"}, {13, "Orvek K70e"},  {20, "Orvek TRK 2"},
    {21, "Orvek TRK 3"}, {22, "Orvek K55T"}, {23, "Orvek K65"},  {33, "Orvek VC6"},
    {35, "Orvek VC8"},  {36, "Orvek PR6"},  {37, "Orvek PR9"},
};
constexpr const char* kUnnamed = "Orvek";

// Socket errors as Windows Sockets numbers them, the numbering the library expects.
constexpr int32_t kInterrupted = 10004;
constexpr int32_t kNotSocket = 10038;
constexpr int32_t kConnectionReset = 10054;
constexpr int32_t kNotConnected = 10057;
constexpr int32_t kNotInitialised = 10093;
constexpr int32_t kConnectionRefused = 10061;
// The socket options of a server: its service record (whose class name fills the first 64
// bytes) and the 9-wire mode.
constexpr int32_t kOptionLevel = 255;
constexpr int32_t kOptionServiceRecord = 17;
constexpr int32_t kOptionNineWire = 22;
constexpr size_t kClassNameBytes = 64;
// A device announces at most this many characters of its name.
constexpr size_t kDeviceNameBytes = 22;
// A service name takes at most 24 characters.
constexpr size_t kServiceNameBytes = 24;

IrdaStack* Self(void* context) {
  return static_cast<IrdaStack*>(context);
}

}  // namespace

std::string IrdaNameOfType(int32_t type) {
  const auto* it = std::find_if(std::begin(kTypeNames), std::end(kTypeNames),
                                [&](const TypeName& t) { return t.type == type; });
  return it == std::end(kTypeNames) ? kUnnamed : it->name;
}

IrdaStack::IrdaStack() {
  table_.Context = this;
  table_.Startup = [](void* c) { return Self(c)->startup(); };
  table_.Cleanup = [](void* c) { Self(c)->cleanup(); };
  table_.OpenStream = [](void* c, int32_t* handle) { return Self(c)->open_stream(*handle); };
  table_.BindAndListen = [](void* c, int32_t handle, uint32_t, const char* service,
                            int32_t backlog) {
    return Self(c)->bind_and_listen(handle, service, backlog);
  };
  table_.Enumerate = [](void* c, int32_t handle, QuibraIrdaDevice* devices, int32_t capacity,
                        int32_t* count) {
    return Self(c)->enumerate(handle, devices, capacity, *count);
  };
  table_.Connect = [](void* c, int32_t handle, uint32_t device_id, const char* service) {
    return Self(c)->connect(handle, device_id, service);
  };
  table_.Send = [](void* c, int32_t handle, const uint8_t* bytes, int32_t count) {
    return Self(c)->send(handle, bytes, count);
  };
  table_.Receive = [](void* c, int32_t handle, uint8_t* buffer, int32_t capacity,
                      int32_t* received) {
    return Self(c)->receive(handle, buffer, capacity, *received);
  };
  table_.Close = [](void* c, int32_t handle) { Self(c)->close(handle); };
  table_.SetOption = [](void* c, int32_t handle, int32_t level, int32_t option,
                        const uint8_t* value, int32_t size) {
    return Self(c)->set_option(handle, level, option, value, size);
  };
  table_.Accept = [](void* c, int32_t handle, int32_t* connected) {
    return Self(c)->accept(handle, *connected);
  };
}

IrdaStack::IrdaStack(Unit& unit) : IrdaStack() {
  add_unit(unit);
}

uint32_t IrdaStack::add(const std::string& name, FrameAnswer answer) {
  std::lock_guard guard(lock_);
  const uint32_t id = next_device_++;
  devices_.push_back({id, name.substr(0, kDeviceNameBytes), std::move(answer)});
  return id;
}

uint32_t IrdaStack::add_device(const std::string& name, Responder responder) {
  return add(name, [responder = std::move(responder)](std::span<const uint8_t> request) {
    return EncodeIrdaFrame(responder(request));
  });
}

uint32_t IrdaStack::add_unit(Unit& unit) {
  return add(IrdaNameOfType(unit.type()),
             [&unit](std::span<const uint8_t> request) { return unit.answer_in_frame(request); });
}

void IrdaStack::remove_all_devices() {
  std::lock_guard guard(lock_);
  devices_.clear();
}

void IrdaStack::reset_link_on_next_send() {
  std::lock_guard guard(lock_);
  reset_next_send_ = true;
}

void IrdaStack::fail_startup(int32_t error) {
  std::lock_guard guard(lock_);
  startup_error_ = error;
}

void IrdaStack::flip_bit_on_air(Air direction) {
  std::lock_guard guard(lock_);
  (direction == Air::Request ? flip_request_ : flip_answer_) = true;
}

void IrdaStack::set_air_faults(std::function<AirFault(Air)> air_faults) {
  std::lock_guard guard(lock_);
  air_faults_ = std::move(air_faults);
}

int IrdaStack::dropped_frames() const {
  std::lock_guard guard(lock_);
  return dropped_frames_;
}

int IrdaStack::startups() const {
  std::lock_guard guard(lock_);
  return startups_;
}
int IrdaStack::cleanups() const {
  std::lock_guard guard(lock_);
  return cleanups_;
}
int IrdaStack::open_sockets() const {
  std::lock_guard guard(lock_);
  return static_cast<int>(sockets_.size());
}
int IrdaStack::connects() const {
  std::lock_guard guard(lock_);
  return connects_;
}
int IrdaStack::empty_sends() const {
  std::lock_guard guard(lock_);
  return empty_sends_;
}
std::vector<std::vector<uint8_t>> IrdaStack::requests() const {
  std::lock_guard guard(lock_);
  return requests_;
}

int32_t IrdaStack::startup() {
  std::lock_guard guard(lock_);
  if (startup_error_ != 0) return startup_error_;
  ++startups_;
  return 0;
}

void IrdaStack::cleanup() {
  std::lock_guard guard(lock_);
  ++cleanups_;
}

int32_t IrdaStack::open_stream(int32_t& handle) {
  std::lock_guard guard(lock_);
  if (startups_ <= cleanups_) return kNotInitialised;
  handle = next_handle_++;
  sockets_[handle] = Socket{};
  return 0;
}

int32_t IrdaStack::bind_and_listen(int32_t handle, const char* service, int32_t backlog) {
  std::lock_guard guard(lock_);
  const auto s = sockets_.find(handle);
  if (s == sockets_.end()) return kNotSocket;
  if (service == nullptr || std::strlen(service) > kServiceNameBytes || backlog <= 0) {
    return kNotSocket;
  }
  s->second.listening = service;
  return 0;
}

int32_t IrdaStack::enumerate(int32_t handle, QuibraIrdaDevice* devices, int32_t capacity,
                             int32_t& count) {
  std::lock_guard guard(lock_);
  count = 0;
  if (!sockets_.contains(handle)) return kNotSocket;
  for (const Device& d : devices_) {
    if (count == capacity) break;
    QuibraIrdaDevice& out = devices[count++];
    out = QuibraIrdaDevice{};
    out.Id = d.id;
    d.name.copy(out.Name, sizeof out.Name - 1);
  }
  return 0;
}

int32_t IrdaStack::connect(int32_t handle, uint32_t device_id, const char* service) {
  std::lock_guard guard(lock_);
  const auto s = sockets_.find(handle);
  if (s == sockets_.end()) return kNotSocket;
  const bool there = std::any_of(devices_.begin(), devices_.end(),
                                 [&](const Device& d) { return d.id == device_id; });
  // Units offer their conversation as the service "HRM" only.
  if (!there || service == nullptr || std::strcmp(service, "HRM") != 0) {
    return kConnectionReset;
  }
  s->second.device = device_id;
  s->second.lost = false;
  ++connects_;
  return 0;
}

int32_t IrdaStack::send(int32_t handle, const uint8_t* bytes, int32_t count) {
  FrameAnswer answer;
  std::vector<uint8_t> request;
  {
    std::lock_guard guard(lock_);
    const auto s = sockets_.find(handle);
    if (s == sockets_.end()) return kNotSocket;
    Socket& socket = s->second;
    if (socket.lost) return kConnectionReset;
    if (socket.peer != 0) {
      const auto peer = sockets_.find(socket.peer);
      if (peer == sockets_.end()) return kConnectionReset;
      if (count > 0) peer->second.inbox.emplace_back(bytes, bytes + count);
      arrived_.notify_all();
      return 0;
    }
    if (socket.device == 0) return kNotConnected;
    if (reset_next_send_) {
      reset_next_send_ = false;
      socket.lost = true;
      arrived_.notify_all();
      return kConnectionReset;
    }
    if (count <= 0) {
      ++empty_sends_;
      return 0;
    }
    const auto d = std::find_if(devices_.begin(), devices_.end(),
                                [&](const Device& dev) { return dev.id == socket.device; });
    if (d == devices_.end()) {
      // The unit went out of range.
      socket.lost = true;
      arrived_.notify_all();
      return kConnectionReset;
    }
    // The request crosses the air in a frame; the unit's end drops it when the check fails,
    // and the send has still succeeded: a lost frame is found out by the answer not coming.
    std::vector<uint8_t> frame = EncodeIrdaFrame(std::span(bytes, static_cast<size_t>(count)));
    if (std::exchange(flip_request_, false)) FlipBitInIrdaFrame(frame);
    const AirFault fault = air_faults_ ? air_faults_(Air::Request) : AirFault::None;
    if (fault == AirFault::LoseLink) {
      socket.lost = true;
      arrived_.notify_all();
      return kConnectionReset;
    }
    if (fault == AirFault::FlipBit) FlipBitInIrdaFrame(frame);
    std::optional<std::vector<uint8_t>> heard =
        fault == AirFault::LoseFrame ? std::nullopt : DecodeIrdaFrame(frame);
    if (!heard) {
      ++dropped_frames_;
      return 0;
    }
    request = std::move(*heard);
    requests_.push_back(request);
    answer = d->answer;
  }
  // The unit answers outside the lock: it may take its time, and tests read the stack meanwhile.
  std::vector<uint8_t> frame = answer(request);
  if (frame.empty()) return 0;
  std::lock_guard guard(lock_);
  if (std::exchange(flip_answer_, false)) FlipBitInIrdaFrame(frame);
  const AirFault fault = air_faults_ ? air_faults_(Air::Answer) : AirFault::None;
  if (fault == AirFault::FlipBit) FlipBitInIrdaFrame(frame);
  const auto s = sockets_.find(handle);
  if (fault == AirFault::LoseLink && s != sockets_.end()) {
    s->second.lost = true;
    arrived_.notify_all();
    return 0;
  }
  std::optional<std::vector<uint8_t>> block =
      fault == AirFault::LoseFrame ? std::nullopt : DecodeIrdaFrame(frame);
  if (!block) {
    ++dropped_frames_;
    return 0;
  }
  if (!block->empty() && s != sockets_.end() && !s->second.lost) {
    s->second.inbox.push_back(std::move(*block));
    arrived_.notify_all();
  }
  return 0;
}

int32_t IrdaStack::receive(int32_t handle, uint8_t* buffer, int32_t capacity, int32_t& received) {
  std::unique_lock guard(lock_);
  received = 0;
  for (;;) {
    const auto s = sockets_.find(handle);
    if (s == sockets_.end()) return kNotSocket;
    Socket& socket = s->second;
    if (socket.lost) return kConnectionReset;
    if (!socket.inbox.empty()) {
      std::vector<uint8_t>& block = socket.inbox.front();
      const size_t n = std::min(static_cast<size_t>(std::max(capacity, 0)), block.size());
      std::copy_n(block.begin(), n, buffer);
      // A stream socket hands out the rest of a longer block with the next receive.
      if (n < block.size()) {
        block.erase(block.begin(), block.begin() + static_cast<std::ptrdiff_t>(n));
      } else {
        socket.inbox.pop_front();
      }
      received = static_cast<int32_t>(n);
      return 0;
    }
    if (socket.peer_closed) return 0;
    arrived_.wait(guard);
  }
}

void IrdaStack::close(int32_t handle) {
  std::lock_guard guard(lock_);
  const auto s = sockets_.find(handle);
  if (s == sockets_.end()) return;
  std::vector<int32_t> gone{handle};
  // Connections nobody accepted go with the listening socket.
  gone.insert(gone.end(), s->second.backlog.begin(), s->second.backlog.end());
  for (int32_t h : gone) {
    const auto it = sockets_.find(h);
    if (it == sockets_.end()) continue;
    if (const auto peer = sockets_.find(it->second.peer); peer != sockets_.end()) {
      peer->second.peer_closed = true;
    }
    sockets_.erase(it);
  }
  arrived_.notify_all();
}

int32_t IrdaStack::set_option(int32_t handle, int32_t level, int32_t option, const uint8_t* value,
                              int32_t size) {
  std::lock_guard guard(lock_);
  if (!sockets_.contains(handle) || level != kOptionLevel || value == nullptr) return kNotSocket;
  if (option == kOptionServiceRecord && size >= static_cast<int32_t>(kClassNameBytes)) {
    const auto* name = reinterpret_cast<const char*>(value);
    service_classes_.emplace_back(name, strnlen(name, kClassNameBytes - 1));
    return 0;
  }
  if (option == kOptionNineWire && size >= 1) {
    ++nine_wire_;
    return 0;
  }
  return kNotSocket;
}

int32_t IrdaStack::accept(int32_t handle, int32_t& connected) {
  std::unique_lock guard(lock_);
  connected = 0;
  for (;;) {
    const auto s = sockets_.find(handle);
    // A listening socket closed under a waiting accept ends it, as a system's stack does.
    if (s == sockets_.end()) return kInterrupted;
    if (s->second.listening.empty()) return kNotSocket;
    if (!s->second.backlog.empty()) {
      connected = s->second.backlog.front();
      s->second.backlog.pop_front();
      return 0;
    }
    arrived_.wait(guard);
  }
}

int32_t IrdaStack::new_socket_locked() {
  const int32_t handle = next_handle_++;
  sockets_[handle] = Socket{};
  return handle;
}

int32_t IrdaStack::dial(const std::string& service, int32_t& handle) {
  std::lock_guard guard(lock_);
  handle = 0;
  const auto listener = std::find_if(sockets_.begin(), sockets_.end(),
                                     [&](const auto& s) { return s.second.listening == service; });
  if (listener == sockets_.end()) return kConnectionRefused;
  const int32_t listening = listener->first;
  const int32_t phone_end = new_socket_locked();
  const int32_t server_end = new_socket_locked();
  sockets_[phone_end].peer = server_end;
  sockets_[server_end].peer = phone_end;
  sockets_[listening].backlog.push_back(server_end);
  ++connects_;
  arrived_.notify_all();
  handle = phone_end;
  return 0;
}

int32_t IrdaStack::send_on(int32_t handle, std::span<const uint8_t> bytes) {
  return send(handle, bytes.data(), static_cast<int32_t>(bytes.size()));
}

int32_t IrdaStack::receive_on(int32_t handle, uint8_t* buffer, int32_t capacity,
                              int32_t& received) {
  return receive(handle, buffer, capacity, received);
}

void IrdaStack::close_on(int32_t handle) {
  close(handle);
}

std::vector<std::string> IrdaStack::service_classes() const {
  std::lock_guard guard(lock_);
  return service_classes_;
}

int IrdaStack::nine_wire_sockets() const {
  std::lock_guard guard(lock_);
  return nine_wire_;
}

}  // namespace quibra::sim
