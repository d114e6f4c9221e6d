// Feeds arbitrary unit answers to the code that takes them (input format in
// unit_answers_input.h): the identification answer and the unit information unpacked from it,
// the IrDA short-form answers as the engine's receive step judges and stores them (file
// packets included), the packets of the exercise downloads and file listings, and the device
// names of the IrDA stack. No thread runs: the steps are called one after another as the engine
// calls them.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "frame/lifecycle.h"
#include "frame/module.h"
#include "frame/state_flags.h"
#include "fuzz/answer_link.h"
#include "fuzz/still_clock.h"
#include "fuzz/unit_answers_input.h"
#include "platform/registry.h"
#include "protocol/file_packets.h"
#include "protocol/irda_link.h"
#include "quibra/quibra.h"
#include "transfer/engine_link.h"

namespace {

using quibra::frame::SetStateFlag;

// An IrDA stack whose devices in range bear the names of the input's pieces.
class NamingStack final : public quibra::platform::IrdaSockets {
 public:
  static constexpr int32_t kNoServer = 1;
  std::vector<quibra::platform::IrdaDevice> devices;
  int32_t startup() override { return 0; }
  void cleanup() override {}
  int32_t open_stream(int32_t& handle) override {
    handle = 1;
    return 0;
  }
  int32_t bind_and_listen(int32_t, uint32_t, const char*, int) override { return 0; }
  // The target is a client only: nothing serves here.
  int32_t bind(int32_t, uint32_t, const char*) override { return kNoServer; }
  int32_t listen(int32_t, int) override { return kNoServer; }
  int32_t set_option(int32_t, int32_t, int32_t, const uint8_t*, size_t) override {
    return kNoServer;
  }
  int32_t accept(int32_t, int32_t&) override { return kNoServer; }
  int32_t enumerate(int32_t, std::vector<quibra::platform::IrdaDevice>& found) override {
    found = devices;
    return 0;
  }
  int32_t connect(int32_t, uint32_t, const char*) override { return 0; }
  int32_t send(int32_t, const uint8_t*, size_t) override { return 0; }
  quibra::platform::IrdaReceived receive(int32_t, uint8_t*, size_t) override { return {}; }
  void close(int32_t) override {}
};

quibra::fuzz::StillClock g_clock;
quibra::fuzz::AnswerLink g_link;
NamingStack g_stack;

void Identify(quibra::fuzz::Pieces answers, bool irda) {
  g_link.reset(answers, irda);
  g_link.send(quibra::protocol::msg::kIdentify, 1);
  MonitorInfo info{};
  fnQuibra_UnPackMonitorInfo(&info);
}

// The engine's state when a message has just been queued (QueueMessage without the thread).
void Queue(int32_t id, int32_t param) {
  auto& m = quibra::module();
  m.statuses.clear_all();
  m.engine.message = id;
  m.engine.param = param;
  m.engine.answer_class = quibra::protocol::kAnswerExpected;
  for (auto& c : m.engine.counters)
    c = 0;
  m.exercise_memory.allocate();
  m.file_packets.begin(id);
}

void IrdaAnswers(quibra::fuzz::Pieces answers, int32_t id, int32_t param) {
  auto& m = quibra::module();
  Queue(id, param);
  SetStateFlag(quibra::frame::kFlagIrdaSockets, 1);
  const uint8_t* answer = nullptr;
  size_t length = 0;
  while (answers.next(answer, length)) {
    // The receive thread's block: bytes numbered from 1, zeros after them.
    m.irda.answer.fill(0);
    const size_t n = std::min<size_t>(length, m.irda.answer.size() - 1);
    std::copy(answer, answer + n, m.irda.answer.begin() + 1);
    m.irda.received = static_cast<int32_t>(n);
    SetStateFlag(quibra::frame::kFlagAnswerPending, 1);
    SetStateFlag(quibra::frame::kFlagIrdaDataReceived, 1);
    quibra::protocol::IrdaReceiveStep(m.engine);
    if (id != quibra::protocol::msg::kExerciseMemory && id != quibra::protocol::msg::kSingleFile)
      break;
    m.file_packets.continue_download(id);
  }
  SetStateFlag(quibra::frame::kFlagIrdaSockets, 0);
  if (id == quibra::protocol::msg::kIdentify) {
    MonitorInfo info{};
    fnQuibra_UnPackMonitorInfo(&info);
  }
}

// The download exports over the answering unit: the exercise memory, one file (decoded as it
// arrives), and a file's listing from its first bytes.
void Downloads(quibra::fuzz::Pieces packets, uint8_t which, uint8_t file_index) {
  g_link.reset(packets, (which & quibra::fuzz::kIrdaPackets) != 0);
  switch (which % 4) {
    case quibra::fuzz::kMemoryDownload:
      fnQuibra_ReadExercisesData(0, 0);
      break;
    case quibra::fuzz::kListenDownload:
      fnQuibra_ReadExercisesData(0, 1);
      break;
    case quibra::fuzz::kFileDownload:
      fnQuibra_ReadExerciseFile(0, file_index, 0);
      break;
    default: {
      ExeFileInfo info{};
      fnQuibra_GetExeFileInfoEx(0, file_index, &info);
      break;
    }
  }
}

void DeviceNames(quibra::fuzz::Pieces names, int32_t mode) {
  g_stack.devices.clear();
  const uint8_t* name = nullptr;
  size_t length = 0;
  while (g_stack.devices.size() < quibra::platform::kIrdaMaxDevices && names.next(name, length)) {
    g_stack.devices.push_back(
        {static_cast<uint32_t>(g_stack.devices.size() + 1),
         std::string(reinterpret_cast<const char*>(name),
                     std::min(length, quibra::platform::kIrdaDeviceNameBytes))});
  }
  fnQuibra_OrvekIrDADeviceAvailable(mode, 0);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  quibra::frame::LoadModule();
  quibra::platform::set_clock(&g_clock);
  quibra::platform::set_irda_sockets(&g_stack);
  quibra::transfer::set_transfer_link(&g_link);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr size_t kHead = 3;
  // No answer of an earlier input may be left for the library's second question.
  g_link.reset(quibra::fuzz::Pieces(), false);
  if (size < kHead) return 0;
  const quibra::fuzz::Pieces pieces(data + kHead, size - kHead);
  switch (data[0] & 3) {
    case quibra::fuzz::kIdentifyRoad:
      Identify(pieces, (data[0] & quibra::fuzz::kIrdaIdentify) != 0);
      break;
    case quibra::fuzz::kIrdaAnswerRoad:
      IrdaAnswers(pieces, quibra::fuzz::AnsweredMessage(data[1]), data[2]);
      break;
    case quibra::fuzz::kDownloadRoad:
      Downloads(pieces, data[1], data[2]);
      break;
    default:
      DeviceNames(pieces, data[1] & 1);
      break;
  }
  return 0;
}
