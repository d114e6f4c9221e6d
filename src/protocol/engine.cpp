#include "protocol/engine.h"

#include <algorithm>
#include <mutex>

#include "codec/product_codes.h"
#include "frame/module.h"
#include "frame/state_flags.h"
#include "platform/registry.h"
#include "protocol/catalogue.h"
#include "protocol/checksum.h"
#include "protocol/irda_link.h"
#include "protocol/link_port.h"
#include "protocol/message_ids.h"
#include "protocol/message_image.h"
#include "protocol/raw_memory.h"
#include "protocol/seal.h"
#include "protocol/serial_recoding.h"

namespace quibra::protocol {
namespace {

using frame::GetStateFlag;
using frame::SetStateFlag;

// Pauses of the exchange, in milliseconds.
constexpr uint32_t kAfterWriteMs = 50;
constexpr uint32_t kSerialIdleRoundMs = 50;
constexpr uint32_t kUsbChunkMs = 10;
constexpr uint32_t kCycleMs = 500;
constexpr uint32_t kCycleConnectedMs = 50;
constexpr uint32_t kCycleFileListenMs = 100;
constexpr uint32_t kIrdaHalfPauseMs = 50;

// Idle budgets: silent rounds allowed before (and between) answer bytes.
constexpr int kSerialBudget = 10;
constexpr int kSerialBudgetListen = 120;
constexpr int kUsbBudget = 100;
constexpr int kUsbBudgetListen = 2000;
constexpr int kByteBudget = 10;  // restored by every accepted byte
constexpr int kUsbSilence = 35;

// A request goes out in at most this many bytes.
constexpr int32_t kMaxRequestBytes = 100;
// The acknowledgement image of a file packet.
constexpr int32_t kPacketAckBytes = 7;
// Answers announce their length at bytes 4 and 5, read once byte 12 is in.
constexpr int kLengthCheckByte = 12;
constexpr int32_t kMaxAnnouncedLength = 1039;
// A file packet carries at least its header and its packet number.
constexpr int32_t kMinPacketLength = 6;
constexpr int32_t kTriesAfterAnswer = 5;
// Keep-alive: 9024 goes out after this many idle cycles.
constexpr int32_t kKeepAliveCycles = 180;

// Messages whose answer is an acknowledgement: its first payload byte is 0 for success.
constexpr int32_t kAcknowledged[] = {9001, 9003, 9005, 9007, 9013, 9015, 9017, 9019, 9035, 9068};
constexpr int32_t kRawMemoryMessages[] = {9007, 9008, 9035};

// The engine's long pauses (the cycle, the wait for an answer to be ready) end at once when a
// stop is requested, so that ending the conversation or unloading never waits out a cycle.
// true when the stop cut the pause short.
bool Pause(Engine& e, uint32_t ms) {
  return platform::clock().sleep_ms_unless(ms, e.stop_wake);
}

template <size_t N>
bool OneOf(int32_t id, const int32_t (&ids)[N]) {
  return std::find(std::begin(ids), std::end(ids), id) != std::end(ids);
}

bool IsFileMessage(int32_t id) {
  return id == msg::kExerciseMemory || id == msg::kSingleFile || id == msg::kListen;
}

bool Flag(frame::StateFlag f) {
  return GetStateFlag(f) != 0;
}

bool OnUsb() {
  return Flag(frame::kFlagUsbAdapter) || Flag(frame::kFlagUsbDriverKit);
}

Engine& engine() {
  return module().engine;
}

// The current exchange is to be dropped: a cancel was raised after its message was queued.
bool Cancelled(const Engine& e) {
  return frame::CancelRaisedSince(e.cancel_mark);
}

// The code an answer to the message must carry in its byte 2.
bool CodeMatches(int32_t id, uint8_t code) {
  const int32_t expected = MessageCode(id == msg::kListen ? msg::kExerciseMemory : id);
  return code == expected || (expected == 69 && code == 4);
}

// ---- one exchange ----------------------------------------------------------------------------

struct Receiver {
  Engine& e;
  int32_t id;
  int32_t expected;
  int budget;
  int count = 0;
  bool synced = false;
  bool complete = false;

  void drop() {
    synced = false;
    count = 0;
  }

