// A simulated wrist unit of any type the product-code map names: the memory behind every message
// it answers, its identification, its raw memory (blocks for the older units, the whole memory
// that the newer running and cycling units give to direct reads and writes), the faults a test
// wants it to show, and a log of every request it received.
//
// The model is independent of the library's own state: it keeps its own images, keyed the way
// the unit itself keys them (by the message that reads an area and by the sub-image number the
// request carries), and it builds its answers from them. It is safe to use from two threads:
// the serial front end drives it while a test queues faults and reads the log.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "frame_reader.h"
#include "identification.h"
#include "wire_table.h"

namespace quibra::sim {

// One request as the unit received it.
struct LoggedRequest {
  int32_t id = 0;                // 9000 + the message code
  int32_t param = 0;             // sub-image number; block address for 9007, 9008 and 9035; else 0
  std::vector<uint8_t> payload;  // the bytes between header and checksum
  bool recoded = false;          // it arrived recoded by the serial adapter (and was decoded)
  bool checksum_ok = false;      // a request failing its checksum is logged but not answered
  // It had the length the unit takes for the message (wire_table.h); a request of another
  // length, or a message the unit does not know, is logged but not answered.
  bool length_ok = false;
};

enum class FaultKind : uint8_t {
  Noise,       // line noise (bytes other than 0x5C and 0x5D) before the answer
  Start5D,     // the answer starts 0x5D instead of 0x5C
  FlippedBit,  // one payload bit flipped after sealing, so the checksum fails (IrDA: the FCS)
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
  // Every monitor type that some product code names.
  static bool SupportsType(int32_t type);

  // A unit of the type that reports the type's default product code. Throws
  // std::invalid_argument for a type the model does not cover or a variant outside 0..15.
  Unit(int32_t type, int32_t variant);
  // The same, reporting the given product code (0..255; a unit may be made to report a code
  // that names another type, or none, to see how the library takes it).
  Unit(int32_t type, int32_t variant, int32_t product_code);

  int32_t type() const { return type_; }
  int32_t variant() const { return variant_; }
  int32_t product_code() const { return product_code_; }

  // What the unit reports about itself. Setting it changes files, used memory, state bits,
  // horse mode and memory map; the product code and the variant stay the unit's own. Loading
  // exercises (set_exercise_memory on the older units, set_exercise_files on the newer ones)
  // sets files and used memory again from what was loaded (memory_use.h), so the unit reports
  // what a download then brings. The newer units answer the serial request with their whole
  // identification, as they do over IrDA, so that both links report the same.
  Identification identification() const;
  void set_identification(const Identification& identity);

  // The payload the unit answers a read with (or that a write stored), for a read or a write
  // message and a sub-image number. Messages that share one area (9005 and 9006, ...) share
  // one image. Empty when the message carries no image.
  std::vector<uint8_t> image(int32_t id, int32_t param) const;
  // Replaces the image; shorter input is padded with zeros, longer input is refused (false),
  // as is a message without an image.
  bool set_image(int32_t id, int32_t param, std::span<const uint8_t> payload);

  // The raw memory. The older units keep kRawMemoryBytes that 9007, 9008 and 9035 write and
  // read as blocks; the newer ones (types 33..38) keep their whole memory, in two banks of
  // memory_size() bytes each, for the direct reads (9090) and writes (9089).
  static constexpr int32_t kRawMemoryBytes = 2048;
  static constexpr int32_t kNewerMemoryBytes = 0x20000;
  static constexpr int32_t kLargerMemoryBytes = 0x40000;  // types 34 and 38
  int32_t memory_size() const { return static_cast<int32_t>(memory_[0].size()); }
  // Empty (false) when the range or the bank is outside the memory.
  std::vector<uint8_t> memory(int32_t address, int32_t count, int32_t bank = 0) const;
  bool set_memory(int32_t address, std::span<const uint8_t> bytes, int32_t bank = 0);

  // Exercise memory, sent as packet trains. The image (position 1 first) goes out verbatim in
  // answer to 9011 and in a listen-only transfer (9025): its first four bytes are the header the
  // first packet carries (size high and low byte, two header values). Files are fetched one at
  // a time with 9106, by index.
  static constexpr size_t kPacketData = 1024;  // data bytes per packet
  // The short form's packets stay within the 1023 bytes an IrDA answer may hold.
  static constexpr size_t kShortPacketData = 1000;
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
  // The unit starts again: it forgets the packet train and the listen-only transfer under way.
  // What it stored stays.
  void reset_conversation();

  std::vector<LoggedRequest> requests() const;
  void clear_requests();

  // Handles one received request: logs it, applies it, and returns the bytes the unit sends
  // back, a frame of exactly the length its wire table gives (the newer units' identification
  // aside, which carries all of it, identification()). Empty when it does not answer: a
  // request that fails its checksum, a message it does not know or gets in another length than
  // it takes, or one it never answers.
  std::vector<uint8_t> handle(const RawRequest& request);

