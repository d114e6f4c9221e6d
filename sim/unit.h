// A simulated wrist unit of the older types (11, 12, 13, 15, 20, 21, 22, 23): the memory behind
// every message it answers, its identification, its raw memory blocks, the faults a test wants
// it to show, and a log of every request it received.
//
// The model is independent of the library's own state: it keeps its own images, keyed the way
// the unit itself keys them (by the message that reads an area and by the sub-image number the
// request carries), and it builds its answers from them. It is safe to use from two threads:
// the serial front end drives it while a test queues faults and reads the log.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <span>
#include <utility>
#include <vector>

#include "frame_reader.h"

namespace quibra::sim {

// One request as the unit received it.
struct LoggedRequest {
  int32_t id = 0;                // 9000 + the message code
  int32_t param = 0;             // sub-image number; block address for 9007, 9008 and 9035; else 0
  std::vector<uint8_t> payload;  // the bytes between header and checksum
  bool recoded = false;          // it arrived recoded by the serial adapter (and was decoded)
  bool checksum_ok = false;      // a request failing its checksum is logged but not answered
};

enum class FaultKind : uint8_t {
  Noise,       // line noise (bytes other than 0x5C and 0x5D) before the answer
  Start5D,     // the answer starts 0x5D instead of 0x5C
  FlippedBit,  // one payload bit flipped after sealing, so the checksum fails
  NoAnswer,    // the answer is dropped
  WrongCode,   // a correctly sealed answer carrying another message's code
  // Packet-train faults; Fault::packet names the packet they hit, counted in sending order
  // from 0 (the first packet of the train).
  RepeatPacket,  // the packet is sent again in answer to the acknowledgement that follows it
  DropPacket,    // the packet is lost on the line (the unit counts it as sent)
  OversizeFile,  // the first packet of a single-file train announces more than 262144 bytes
  FallSilent,    // from this packet on the unit never answers again
};

struct Fault {
  FaultKind kind = FaultKind::NoAnswer;
  int32_t message = 0;    // the message whose answer it hits; 0 = the next answer of any message
  bool for_good = false;  // stays in force for every later answer it matches
  int32_t packet = 0;     // packet-train faults: the packet they hit

  // The link goes silent for good: the unit still hears requests but never answers again.
  static Fault Silence() { return {FaultKind::NoAnswer, 0, true}; }
  // A packet-train fault on packet `packet` of the next train.
  static Fault InTrain(FaultKind kind, int32_t packet) { return {kind, 0, false, packet}; }
};

class Unit {
 public:
  // The older types the model covers, with the product code and the default variant each
  // reports in its identification answer.
  static bool SupportsType(int32_t type);

  // Throws std::invalid_argument for a type the model does not cover or a variant outside 0..15.
  Unit(int32_t type, int32_t variant);

  int32_t type() const { return type_; }
  int32_t variant() const { return variant_; }

  // The payload the unit answers a read with (or that a write stored), for a read or a write
  // message and a sub-image number. Messages that share one area (9005 and 9006, ...) share
  // one image. Empty when the message carries no image.
  std::vector<uint8_t> image(int32_t id, int32_t param) const;
  // Replaces the image; shorter input is padded with zeros, longer input is refused (false),
  // as is a message without an image.
  bool set_image(int32_t id, int32_t param, std::span<const uint8_t> payload);

  // The raw memory that 9007, 9008 and 9035 write and read as blocks.
  static constexpr int32_t kRawMemoryBytes = 2048;
  std::vector<uint8_t> memory(int32_t address, int32_t count) const;
  bool set_memory(int32_t address, std::span<const uint8_t> bytes);

  // Exercise memory, sent as packet trains. The image (position 1 first) goes out verbatim in
  // answer to 9011 and in a listen-only transfer (9025): its first four bytes are the header the
  // first packet carries (size high and low byte, two header values). Files are fetched one at
  // a time with 9106, by index.
  static constexpr size_t kPacketData = 1024;  // data bytes per packet
  // A 9011 train numbers its packets in 7 bits: a larger image is refused (false).
  static constexpr size_t kMaxTrainBytes = 128 * kPacketData;
  bool set_exercise_memory(std::vector<uint8_t> image);
  void set_exercise_files(std::vector<std::vector<uint8_t>> files);
  // The user starts a transfer on the unit: it sends its exercise memory without being asked.
  void start_listen_transfer();
  // The next packet of a listen-only transfer, or nothing; the front end sends it while the
  // line is quiet.
  std::vector<uint8_t> next_spontaneous();

  void queue_fault(const Fault& fault);
  // Drops the queued faults and ends a silence that a FallSilent fault began.
  void clear_faults();

  std::vector<LoggedRequest> requests() const;
  void clear_requests();

  // Handles one received request: logs it, applies it, and returns the bytes the unit sends
  // back (empty when it does not answer).
  std::vector<uint8_t> handle(const RawRequest& request);

 private:
  using ImageKey = std::pair<int32_t, int32_t>;  // (area message id, sub-image number)

  static int32_t AreaOf(int32_t id);
  std::vector<uint8_t>& image_slot(int32_t area, int32_t param, size_t length);
  std::vector<uint8_t> answer_for(const LoggedRequest& request, int32_t answer_length);
  std::vector<uint8_t> apply_faults(int32_t id, std::vector<uint8_t> answer);
  // Packet trains (lock held).
  std::vector<uint8_t> file_answer(const LoggedRequest& request);
  void build_train(int32_t code, const std::vector<uint8_t>& data);
  void build_file_train(int32_t file_index, int32_t byte_limit);
  std::vector<uint8_t> train_packet(size_t index);
  bool take_train_fault(FaultKind kind, size_t packet);

  const int32_t type_;
  const int32_t variant_;
  mutable std::mutex lock_;
  std::map<ImageKey, std::vector<uint8_t>> images_;
  std::vector<uint8_t> memory_;
  std::deque<Fault> faults_;
  std::vector<LoggedRequest> log_;
  std::vector<uint8_t> exercise_memory_;
  std::vector<std::vector<uint8_t>> files_;
  std::vector<std::vector<uint8_t>> train_;  // the frames of the current train, in sending order
  size_t train_at_ = 0;                      // the packet last sent
  size_t listen_next_ = 0;                   // listen-only: the packet to push next
  bool listening_ = false;
  bool silent_ = false;  // a FallSilent fault struck
};

}  // namespace quibra::sim