  // One byte of the answer; true when it counted as accepted.
  void take(uint8_t byte, std::array<uint8_t, kReceiveBufferSize + 1>& rx) {
    if (!synced) {
      if (byte != kAnswerStart && byte != kAnswerStart + 1) {
        --budget;
        return;
      }
      synced = true;
      count = 0;
      byte = kAnswerStart;
    }
    budget = kByteBudget;
    ++count;
    rx[static_cast<size_t>(count)] = byte;
    if (count == 2) {
      if (!CodeMatches(id, byte)) {
        drop();
        return;
      }
      module().statuses.set(msg::kCollectiveStatus, kStatusArriving);
    }
    if (count == 6 && IsFileMessage(id) && e.file_steps != nullptr) {
      // A packet's length differs from packet to packet and from the catalogue's answer
      // length: it is taken from the packet's own length bytes as soon as they are in.
      const int32_t announced = rx[4] * 256 + rx[5];
      if (announced < kMinPacketLength || announced > kMaxAnnouncedLength ||
          !e.file_steps->check_header(id, rx.data() + 1, count)) {
        drop();
        return;
      }
      expected = announced + 2;
    }
    if (count == kLengthCheckByte) {
      const int32_t announced = rx[4] * 256 + rx[5];
      if (announced < 1 || announced > kMaxAnnouncedLength) {
        drop();
        return;
      }
      expected = announced + 2;
      if (IsFileMessage(id) && e.file_steps != nullptr &&
          !e.file_steps->check_header(id, rx.data() + 1, count)) {
        drop();
        return;
      }
    }
    if (count >= expected) {
      complete = true;
    } else if (count >= kReceiveBufferSize) {
      drop();
    }
  }
};

// Waits for the answer; returns its length, 0 when none came complete.
int ReceiveAnswer(Engine& e, int32_t id, int32_t param, int budget,
                  std::array<uint8_t, kReceiveBufferSize + 1>& rx) {
  // A file packet announces its own length; until it has, no length is complete.
  const int32_t expected = IsFileMessage(id)
                               ? kReceiveBufferSize
                               : std::clamp(AnswerLength(id, param), 1, kReceiveBufferSize);
  Receiver r{e, id, expected, budget};
  platform::Clock& clock = platform::clock();
  const bool usb = OnUsb();
  int silence = kUsbSilence;
  while (!r.complete && r.budget >= 1 && !Cancelled(e)) {
    if (!usb) {
      uint8_t byte = 0;
      const platform::PortReadResult got = ReadPort(&byte, 1);
      if (!got.ok) {
        SetStateFlag(frame::kFlagStopRequest, 1);
        SetStateFlag(frame::kFlagPortReadFailed, 1);
        break;
      }
      if (got.count == 0 || (!r.synced && byte != kAnswerStart && byte != kAnswerStart + 1)) {
        ++e.errors[kIdleRounds];
        --r.budget;
        clock.sleep_ms(kSerialIdleRoundMs);
        continue;
      }
      r.take(byte, rx);
      continue;
    }
    uint8_t chunk[kUsbChunk];
    const platform::PortReadResult got = ReadPort(chunk, sizeof chunk);
    if (!got.ok) {
      ResetUsbAdapter();
      break;
    }
    for (size_t i = 0; i < got.count && !r.complete; ++i)
      r.take(chunk[i], rx);
    if (id != msg::kListen) {
      if (got.count > 0) {
        silence = kUsbSilence;
      } else if (--silence <= 0) {
        break;
      }
    }
    clock.sleep_ms(kUsbChunkMs);
  }
  return r.complete ? r.count : 0;
}

bool VerifyAndStore(Engine& e, int32_t id, int32_t param, const uint8_t* answer, int n) {
  MessageStatuses& statuses = module().statuses;
  if (Crc16Check(answer, static_cast<size_t>(n)) == 0) {
    ++e.errors[kChecksumFailures];
    statuses.set(id, kStatusChecksumFailed);
    return false;
  }
  if (IsFileMessage(id)) {
    const int32_t status = e.file_steps != nullptr ? e.file_steps->store_packet(id, answer, n) : 0;
    if (status == 0) return false;
    statuses.set(id, status);
    e.tries = kTriesAfterAnswer;
    return true;
  }
  // answer[5] is byte 6, the acknowledgement of a write.
  if (OneOf(id, kAcknowledged) && (n < 6 || answer[5] != 0)) return false;
  StoreSerialAnswer(id, param, answer, static_cast<size_t>(n));
  if (id == msg::kIdentify && !RecogniseUnitType()) return false;
  statuses.set(id, kStatusCompleted);
  e.tries = kTriesAfterAnswer;
  return true;
}

void SendStep(Engine& e) {
  if (!Flag(frame::kFlagSendPending)) return;
  if (e.answer_class == kListenOnly) {
    PurgePort();
    SetStateFlag(frame::kFlagAnswerPending, 1);
    return;
  }
  const int32_t id = e.message;
  const int32_t param = e.param;
  PurgePort();
  module().statuses.set(id, kStatusSending);

  uint8_t frame_bytes[kMaxRequestBytes];
  int32_t length = 0;
  if ((id == msg::kExerciseMemory || id == msg::kSingleFile) &&
      (param == msg::kPacketAck || param == msg::kPacketNak)) {
    length = kPacketAckBytes;
    for (int32_t i = 0; i < length; ++i)
      frame_bytes[i] = GetMessageByte(param, 1, i);
  } else if (IsFileMessage(id) && e.file_steps != nullptr &&
             (length = e.file_steps->request_frame(id, frame_bytes, kMaxRequestBytes)) > 0) {
    // The file download built the request itself.
  } else {
    length = std::clamp(GetMessageLength(id, param, kFieldLength), 0, kMaxRequestBytes);
    for (int32_t i = 0; i < length; ++i)
      frame_bytes[i] = GetMessageByte(id, param, i);
  }
  if (Flag(frame::kFlagSerialRecoding) && !OnUsb()) {
    for (int32_t i = 0; i < length; ++i)
      frame_bytes[i] = kSerialRecoding[frame_bytes[i]];
  }
  const bool written = WritePort(frame_bytes, static_cast<size_t>(length)) != 0;
  SetStateFlag(frame::kFlagSendPending, 0);
  if (e.completion_after_send.exchange(false)) {
    module().statuses.set(msg::kCollectiveStatus, kStatusCompleted);
  }
  if (OnUsb()) PurgePort();
  if (!written || Cancelled(e)) return;
  platform::clock().sleep_ms(kAfterWriteMs);
  PurgePort();
  const int32_t answer_class = e.answer_class.exchange(kAnswerExpected);
  if (answer_class == kNoAnswerExpected) return;
  SetStateFlag(frame::kFlagAnswerPending, 1);
  if (!OnUsb()) {
    const MessageRow* row = FindMessage(id);
    if (row != nullptr) Pause(e, row->wait_ms);
  }
}

void AfterAnswer(Engine& e) {
  const int32_t id = e.message;
  if (IsFileMessage(id) && e.file_steps != nullptr) e.file_steps->continue_download(id);
  if (e.answer_class == kListenOnly) return;
  const int32_t param = e.param;
  if ((id == msg::kExerciseMemory || id == msg::kSingleFile) &&
      (param == msg::kPacketAck || param == msg::kPacketNak)) {
    SetStateFlag(frame::kFlagSendPending, 1);
  }
  if (module().statuses.get(id, false) != kStatusCompleted) {
    SetStateFlag(frame::kFlagSendPending, 1);
  }
  if (Flag(frame::kFlagIrdaSockets) && id == msg::kProfileWriteFirst && !e.batch_active) {
    // On IrDA sockets the exercise set comes in two halves: fetch the second one.
    platform::clock().sleep_ms(kIrdaHalfPauseMs);
    e.message = msg::kProfileWriteSecond;
    SetStateFlag(frame::kFlagSendPending, 1);
  }
  SetStateFlag(frame::kFlagAnswerPending, 0);
}

// The receive step; true when the exchange finished with a stored answer.
bool ReceiveStep(Engine& e, std::array<uint8_t, kReceiveBufferSize + 1>& rx) {
  if (!Flag(frame::kFlagAnswerPending) || e.answer_class == kNoAnswerExpected) return false;
  rx.fill(0);
  const int32_t id = e.message;
  const int32_t param = e.param;
  int budget = 0;
  if (OnUsb()) {
    budget = id == msg::kListen ? kUsbBudgetListen : kUsbBudget;
  } else {
    budget = id == msg::kListen ? kSerialBudgetListen : kSerialBudget;
  }
  SetStateFlag(frame::kFlagSendPending, 0);
  module().statuses.set(id, kStatusWaiting);
  const int n = ReceiveAnswer(e, id, param, budget, rx);
  bool finished = false;
  if (n > 0) {
    finished = VerifyAndStore(e, id, param, rx.data() + 1, n);
  } else {
    module().statuses.set(id, kStatusNoAnswer);
    ++e.errors[kNoAnswer];
  }
  AfterAnswer(e);
  return finished;
}

bool RowSelected(const Engine& e, int row) {
  if (row <= kLastSettingsRow) return e.settings_rows[static_cast<size_t>(row)];
  return true;  // every reading row is read
}

// After each exchange; true when it queued the batch's next row.
bool BatchStep(Engine& e, bool finished) {
  MessageStatuses& statuses = module().statuses;
  if (!e.batch_active) {
    if (finished && !IsFileMessage(e.message))
      statuses.set(msg::kCollectiveStatus, kStatusCompleted);
    return false;
  }
  if (!finished) return false;
  const int first = e.batch_first;
  const int last = e.batch_last;
  int row = e.batch_row;
  if (row >= 1 && row <= kBatchRows) e.row_status[static_cast<size_t>(row)] = 1;

  int next = 0;
  for (int r = row + 1; r <= last; ++r) {
    statuses.set(msg::kCollectiveStatus,
                 r <= kLastSettingsRow ? kStatusArriving : kStatusBatchReading);
    if (r == last) {
      // The batch ends when the search reaches its last row, even when that row is about to
      // be sent.
      e.batch_active = false;
      statuses.set(msg::kCollectiveStatus, kStatusCompleted);
    }
    if (RowSelected(e, r)) {
      next = r;
      break;
    }
  }
  if (next == 0) {
    e.batch_active = false;
    statuses.set(msg::kCollectiveStatus, kStatusCompleted);
  }
  int done = 0;
  for (int r = first; r <= last; ++r)
    done += e.row_status[static_cast<size_t>(r)] == 1 ? 1 : 0;
  e.counters[kCounterProgressDone] = done;
  if (next == 0) return false;
  const BatchRow br = GetBatchRow(next);
  e.batch_row = next;
  e.message = br.message;
  e.param = br.param;
  // The images a batch sends on its own were sealed at load, for the unit type known then (no
  // 9069 for types 22 and 23 among them). Seal each row as the queue call seals a message, so
  // that what goes out always carries its own checksum; the raw memory rows are sealed when
  // their address is filled in.
  if (!OneOf(br.message, kRawMemoryMessages)) {
    SealForSending(br.message, br.param);
  }
  // The row goes out with the tries that the stored answer left (5).
  SetStateFlag(frame::kFlagSendPending, 1);
  return true;
}

void CycleEnd(Engine& e, bool finished) {
  if (Flag(frame::kFlagStopRequest)) return;
  if (BatchStep(e, finished)) return;
  SetStateFlag(frame::kFlagCancelRequest, 0);
  uint32_t pause = kCycleMs;
  if (e.message == msg::kListen) {
    pause = kCycleFileListenMs;
  } else if (Flag(frame::kFlagIrdaConnected)) {
    pause = kCycleConnectedMs;
  }
  if (Pause(e, pause)) return;
  if (!Flag(frame::kFlagKeepAlive)) return;
  if (e.idle_cycles >= kKeepAliveCycles) {
    e.idle_cycles = 0;
    QueueMessage(msg::kKeepAlive, 1, 1);
  } else {
    ++e.idle_cycles;
  }
}

// One exchange with its tries: runs the send and receive steps while a send or an answer is
// pending. true when the exchange finished with a stored answer.
template <typename Send, typename Receive>
bool RunTries(Engine& e, Send send, Receive receive) {
  bool finished = false;
  while (Flag(frame::kFlagSendPending) || Flag(frame::kFlagAnswerPending)) {
    ++e.errors[kSendAttempts];
    if (e.tries <= 0) {
      module().statuses.set(msg::kCollectiveStatus, kStatusNoAnswer);
      SetStateFlag(frame::kFlagAnswerPending, 0);
      SetStateFlag(frame::kFlagSendPending, 0);
      break;
    }
    --e.tries;
    if (finished) break;
    send(e);
    finished = receive(e);
    if (Flag(frame::kFlagStopRequest)) break;
  }
  return finished;
}

void SerialLoop(Engine& e) {
  std::array<uint8_t, kReceiveBufferSize + 1> rx{};
  while (!Flag(frame::kFlagStopRequest)) {
    const bool finished = RunTries(e, SendStep, [&rx](Engine& en) { return ReceiveStep(en, rx); });
    CycleEnd(e, finished);
  }
}

bool IrdaReceive(Engine& e) {
  const IrdaReceiveResult result = IrdaReceiveStep(e);
  if (result == IrdaReceiveResult::Nothing) return false;
  AfterAnswer(e);
  return result == IrdaReceiveResult::Stored;
}

void IrdaLoop(Engine& e) {
  IrdaLink& link = module().irda;
  while (!Flag(frame::kFlagStopRequest)) {
    if (!Flag(frame::kFlagIrdaConnected)) {
      if (ConnectIrda() == 0) SetStateFlag(frame::kFlagIrdaConnected, 1);
      Pause(e, kCycleMs);
      continue;
    }
    // A send or answer that a socket error dropped goes out again on the link as it is now;
    // each attempt takes one of the message's tries, so that it ends.
    if (link.exchange_dropped.exchange(false) && e.message != msg::kEmpty) {
      SetStateFlag(frame::kFlagSendPending, 1);
    }
    const bool finished = RunTries(
        e, [](Engine& en) { IrdaSendStep(en); }, IrdaReceive);
    CycleEnd(e, finished);
    IrdaKeepAlive();
  }
}

void MessageThread() {
  Engine& e = engine();
  // The start call has already set flags 2001 and 2000 and cleared 2004 and 2005, so that a
  // message queued right after the start is not lost.
  // On IrDA sockets the probe has started the socket library before the thread; the loop
  // connects by itself.
  if (Flag(frame::kFlagIrdaSockets)) {
    IrdaLoop(e);
  } else {
    SerialLoop(e);
  }
  SetStateFlag(frame::kFlagPortHeld, 0);
  ClosePort();
  SetStateFlag(frame::kFlagEngineRunning, 0);
}

}  // namespace

void FillRawMemoryArea(int32_t m, int32_t p) {
  Module& mod = module();
  const auto area = FindMemoryArea(mod.unit.type.load(), p);
  if (!area) return;
  Banks& banks = mod.banks;
  int at = 5;
  if (m == msg::kBlockWriteLead) {
    // The paged write is packed in its own layout (page byte at 5, address at 6 and 7, the
    // block from 8 on), so filling it in place keeps the block where the unit reads it, also
    // when a retry fills the same image again.
    banks.set_scratch(5, mod.raw_memory.leading_byte);
    at = 6;
  }
  banks.set_scratch(at, static_cast<uint8_t>(area->address & 0xFF));
  banks.set_scratch(at + 1, static_cast<uint8_t>((area->address >> 8) & 0xFF));
  const auto count = static_cast<uint8_t>(area->count & 0xFF);
  if (m == msg::kBlockRead) {
    banks.set_scratch(7, count);
  } else if (!Flag(frame::kFlagIrdaSockets)) {
    banks.set_scratch(4, count);
  }
  SealMessageImage(m, p, 0);
}

Engine::~Engine() {
  // The Module is being destroyed: its thread must be gone first (the unload step stops it; this
  // only catches a thread that an early failure left behind).
  if (thread.joinable()) thread.join();
}

void MarkBatchRowRead(int row) {
  if (row >= 1 && row <= kBatchRows) engine().read_flags[static_cast<size_t>(row)] = true;
}

bool BatchRowMarkedRead(int row) {
  return row >= 1 && row <= kBatchRows && engine().read_flags[static_cast<size_t>(row)];
}

bool RecogniseUnitType() {
  int32_t code = GetMessageByte(msg::kIdentify, 1, 6);
  if (code == 255) code = GetMessageByte(msg::kIdentify, 1, 7) << 8;
  const auto type = UnitTypeOfDeviceCode(code);
  if (!type) return false;
  Module& mod = module();
  Engine& e = mod.engine;
  mod.unit.type = *type;
  mod.unit.variant = GetMessageByte(msg::kIdentify, 1, codec::VariantByteOfType(*type)) >> 4;
  e.counters[kCounterDeviceCode] = code;
  const auto rows = SelectSettingsRows(*type, Flag(frame::kFlagIrdaSockets));
  int total = 0;
  for (size_t r = 0; r < rows.size(); ++r) {
    e.settings_rows[r] = rows[r];
    total += rows[r] ? 1 : 0;
  }
  e.counters[kCounterProgressTotal] = total;
  e.counters[kCounterProgressDone] = 0;
  return true;
}

bool IsQueueableMessage(int32_t id) {
  return id == msg::kEmpty || FindMessage(id) != nullptr ||
         FindBatchRequest(id, Flag(frame::kFlagIrdaSockets)).has_value();
}

bool EngineTakes(int32_t id) {
  return !IsFileMessage(id) || engine().file_steps != nullptr;
}

int32_t QueueMessage(int32_t m, int32_t p, int32_t start) {
  Module& mod = module();
  Engine& e = mod.engine;
  if (!EngineTakes(m)) return 0;
  if (Flag(frame::kFlagIrdaSockets) && m == msg::kProfileWrite) m = msg::kProfileWriteFirst;
  if (OneOf(m, kRawMemoryMessages)) FillRawMemoryArea(m, p);
  mod.statuses.clear_all();
  e.completion_after_send = false;
  if (IsFileMessage(m)) {
    mod.exercise_memory.allocate();
    for (auto& c : e.counters)
      c = 0;
    e.file_steps->begin(m);
  }
  e.answer_class = (m == msg::kWatchMode || m == msg::kKeepAlive) ? kNoAnswerExpected
                   : m == msg::kListen                            ? kListenOnly
                                                                  : kAnswerExpected;
  if (const auto batch = FindBatchRequest(m, Flag(frame::kFlagIrdaSockets))) {
    m = batch->first_message;
    e.batch_first = batch->first_row;
    e.batch_last = batch->last_row;
    e.batch_row = batch->first_row;
    for (int r = batch->first_row; r <= batch->last_row; ++r) {
      e.row_status[static_cast<size_t>(r)] = 0;
    }
    mod.statuses.set(msg::kCollectiveStatus, kStatusBatchStarted);
    e.batch_active = true;
  } else {
    e.batch_active = false;
  }
  if ((m < msg::kFirst || m > msg::kLast) && m != msg::kEmpty) return 0;
  // Noted before the message is, so that the engine never sees the new message with the mark
  // of the one it replaces.
  e.cancel_mark = frame::CancelRequests();
  const MessageRow* row = FindMessage(m);
  e.tries = (m == msg::kEmpty || row == nullptr) ? 0 : row->tries;
  e.message = m;
  e.param = p;
  e.idle_cycles = 0;
  if (start != 0) SetStateFlag(frame::kFlagSendPending, start);
  return 1;
}

void StartMessageThread() {
  Engine& e = engine();
  if (Flag(frame::kFlagEngineRunning)) return;
  // A thread that ended by itself is still to be joined.
  if (e.thread.joinable()) e.thread.join();
  // Mark the engine running before the thread is scheduled, so that a message queued right
  // after the start is taken.
  SetStateFlag(frame::kFlagPortHeld, 1);
  SetStateFlag(frame::kFlagEngineRunning, 1);
  SetStateFlag(frame::kFlagSendPending, 0);
  SetStateFlag(frame::kFlagAnswerPending, 0);
  e.thread = std::thread(MessageThread);
}

void RequestEngineStop(Module& mod) {
  std::lock_guard guard(mod.locks.ThreadStopLock);
  mod.flags.set(frame::kFlagCancelRequest, 1);
  mod.flags.set(frame::kFlagStopRequest, 1);
  mod.engine.stop_wake.raise();
}

void StopMessageThread(Module& mod) {
  RequestEngineStop(mod);
  JoinEngineThreads(mod);
}

void JoinEngineThreads(Module& mod) {
  std::thread& thread = mod.engine.thread;
  // A thread cannot wait for itself: called from the message thread, the stop flags alone end it.
  if (thread.joinable() && thread.get_id() != std::this_thread::get_id()) thread.join();
  JoinIrdaReceiveThread(mod);
}

}  // namespace quibra::protocol
