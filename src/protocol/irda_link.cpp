#include "protocol/irda_link.h"

#include <algorithm>
#include <vector>

#include "frame/module.h"
#include "frame/state_flags.h"
#include "platform/registry.h"

namespace quibra::protocol {
namespace {

using frame::GetStateFlag;
using frame::SetStateFlag;

constexpr int kProbeBacklog = 2;
constexpr uint32_t kReceiveRoundMs = 5;
// After the stop request the receive thread lingers this long before it closes the link.
constexpr uint32_t kReceiveEndMs = 1000;

IrdaLink& link() {
  return module().irda;
}

// Receives while the stop flag is clear, whenever an answer is pending and the last block has
// been taken.
void ReceiveThread() {
  IrdaLink& l = link();
  platform::IrdaSockets& sockets = platform::irda_sockets();
  platform::Clock& clock = platform::clock();
  l.empty_receives = 0;
  l.last_receive = 0;
  l.last_error = 0;
  while (GetStateFlag(frame::kFlagStopRequest) == 0) {
    if (GetStateFlag(frame::kFlagAnswerPending) != 0 &&
        GetStateFlag(frame::kFlagIrdaDataReceived) == 0) {
      l.receive.fill(0);
      l.answer.fill(0);
      const platform::IrdaReceived got =
          sockets.receive(l.socket, l.receive.data(), static_cast<size_t>(kIrdaReceiveBytes));
      frame::Trace& trace = module().trace;
      trace.bytes("irda", frame::TraceDirection::Received, l.receive.data(), got.count);
      if (got.error != 0) {
        trace.event("receive irda failed, socket error %d", got.error);
        l.last_receive = -1;
        l.last_error = got.error;
        MapIrdaError(got.error);
      } else if (got.count > 0) {
        // Numbers 1..1023: a block of the full 1024 bytes loses its last one.
        const size_t kept = std::min(got.count, l.answer.size() - 1);
        std::copy_n(l.receive.begin(), kept, l.answer.begin() + 1);
        l.received = static_cast<int32_t>(kept);
        l.last_receive = static_cast<int32_t>(got.count);
        l.empty_receives = 0;
        SetStateFlag(frame::kFlagIrdaDataReceived, 1);
      } else {
        l.last_receive = 0;
        ++l.empty_receives;
      }
      SetStateFlag(frame::kFlagAnswerPending, 0);
    }
    clock.sleep_ms(kReceiveRoundMs);
  }
  clock.sleep_ms(kReceiveEndMs);
  CloseIrda();
  SetStateFlag(frame::kFlagIrdaReceiveRunning, 0);
}

}  // namespace

IrdaLink::~IrdaLink() {
  if (receive_thread.joinable()) receive_thread.join();
}

int32_t ProbeIrda() {
  platform::IrdaSockets& sockets = platform::irda_sockets();
  if (const int32_t error = sockets.startup(); error != 0) return error;
  int32_t probe = 0;
  int32_t error = sockets.open_stream(probe);
  if (error == 0) {
    error = sockets.bind_and_listen(probe, 0, kIrdaProbeService, kProbeBacklog);
    sockets.close(probe);
  }
  if (error != 0) {
    // Nothing is left started behind a refused probe.
    sockets.cleanup();
    return error;
  }
  std::lock_guard guard(link().close_lock);
  SetStateFlag(frame::kFlagIrdaListening, 1);
  return 0;
}

int32_t ConnectIrda() {
  platform::IrdaSockets& sockets = platform::irda_sockets();
  IrdaLink& l = link();
  // Each attempt makes a new socket; the one of a lost link or a failed attempt goes first.
  if (const int32_t old = l.socket.exchange(0); old != 0) sockets.close(old);
  int32_t s = 0;
  if (const int32_t error = sockets.open_stream(s); error != 0) return error;
  l.socket = s;
  std::vector<platform::IrdaDevice> devices;
  if (const int32_t error = sockets.enumerate(s, devices); error != 0) return error;
  if (devices.empty()) return kIrdaNoDevice;
  const int32_t error = sockets.connect(s, devices.front().id, kIrdaUnitService);
  module().trace.event("connect irda %s, socket error %d", devices.front().name.c_str(), error);
  return error;
}

void CloseIrda() {
  IrdaLink& l = link();
  std::lock_guard guard(l.close_lock);
  if (GetStateFlag(frame::kFlagIrdaListening) == 0) return;
  SetStateFlag(frame::kFlagIrdaListening, 0);
  platform::IrdaSockets& sockets = platform::irda_sockets();
  if (const int32_t s = l.socket.exchange(0); s != 0) sockets.close(s);
  sockets.cleanup();
  module().trace.event("close irda");
}

int32_t MapIrdaError(int32_t error) {
  IrdaLink& l = link();
  l.last_error = error;
  if (GetStateFlag(frame::kFlagSendPending) != 0 || GetStateFlag(frame::kFlagAnswerPending) != 0) {
    l.exchange_dropped = true;
  }
  SetStateFlag(frame::kFlagAnswerPending, 0);
  SetStateFlag(frame::kFlagSendPending, 0);
  if (error == platform::kIrdaConnectionAborted || error == platform::kIrdaConnectionReset) {
    SetStateFlag(frame::kFlagIrdaConnected, 0);
  }
  return error;
}

int32_t StartIrdaReceiveThread() {
  if (GetStateFlag(frame::kFlagIrdaReceiveRunning) != 0) return 1;
  IrdaLink& l = link();
  // A thread that ended by itself is still to be joined.
  if (l.receive_thread.joinable()) l.receive_thread.join();
  SetStateFlag(frame::kFlagIrdaReceiveRunning, 1);
  SetStateFlag(frame::kFlagIrdaDataReceived, 0);
  l.exchange_dropped = false;
  l.receive_thread = std::thread(ReceiveThread);
  return 1;
}

void FinishEndingIrdaReceiveThread() {
  if (GetStateFlag(frame::kFlagStopRequest) != 0) JoinIrdaReceiveThread(module());
}

void JoinIrdaReceiveThread(Module& mod) {
  std::thread& thread = mod.irda.receive_thread;
  if (thread.joinable() && thread.get_id() != std::this_thread::get_id()) thread.join();
}

}  // namespace quibra::protocol
