// The communication thread's side of the IrDA socket transport: sending a message in its short
// form, waiting for the receive thread to bring its answer, and checking and storing it.
#include <algorithm>

#include "frame/module.h"
#include "frame/state_flags.h"
#include "platform/registry.h"
#include "protocol/catalogue.h"
#include "protocol/engine.h"
#include "protocol/irda_link.h"
#include "protocol/logo_layout.h"
#include "protocol/message_ids.h"
#include "protocol/message_image.h"
#include "protocol/raw_memory.h"

namespace quibra::protocol {
namespace {

using frame::GetStateFlag;
using frame::SetStateFlag;

constexpr uint32_t kAfterSendMs = 10;
constexpr int kAnswerRounds = 400;
constexpr uint32_t kAnswerRoundMs = 5;
// The largest short form: a direct memory write of a whole scratch.
constexpr size_t kMaxSendBytes = 512;
constexpr int32_t kStatusRefused = 30;
constexpr int32_t kTriesAfterAnswer = 5;

// The message that expects no answer on IrDA either.
// Requests that name a sub-image in their second byte, which the answer repeats.
constexpr int32_t kParamEchoed[] = {9004, 9069, 9014};
// Messages whose answer is an acknowledgement: the byte after the code is 0 for success.
constexpr int32_t kAcknowledged[] = {9001, 9003, 9005, 9007, 9012, 9013, 9015, 9017, 9019, 9035,
                                     9040, 9042, 9044, 9047, 9049, 9050, 9052, 9055, 9068};
// Unit types whose 9006 answer is a byte shorter than the catalogue's minimum.
constexpr int32_t kShortExerciseAnswerTypes[] = {23, 12, 11, 13};
constexpr int32_t kShortExerciseAnswerType22Variant = 2;

template <size_t N>
bool OneOf(int32_t id, const int32_t (&ids)[N]) {
  return std::find(std::begin(ids), std::end(ids), id) != std::end(ids);
}

bool Flag(frame::StateFlag f) {
  return GetStateFlag(f) != 0;
}

bool IsFileRequest(int32_t id) {
  return id == msg::kExerciseMemory || id == msg::kSingleFile;
}

int32_t SendLength(int32_t id, int32_t param) {
  if (id == msg::kLogoWrite) return LogoLength(param);
  if (id == msg::kBlockWriteLead && param == kVariableArea)
    return module().raw_memory.area50_count + 4;
  return GetMessageLength(id, param, kFieldIrdaSend);
}

int32_t MinimumAnswer(int32_t id, int32_t param) {
  int32_t least = GetMessageLength(id, param, kFieldIrdaAnswer);
  if (id == msg::kUserSettingsRead) {
    const int32_t type = module().unit.type;
    if ((type == 22 && module().unit.variant == kShortExerciseAnswerType22Variant) ||
        OneOf(type, kShortExerciseAnswerTypes)) {
      --least;
    }
  }
  return least;
}

// Waits for the receive thread's block and judges it. true when accepted.
bool WaitForAnswer(int32_t id, int32_t param) {
  IrdaLink& l = module().irda;
  platform::Clock& clock = platform::clock();
  const int32_t least = MinimumAnswer(id, param);
  const auto code = static_cast<uint8_t>(GetMessageLength(id, param, kFieldCode));
  bool accepted = false;
  bool aborted = false;
  for (int round = 0; round < kAnswerRounds; ++round) {
    if (Flag(frame::kFlagIrdaReserved)) {
      aborted = true;
      break;
    }
    if (Flag(frame::kFlagIrdaDataReceived)) {
      const int32_t count = l.received;
      accepted = count >= least && count >= 1 && l.answer[1] == code &&
                 (!OneOf(id, kParamEchoed) || (count >= 2 && l.answer[2] == param));
      if (accepted) break;
    }
    clock.sleep_ms(kAnswerRoundMs);
  }
  SetStateFlag(frame::kFlagAnswerPending, 0);
  if (aborted) {
    SetStateFlag(frame::kFlagSendPending, 0);
    return false;
  }
  if (!accepted) {
    SetStateFlag(frame::kFlagIrdaDataReceived, 0);
    SetStateFlag(frame::kFlagSendPending, 1);
    return false;
  }
  SetStateFlag(frame::kFlagSendPending, 0);
  SetStateFlag(frame::kFlagIrdaDataReceived, 1);
  return true;
}

// Stores an accepted answer; false when its content refuses it.
bool StoreAnswer(int32_t id, int32_t param) {
  IrdaLink& l = module().irda;
  const int32_t count = l.received;
  const uint8_t* answer = l.answer.data() + 1;
  MessageStatuses& statuses = module().statuses;
  if (IsFileRequest(id)) {
    const int32_t status = module().file_packets.store_irda_packet(id, answer, count);
    if (status == 0) return false;
    statuses.set(id, status);
    return true;
  }
  if (OneOf(id, kAcknowledged) && (count < 2 || answer[1] != 0)) return false;
  StoreIrdaAnswer(id, param, answer, static_cast<size_t>(count));
  if (id == msg::kIdentify && !RecogniseUnitType()) return false;
  statuses.set(id, kStatusCompleted);
  return true;
}

}  // namespace

int32_t IrdaSendStep(Engine& e) {
  SetStateFlag(frame::kFlagAnswerPending, 0);
  SetStateFlag(frame::kFlagIrdaDataReceived, 0);
  if (!Flag(frame::kFlagSendPending)) return 0;
  e.idle_cycles = 0;
  const int32_t id = e.message;
  const int32_t param = e.param;
  uint8_t bytes[kMaxSendBytes];
  const auto length =
      static_cast<size_t>(std::clamp(SendLength(id, param), 0, static_cast<int32_t>(sizeof bytes)));
  IrdaRequestBytes(id, param, bytes, length);
  module().trace.bytes("irda", frame::TraceDirection::Sent, bytes, length);
  const int32_t error = platform::irda_sockets().send(module().irda.socket, bytes, length);
  if (error != 0) {
    module().trace.event("send irda failed, socket error %d", error);
    return MapIrdaError(error);
  }
  SetStateFlag(frame::kFlagSendPending, 0);
  // The acknowledgement of the last packet of a file completes the download and has no answer,
  // as on the serial line.
  const bool completed = e.completion_after_send.exchange(false);
  if (completed) {
    module().statuses.set(msg::kCollectiveStatus, kStatusCompleted);
    e.answer_class = kAnswerExpected;
  }
  if (id != msg::kWatchMode && !completed) SetStateFlag(frame::kFlagAnswerPending, 1);
  platform::clock().sleep_ms(kAfterSendMs);
  return 0;
}

IrdaReceiveResult IrdaReceiveStep(Engine& e) {
  if (!Flag(frame::kFlagAnswerPending) && !Flag(frame::kFlagIrdaDataReceived)) {
    return IrdaReceiveResult::Nothing;
  }
  const int32_t id = e.message;
  const int32_t param = e.param;
  SetStateFlag(frame::kFlagSendPending, 0);
  MessageStatuses& statuses = module().statuses;
  statuses.set(id, kStatusWaiting);
  if (WaitForAnswer(id, param) && StoreAnswer(id, param)) {
    e.tries = kTriesAfterAnswer;
    return IrdaReceiveResult::Stored;
  }
  // A refused acknowledgement or content leaves a status that is not 10, so that the message
  // is sent again while tries remain.
  statuses.set(id, kStatusRefused);
  ++e.errors[kNoAnswer];
  return IrdaReceiveResult::Failed;
}

void IrdaKeepAlive() {
  const int32_t error = platform::irda_sockets().send(module().irda.socket, nullptr, 0);
  if (error != 0) MapIrdaError(error);
}

}  // namespace quibra::protocol
