#include "protocol/engine_control.h"

#include "frame/module.h"
#include "frame/state_flags.h"
#include "platform/registry.h"
#include "protocol/catalogue.h"
#include "protocol/engine.h"
#include "protocol/irda_link.h"
#include "protocol/link_port.h"
#include "protocol/message_ids.h"
#include "protocol/online_thread.h"
#include "protocol/seal.h"
#include "protocol/wireless_link.h"

namespace quibra::protocol {
namespace {

using frame::GetStateFlag;
using frame::SetStateFlag;

// Flags set from the option bits, one row per bit.
struct OptionFlag {
  int32_t bit;
  frame::StateFlag flag;
};
constexpr OptionFlag kOptionFlags[] = {
    {kOptionKeepAlive, frame::kFlagKeepAlive},
    {kOptionMissedBeats, frame::kFlagMissedBeatCorrection},
    {kOptionUsb, frame::kFlagUsbAdapter},
    {kOptionIrdaSockets, frame::kFlagIrdaSockets},
    {kOptionExtraAnalysis, frame::kFlagExtraAnalysis},
    {kOptionOnline, frame::kFlagOnlineMode},
    {kOptionWireless, frame::kFlagWirelessAdapter},
};

// A conversation that starts does not inherit the end of the last one: these flags describe a
// running or failed conversation and are cleared by the reset. The IrDA receive thread's own
// flag and the socket library's (2017, 2020) stay: a receive thread of the last conversation
// may still be ending, and it alone clears them.
constexpr frame::StateFlag kConversationFlags[] = {
    frame::kFlagStopRequest,   frame::kFlagPortReadFailed, frame::kFlagPortOpenFailed,
    frame::kFlagCancelRequest, frame::kFlagIrdaConnected,  frame::kFlagIrdaDataReceived,
    frame::kFlagSendPending,   frame::kFlagAnswerPending};

constexpr uint32_t kAfterStartMs = 100;

}  // namespace

int32_t ResetIRCommunication(int32_t options) {
  if (GetStateFlag(frame::kFlagEngineRunning) != 0) return 0;
  const bool recoding = (options & (kOptionNoRecoding | kOptionUsb)) == 0;
  SetStateFlag(frame::kFlagSerialRecoding, recoding ? 1 : 0);
  for (const OptionFlag& o : kOptionFlags)
    SetStateFlag(o.flag, (options & o.bit) != 0 ? 1 : 0);
  for (frame::StateFlag f : kConversationFlags)
    SetStateFlag(f, 0);
  Engine& e = module().engine;
  e.stop_wake.clear();
  // A new conversation starts without the counters and answer class of a past download.
  for (auto& c : e.counters)
    c = 0;
  e.answer_class = kAnswerExpected;
  e.completion_after_send = false;
  return 1;
}

int32_t StartIRCommunication(int32_t options, const char* port) {
  // The receive thread of the IrDA conversation before may still be ending; it closes the
  // sockets as it goes, so a new conversation waits for it rather than lose its own.
  if ((options & kOptionIrdaSockets) != 0 && GetStateFlag(frame::kFlagEngineRunning) == 0) {
    FinishEndingIrdaReceiveThread();
  }
  if (ResetIRCommunication(options) == 0) return 0;
  if (OpenPort(port) == 0) return 0;
  ConfigurePort(kSerialBaud, kSerialParity, kSerialStopBits);
  // Online mode streams beats over the port: the online thread runs instead of the message
  // thread. IrDA sockets carry no beat stream; online mode there is refused.
  if (GetStateFlag(frame::kFlagOnlineMode) != 0) {
    if (GetStateFlag(frame::kFlagIrdaSockets) != 0) {
      ClosePort();
      return 0;
    }
    StartOnlineThread();
    platform::clock().sleep_ms(kAfterStartMs);
    return 1;
  }
  StartMessageThread();
  int32_t result = 1;
  if (GetStateFlag(frame::kFlagIrdaSockets) != 0) result = StartIrdaReceiveThread();
  if (result != 0) platform::clock().sleep_ms(kAfterStartMs);
  return result;
}

int32_t EndIRCommunication() {
  Module& mod = module();
  RequestEngineStop(mod);
  // The threads end by themselves within a pause; End waits for them, so that a program that
  // returns from main right after it leaves no thread running while its statics are destroyed.
  // The online thread polls the wireless link until it ends: the link is closed after it.
  JoinEngineThreads(mod);
  EndWirelessLink();
  return 1;
}

int32_t SendIRComMessage(int32_t id, int32_t param) {
  // Only a message of the catalogue, a batch request or the empty message can be queued: any
  // other id would sit as the current message with nothing sent and no status ever final.
  if (!IsQueueableMessage(id)) return 0;
  SealForSending(id, param);
  if (GetStateFlag(frame::kFlagEngineRunning) == 0) return 0;
  // A message the engine cannot take is refused here rather than left for a caller to poll
  // forever.
  if (!EngineTakes(id)) return 0;
  QueueMessage(id, param, 1);
  return 1;
}

int32_t GetCurrentMessageStatus() {
  if (GetStateFlag(frame::kFlagEngineRunning) == 0) return kStatusNoLink;
  return GetCollectiveStatus();
}

int32_t GetCollectiveStatus() {
  return module().statuses.get(msg::kCollectiveStatus, false);
}

int32_t GetComProgress() {
  const Engine& e = module().engine;
  const int32_t total = e.counters[kCounterProgressTotal];
  // Without a known size there is no progress to tell.
  if (total <= 0) return 0;
  const double done = e.counters[kCounterProgressDone];
  return static_cast<int32_t>(done / total * 100.0 + 0.5);
}

int32_t GetSCErrorData(int32_t index) {
  const Engine& e = module().engine;
  if (index >= 0 && index <= 3) return e.errors[static_cast<size_t>(index)];
  if (index == 100) return e.counters[kCounterProgressDone];
  if (index == 101) return e.counters[kCounterProgressTotal];
  return -1;
}

int32_t ResetSCErrorCTRs() {
  for (auto& c : module().engine.errors)
    c = 0;
  return 1;
}

}  // namespace quibra::protocol
