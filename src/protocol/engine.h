// The communication engine: one conversation with a unit at a time. The application's thread
// queues a message (or a batch of them); the message thread sends it, waits for the answer,
// checks and stores it, retries, and walks a batch row by row. The two sides meet through the
// state flags and the plain status words below.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <thread>

#include "platform/clock.h"
#include "protocol/batch_table.h"
#include "protocol/message_status.h"

namespace quibra {
struct Module;
}

namespace quibra::protocol {

// The receive buffer: answer bytes numbered 1..1049 (number 1 is the 0x5C).
inline constexpr int kReceiveBufferSize = 1049;
// Error counters 0..3.
enum ErrorCounter : int {
  kSendAttempts = 0,
  kChecksumFailures = 1,
  kIdleRounds = 2,
  kNoAnswer = 3
};
// Transfer counters 1..11; 6 holds the detected device code, 8 and 9 the progress.
inline constexpr int kCounterDeviceCode = 6;
inline constexpr int kCounterProgressTotal = 8;
inline constexpr int kCounterProgressDone = 9;
inline constexpr int kCounterFilePackets = 11;

// Answer classes of the current message.
inline constexpr int32_t kAnswerExpected = 0;
inline constexpr int32_t kNoAnswerExpected = 1;
inline constexpr int32_t kListenOnly = 2;

// The exercise-file download plugs its packet handling into the engine here (file_packets.h).
// While none is installed the engine does not take the file messages 9011, 9106 and 9025.
class FileDownloadSteps {
 public:
  virtual ~FileDownloadSteps() = default;
  // A new download of message id starts (the queue call of a file message).
  virtual void begin(int32_t id) = 0;
  // Header checks while an answer arrives (answer[0] is byte 1): at byte 6 and at byte 12.
  // false drops the answer.
  virtual bool check_header(int32_t id, const uint8_t* answer, int count) = 0;
  // Stores a packet that passed its checksum: kStatusCompleted for the last packet,
  // kStatusFilePacket for the others, or 0 when it cannot be stored.
  virtual int32_t store_packet(int32_t id, const uint8_t* answer, int length) = 0;
  // The continuation after every answer or missing answer.
  virtual void continue_download(int32_t id) = 0;
  // The request frame of a file message whose image cannot carry it; 0 = send the image.
  virtual int32_t request_frame(int32_t id, uint8_t* out, int32_t capacity) = 0;
};

struct Engine {
  Engine() = default;
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;
  // Asks the thread to stop and waits for it: the Module never outlives its thread.
  ~Engine();

  std::atomic<int32_t> message{0};
  std::atomic<int32_t> param{0};
  std::atomic<int32_t> tries{0};
  std::atomic<int32_t> answer_class{kAnswerExpected};
  std::atomic<int32_t> idle_cycles{0};
  // The last file packet is stored but its acknowledgement is not yet sent: the download is
  // reported complete only once it is, so that a message a caller queues on seeing the
  // completion cannot take the acknowledgement's place.
  std::atomic<bool> completion_after_send{false};
  // The cancel requests counted when the current message was queued: only a request raised
  // after that drops its exchange. One still raised from before (the flag is cleared only at
  // the end of the cycle) is not for it, and the message runs to a final status.
  std::atomic<uint32_t> cancel_mark{0};
  std::array<std::atomic<int32_t>, 4> errors{};
  std::array<std::atomic<int32_t>, 12> counters{};  // 1..11 used

  std::atomic<bool> batch_active{false};
  std::atomic<int> batch_first{0};
  std::atomic<int> batch_last{0};
  std::atomic<int> batch_row{0};
  std::array<std::atomic<bool>, kLastSettingsRow + 1> settings_rows{};
  std::array<std::atomic<int8_t>, kBatchRows + 1> row_status{};
  // The rows' read flags, which settings exports set (a profile prepared on IrDA sockets).
  std::array<std::atomic<bool>, kBatchRows + 1> read_flags{};

  FileDownloadSteps* file_steps = nullptr;

  // Raised with the stop request, it cuts the engine's pauses short; cleared with the stop flag
  // when a conversation is reset.
  platform::WakeSignal stop_wake;

  std::thread thread;
};

// The queue call: makes m (or a batch request) the current message. 1 when queued.
int32_t QueueMessage(int32_t m, int32_t p, int32_t start);

// Raw memory requests (9007, 9008, 9035) carry the address and count of an area of the unit's
// memory: fills them in for area p of the current unit type and reseals the image.
void FillRawMemoryArea(int32_t m, int32_t p);

// true for the ids a caller may queue: a message of the catalogue, a batch request (8000..8008)
// or the empty message 9000.
bool IsQueueableMessage(int32_t id);

// false for the file messages 9011, 9106 and 9025 while no file download is installed.
bool EngineTakes(int32_t id);

// Starts the message thread unless one runs. The port must be open.
void StartMessageThread();
// Sets the cancel and stop flags (2007, 2002) under ThreadStopLock; the thread ends by itself.
void RequestEngineStop(Module& mod);
// Requests the stop and waits for the thread to end (unload, tests).
void StopMessageThread(Module& mod);
// Waits for the message thread and the IrDA receive thread, once their stop is requested, to
// end (a call from the message thread itself does not wait for it).
void JoinEngineThreads(Module& mod);

// Sets the read flag of batch row 1..121; other rows are ignored.
void MarkBatchRowRead(int row);
bool BatchRowMarkedRead(int row);

// Unit-type recognition from the stored identification answer; false for an unknown code.
bool RecogniseUnitType();

}  // namespace quibra::protocol