  // The short form, as it travels over IrDA: a request is the message code and its payload
  // without header or checksum, an answer the code and its payload, each of the length the wire
  // table gives. Reads, writes and blocks carry the bytes a serial frame carries; a profile goes
  // in two halves. The newer units take their identification and direct memory commands in this
  // form (a serial frame is too short for them): kIdentify answers their whole identification;
  // kMemoryRead (flag, 4 address bytes, 2 count bytes) answers the code, the flag and the 4
  // address bytes again, then the bytes read; kMemoryWrite (opcode, 0, flag, 4 address bytes,
  // data) stores the data and answers the code and a status byte, 0 when written. Of the file
  // transfers the single-file transfer (9106, with 9022 and 9023) and the whole exercise memory
  // (9011) travel in the short form, as units send them over IrDA (short_form_files.cpp), in
  // packets of kShortPacketData bytes; a request that does not fit gets no answer.
  std::vector<uint8_t> handle_short_form(std::span<const uint8_t> request);
  // The same for a request that came in an IrDA link frame which checked (irda_frame.h): the
  // answer goes back in a frame, empty when the unit has no answer. A FlippedBit fault flips a
  // bit of the answer's frame after its check sequence was made, so the far end drops it.
  std::vector<uint8_t> answer_in_frame(std::span<const uint8_t> request);

 private:
  using ImageKey = std::pair<int32_t, int32_t>;  // (area message id, sub-image number)

  static const AreaRow* AreaOfMessage(int32_t id);
  // The sub-image number (areas with sub-images) or block address a request names.
  static int32_t ParamOf(const WireRow* row, std::span<const uint8_t> payload);
  // The J9 unit (type 27) has blocks of its own (j9_unit.h).
  static std::optional<Block> BlockOf(int32_t type, const WireRow& row,
                                      std::span<const uint8_t> payload);
  // The unit's area, created zero (with its number first) on first use (lock held).
  std::vector<uint8_t>& image_slot(Msg area, int32_t param);
  std::vector<uint8_t> apply_faults(int32_t id, std::vector<uint8_t> answer);
  void refresh_identification_image();
  // Files and used memory from the exercises loaded (lock held).
  void count_exercises();
  // The short form of reads, writes and commands, and the newer units' whole identification
  // (lock held).
  std::vector<uint8_t> short_answer(const WireRow& row, const LoggedRequest& request,
                                    std::span<const uint8_t> bytes);
  std::vector<uint8_t> short_identification();
  // The direct memory commands in their short form (lock held).
  std::vector<uint8_t> memory_read(std::span<const uint8_t> request);
  std::vector<uint8_t> memory_write(std::span<const uint8_t> request);
  // A newer unit keeps the alarm and event of its watch settings (9091, 9092) in the watch area
  // of its memory, where the library reads them back (prvc_settings_answers.cpp; lock held).
  void keep_watch_settings(const WireRow& row, std::span<const uint8_t> request);
  bool memory_range(int32_t bank, int64_t address, int64_t count) const;
  // Packet trains (lock held).
  std::vector<uint8_t> file_answer(const LoggedRequest& request);
  void build_train(uint8_t code, const std::vector<uint8_t>& data);
  void build_file_train(int32_t file_index, int32_t byte_limit);
  std::vector<uint8_t> train_packet(size_t index);
  bool take_train_fault(FaultKind kind, size_t packet);
  // The single-file transfer in the short form (lock held).
  static bool FitsShortFileRequest(int32_t id, size_t length);
  void build_short_train(uint8_t code, std::span<const uint8_t> data,
                         std::span<const uint8_t> head);
  void build_short_file_train(int32_t file_index, int32_t byte_limit);
  std::vector<uint8_t> short_train_packet(size_t index, uint8_t code);
  std::vector<uint8_t> short_file_answer(std::span<const uint8_t> request);

  const int32_t type_;
  const int32_t variant_;
  const int32_t product_code_;
  mutable std::mutex lock_;
  std::map<ImageKey, std::vector<uint8_t>> images_;
  Identification identity_;
  std::array<std::vector<uint8_t>, 2> memory_;  // bank 0 and, on the newer units, bank 1
  std::deque<Fault> faults_;
  std::vector<LoggedRequest> log_;
  std::vector<uint8_t> exercise_memory_;
  std::vector<std::vector<uint8_t>> files_;
  std::vector<std::vector<uint8_t>> train_;  // the frames of the current train, in sending order
  size_t train_at_ = 0;                      // the packet last sent
  std::vector<std::vector<uint8_t>> short_train_;  // short-form answers of a single-file train
  size_t short_at_ = 0;                            // the packet last sent
  int32_t short_file_ = -1;                        // the file it carries
  size_t listen_next_ = 0;                         // listen-only: the packet to push next
  bool listening_ = false;
  bool silent_ = false;  // a FallSilent fault struck
};

}  // namespace quibra::sim
