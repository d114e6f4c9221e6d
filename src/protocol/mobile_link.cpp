#include "protocol/mobile_link.h"

#include <array>
#include <cstring>
#include <vector>

#include "codec/product_codes.h"
#include "frame/module.h"
#include "platform/registry.h"

namespace quibra::protocol {
namespace {

constexpr int kListenBacklog = 2;
constexpr uint32_t kAnyDevice = 0;
// The unit type is kept in exercise parameter 5.
constexpr int32_t kTypeParam = 5;
constexpr uint32_t kBlockPauseMs = 100;
// The memory length follows 52 bytes and the family's own 30 (outdoor units) or 26 bytes.
constexpr int32_t kOutdoorHeader = 52 + 30;
constexpr int32_t kOtherHeader = 52 + 26;
// The service record passed with the option, zero-filled beyond its fields.
constexpr size_t kServiceRecordBytes = 1381;
constexpr uint32_t kNineWireOn = 1;

MobileLink& link() {
  return module().mobile;
}

std::vector<uint8_t> IrcommServiceRecord() {
  std::vector<uint8_t> record(kServiceRecordBytes, 0);
  std::memcpy(&record[platform::kIasClassNameAt], kIrcommClass, std::strlen(kIrcommClass));
  std::memcpy(&record[platform::kIasAttributeNameAt], kIrcommAttribute,
              std::strlen(kIrcommAttribute));
  for (size_t i = 0; i < 4; ++i) {
    record[platform::kIasAttributeTypeAt + i] =
        static_cast<uint8_t>(platform::kIasOctetSequence >> (8 * i));
  }
  record[platform::kIasOctetsLengthAt] = sizeof kIrcommParameters;
  std::memcpy(&record[platform::kIasOctetsAt], kIrcommParameters, sizeof kIrcommParameters);
  return record;
}

// Takes the connection the thread accepted, unless the sockets were closed meanwhile: then the
// connection is closed at once, so that nothing stays open behind a dialog that has ended.
bool KeepConnection(int32_t connected) {
  MobileLink& l = link();
  std::lock_guard guard(l.socket_lock);
  if (l.closed) {
    platform::irda_sockets().close(connected);
    return false;
  }
  l.connected = connected;
  return true;
}

// Receives the phone's memory on the connected socket into the exercise memory buffer. False
// when the link broke or was closed before the memory was complete.
bool ReceiveMemory(int32_t socket) {
  Module& m = module();
  platform::IrdaSockets& sockets = platform::irda_sockets();
  platform::Clock& clock = platform::clock();
  std::array<uint8_t, kMobileReceiveBuffer> block{};
  std::vector<uint8_t> head;  // the first bytes, until the memory length can be read
  int32_t arrived = 0;
  int32_t end = -1;  // the memory's end (counted from 0), once known; bytes 0..end are kept
  while (end < 0 || arrived < end) {
    block.fill(0);
    const platform::IrdaReceived got = sockets.receive(socket, block.data(), kMobileBlockBytes);
    if (got.error != 0 || got.count == 0) return false;
    m.trace.bytes("ircomm", frame::TraceDirection::Received, block.data(), got.count);
    for (size_t i = 0; i < got.count && (end < 0 || arrived <= end); ++i) {
      if (!m.exercise_memory.store(arrived + 1, block[i])) return false;
      ++arrived;
      if (end >= 0) continue;
      // The first block normally holds the header whole; a phone that sends smaller blocks has
      // the length read once enough bytes are in.
      head.push_back(block[i]);
      if (head.size() < 2) continue;
      const int32_t type = codec::MonitorTypeOfProductCode(head[1]);
      const auto h = static_cast<size_t>(MobileHeaderOffset(type));
      if (head.size() < h + 3) continue;
      m.exercise_store.SetExerciseParam(0, kTypeParam, type < 0 ? 0 : type);
      end = MobileMemoryEnd(static_cast<int32_t>(h), head[h + 1], head[h + 2]);
    }
    clock.sleep_ms(kBlockPauseMs);
  }
  return m.exercise_memory.set_count(end + 1);
}

void AcceptThread(int32_t listening) {
  MobileLink& l = link();
  platform::IrdaSockets& sockets = platform::irda_sockets();
  l.received = false;
  int32_t connected = 0;
  if (sockets.accept(listening, connected) != 0) return;
  module().trace.event("ircomm: a phone connected");
  if (!KeepConnection(connected)) return;
  module().exercise_memory.allocate();
  if (!ReceiveMemory(connected)) return;
  // The acknowledgement goes out before the flag is set: the dialog closes the link as soon as
  // it sees the flag, and the phone must have its answer by then.
  const uint8_t first = module().exercise_memory.at(1);
  sockets.send(connected, &first, 1);
  l.received = true;
}

void Close(MobileLink& l) {
  std::lock_guard guard(l.socket_lock);
  l.closed = true;
  // The stack is asked for only when something is open (at unload, mostly nothing is).
  for (int32_t* s : {&l.listening, &l.connected}) {
    if (*s != 0) platform::irda_sockets().close(*s);
    *s = 0;
  }
  if (l.started) {
    l.started = false;
    platform::irda_sockets().cleanup();
  }
}

// Closing the sockets ends the thread wherever it waits (accept, receive, a pause of 100 ms).
void Finish(MobileLink& l) {
  Close(l);
  if (l.accept_thread.joinable()) l.accept_thread.join();
}

}  // namespace

MobileLink::~MobileLink() {
  Finish(*this);
}

int32_t MobileHeaderOffset(int32_t type) {
  return type == 20 || type == 21 ? kOutdoorHeader : kOtherHeader;
}

int32_t MobileMemoryEnd(int32_t header_offset, uint8_t length_low, uint8_t length_high) {
  return header_offset + length_low + (length_high & 0x7F) * 256 + 1;
}

MobileOpenResult OpenMobileServer() {
  MobileLink& l = link();
  platform::IrdaSockets& sockets = platform::irda_sockets();
  std::lock_guard guard(l.socket_lock);
  MobileOpenResult result;
  if (!l.started) {
    if (const int32_t error = sockets.startup(); error != 0) {
      result.error = error;
      return result;
    }
    l.started = true;
  }
  l.closed = false;
  result.stage = kMobileStageSocket;
  if ((result.error = sockets.open_stream(l.listening)) != 0) return result;
  result.stage = kMobileStageServiceRecord;
  const std::vector<uint8_t> record = IrcommServiceRecord();
  result.error =
      sockets.set_option(l.listening, platform::kIrdaOptionLevel,
                         platform::kIrdaOptionServiceRecord, record.data(), record.size());
  if (result.error != 0) return result;
  // A stack without 9-wire mode still carries the memory: the result is not looked at.
  uint8_t nine_wire[4] = {};
  std::memcpy(nine_wire, &kNineWireOn, sizeof nine_wire);
  sockets.set_option(l.listening, platform::kIrdaOptionLevel, platform::kIrdaOptionNineWire,
                     nine_wire, sizeof nine_wire);
  result.stage = kMobileStageBind;
  if ((result.error = sockets.bind(l.listening, kAnyDevice, kIrcommService)) != 0) return result;
  result.stage = kMobileStageListen;
  result.error = sockets.listen(l.listening, kListenBacklog);
  return result;
}

void StartMobileAcceptThread() {
  MobileLink& l = link();
  // One phone at a time: a thread of an earlier connection has ended with its sockets.
  if (l.accept_thread.joinable()) l.accept_thread.join();
  int32_t listening = 0;
  {
    std::lock_guard guard(l.socket_lock);
    listening = l.listening;
  }
  l.received = false;
  l.accept_thread = std::thread(AcceptThread, listening);
}

void CloseMobileSockets() {
  Close(link());
}

void FinishMobileAcceptThread() {
  Finish(link());
}

}  // namespace quibra::protocol
