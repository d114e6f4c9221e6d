// An IrDA stack in the same process as the library, with simulated units in range: it stands in
// for the system's stack where the system has none, handed to the library as the table of
// fnQuibraExt_SetIrdaStack. Each device in range answers the short form of the conversation
// through a responder, normally a simulated unit. Like a real stack it carries every block on
// the air in a link frame with its check sequence (irda_frame.h) and drops a frame that fails
// the check, at the unit's end and at its own, so a bit error on the air becomes a lost frame
// that the library sends again; it delivers each answer as one block. Unlike a real stack it
// can flip a bit on the air, lose the link on request, have nobody in range, or refuse to
// start.
//
// Threads: the library's communication and receive threads call it at once; tests configure it
// and read its counters from their own thread. Every member takes the one lock.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "quibra/quibra.h"

namespace quibra::sim {

class Unit;

// The device name under which a unit of the type announces itself ("Orvek PR6" for 36), or
// "Orvek" for a type that has no name of its own.
std::string IrdaNameOfType(int32_t type);

class IrdaStack {
 public:
  // What a device answers to one short-form request; empty = no answer.
  using Responder = std::function<std::vector<uint8_t>(std::span<const uint8_t>)>;

  IrdaStack();
  // A stack with one unit in range, announced under its type's name.
  explicit IrdaStack(Unit& unit);
  IrdaStack(const IrdaStack&) = delete;
  IrdaStack& operator=(const IrdaStack&) = delete;

  // The table to install with fnQuibraExt_SetIrdaStack; its context is this stack.
  const QuibraIrdaStack& table() const { return table_; }

  // Puts a device in range (enumerated in the order added); returns its device id.
  uint32_t add_device(const std::string& name, Responder responder);
  // Puts a unit in range under its type's name; it answers in its own frames, so the faults
  // it is given that strike a frame (FlippedBit) strike it on the air.
  uint32_t add_unit(Unit& unit);
  void remove_all_devices();
  // The next send on a connected socket fails with a reset link (10054), and the connection is
  // gone until the library connects again.
  void reset_link_on_next_send();
  // Startup fails with this error (0 = starts normally).
  void fail_startup(int32_t error);
  // The next frame on the air in that direction gets a bit flipped.
  enum class Air : uint8_t { Request, Answer };
  void flip_bit_on_air(Air direction);
  // What befalls a frame on the air, asked of `air_faults` (when set) for every frame in either
  // direction: a flipped bit, the frame lost, or the link lost (the send fails with a reset
  // link, or the answer never comes and the next send fails so).
  enum class AirFault : uint8_t { None, FlipBit, LoseFrame, LoseLink };
  void set_air_faults(std::function<AirFault(Air)> air_faults);

  // The far end of a server the library runs (a phone dialling the library's service): makes a
  // socket connected to a socket listening on the service, which the library then accepts.
  // 0 and the phone's handle, or 10061 (refused) while nobody listens there. The phone sends
  // and receives on its handle with the table's Send, Receive and Close; a block sent on either
  // end arrives whole at the other, and a receive after the other end closed gives 0 bytes.
  int32_t dial(const std::string& service, int32_t& handle);
  // The same calls the library makes, for the far end's side.
  int32_t send_on(int32_t handle, std::span<const uint8_t> bytes);
  int32_t receive_on(int32_t handle, uint8_t* buffer, int32_t capacity, int32_t& received);
  void close_on(int32_t handle);
  // Service records registered, by class name, and the sockets set to 9-wire mode.
  std::vector<std::string> service_classes() const;
  int nine_wire_sockets() const;

  // What the library did: startups and cleanups, sockets open now, connects made, zero-length
  // sends, every request that reached a device, and the frames dropped for a failed check.
  int startups() const;
  int cleanups() const;
  int open_sockets() const;
  int connects() const;
  int empty_sends() const;
  std::vector<std::vector<uint8_t>> requests() const;
  int dropped_frames() const;

 private:
  // What a device sends back to a block that reached it: a link frame, or nothing.
  using FrameAnswer = std::function<std::vector<uint8_t>(std::span<const uint8_t>)>;
  uint32_t add(const std::string& name, FrameAnswer answer);

  // The calls of the table, one for each of its functions.
  int32_t startup();
  void cleanup();
  int32_t open_stream(int32_t& handle);
  int32_t bind_and_listen(int32_t handle, const char* service, int32_t backlog);
  int32_t enumerate(int32_t handle, QuibraIrdaDevice* devices, int32_t capacity, int32_t& count);
  int32_t connect(int32_t handle, uint32_t device_id, const char* service);
  int32_t send(int32_t handle, const uint8_t* bytes, int32_t count);
  int32_t receive(int32_t handle, uint8_t* buffer, int32_t capacity, int32_t& received);
  void close(int32_t handle);
  int32_t set_option(int32_t handle, int32_t level, int32_t option, const uint8_t* value,
                     int32_t size);
  int32_t accept(int32_t handle, int32_t& connected);

  struct Device {
    uint32_t id = 0;
    std::string name;
    FrameAnswer answer;
  };
  struct Socket {
    uint32_t device = 0;  // connected to this device id (0 = not connected)
    bool lost = false;    // the link was reset
    std::deque<std::vector<uint8_t>> inbox;
    std::string listening;        // the service it listens on (empty: none)
    std::deque<int32_t> backlog;  // connected sockets waiting to be accepted
    int32_t peer = 0;             // the other end of a dialled connection
    bool peer_closed = false;     // that end has closed: receives give 0 bytes
  };
  // Opens a socket under the lock.
  int32_t new_socket_locked();

  QuibraIrdaStack table_{};
  mutable std::mutex lock_;
  std::condition_variable arrived_;
  std::vector<Device> devices_;
  std::map<int32_t, Socket> sockets_;
  int32_t next_handle_ = 1;
  uint32_t next_device_ = 0x1000;
  bool reset_next_send_ = false;
  bool flip_request_ = false;
  bool flip_answer_ = false;
  std::function<AirFault(Air)> air_faults_;
  int dropped_frames_ = 0;
  int32_t startup_error_ = 0;
  int startups_ = 0;
  int cleanups_ = 0;
  int connects_ = 0;
  int empty_sends_ = 0;
  std::vector<std::vector<uint8_t>> requests_;
  std::vector<std::string> service_classes_;
  int nine_wire_ = 0;
};

}  // namespace quibra::sim
