// The IrDA socket transport: units reached through the system's IrDA stack, which frames and
// checks what it carries, so that messages travel in their short form (code and payload). One
// module socket is connected to the unit's service "HRM"; the communication thread sends on it,
// and a receive thread of its own takes the answers. The two meet through flags 2004 (send),
// 2005 (answer pending) and 2018 (a block has arrived) and the answer buffer: the receive thread
// fills the buffer only while 2018 is clear, the communication thread reads it only once 2018
// is set.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

namespace quibra {
struct Module;
}

namespace quibra::protocol {

struct Engine;

// Received blocks: up to this many bytes in one receive.
inline constexpr int kIrdaReceiveBytes = 1024;
// The answer buffer holds bytes numbered 1..1023 (number 1 is the code).
inline constexpr int kIrdaAnswerBytes = 1024;
inline constexpr const char* kIrdaUnitService = "HRM";
inline constexpr const char* kIrdaProbeService = "SampleIrDAService";
// What the connect step reports when no device is in range.
inline constexpr int32_t kIrdaNoDevice = -1;

struct IrdaLink {
  IrdaLink() = default;
  IrdaLink(const IrdaLink&) = delete;
  IrdaLink& operator=(const IrdaLink&) = delete;
  // The unload step has stopped the thread; this only joins one that ended by itself.
  ~IrdaLink();

  std::atomic<int32_t> socket{0};  // the module socket, 0 when none
  std::array<uint8_t, kIrdaReceiveBytes + 2> receive{};
  std::array<uint8_t, kIrdaAnswerBytes> answer{};  // index = byte number
  std::atomic<int32_t> received{0};
  std::atomic<int32_t> empty_receives{0};
  std::atomic<int32_t> last_receive{0};
  std::atomic<int32_t> last_error{0};
  // An exchange the error mapping dropped (its send or answer): the engine sends the message
  // again once the link is there, so that its tries run out rather than leave it unfinished.
  std::atomic<bool> exchange_dropped{false};
  // Guards flag 2020 and the socket library's end, which both threads may reach. Lock order 4
  // (frame/locks.h): only the state-flag lock is taken under it.
  std::mutex close_lock;
  std::thread receive_thread;
};

// The port-open step on IrDA: starts the socket library and makes, binds and closes a listening
// probe socket. 0, or the failing step's socket error (the socket library stays started and
// flag 2020 is set only on success).
int32_t ProbeIrda();
// Makes a new module socket and connects it to the first device in range. 0 when connected,
// kIrdaNoDevice when none is in range, else the socket error.
int32_t ConnectIrda();
// The close step: with flag 2020 set, clears it, closes the module socket and ends the socket
// library's use.
void CloseIrda();
// Takes a socket error: clears flags 2004 and 2005 (and 2016 when the link was lost). Returns
// the error.
int32_t MapIrdaError(int32_t error);

// Starts the receive thread unless one runs (flag 2017). 1 when it runs.
int32_t StartIrdaReceiveThread();
// Waits for a receive thread whose conversation has ended (stop flag set) to finish.
void FinishEndingIrdaReceiveThread();
// Waits for the receive thread to end (unload, tests); the stop flag must be set.
void JoinIrdaReceiveThread(Module& mod);

// The communication thread's steps on IrDA.
// Sends the current message when flag 2004 is set. 0 or the socket error.
int32_t IrdaSendStep(Engine& e);
enum class IrdaReceiveResult { Nothing, Stored, Failed };
// Waits for and stores the answer when one is pending.
IrdaReceiveResult IrdaReceiveStep(Engine& e);
// The zero-length send of every idle cycle, which notices a lost link.
void IrdaKeepAlive();

// fnQuibra_OrvekIrDADeviceAvailable.
int32_t OrvekIrDADeviceAvailable(int32_t mode, int32_t reserved);

}  // namespace quibra::protocol
