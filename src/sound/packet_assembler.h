// The packet assembler of a sound download. The bytes after synchronisation are an 8-byte
// header (the start byte 0x55, one byte, the mode, the block count, the payload length low byte
// first, and the header's CRC-16) and then the blocks. Mode 2 sends Reed-Solomon blocks of 255
// bytes whose byte 2 is the count of data bytes from byte 3; every other mode sends plain blocks
// of two leading bytes, a length byte, the data and a CRC-16. The assembled buffer collects the
// header (with the unit's type and the mode in bytes 2 and 3) and the blocks' contents.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "sound/beep_demodulator.h"
#include "sound/dump_file.h"

namespace quibra::sound {

inline constexpr size_t kHeaderBytes = 8;
inline constexpr size_t kMaxBlocks = 30;
inline constexpr size_t kBlockBytes = 255;
inline constexpr size_t kAssembledCapacity = 32000;
inline constexpr uint8_t kReedSolomonMode = 2;
// A plain block: two leading bytes, the length byte, the data, two CRC bytes.
inline constexpr size_t kPlainBlockOverhead = 5;
inline constexpr size_t kPlainBlockMinimum = 6;
// The data of a Reed-Solomon block starts at byte 3 and must end before the check bytes.
inline constexpr size_t kRsDataStart = 3;
inline constexpr size_t kRsMaxLength = 220;

class PacketAssembler {
 public:
  // Clears the header, the blocks, the counts and the assembled buffer. The monitor type's low
  // byte replaces header byte 2 in the assembled buffer.
  void start(int32_t monitor_type, bool debug_dump);
  // Takes the batch's bytes in order. 1 when they were accepted; 0 when the header, a plain
  // block's CRC or a Reed-Solomon block was bad (blocks only when errors are not ignored), or a
  // block count or length byte cannot be held; the rest of the batch is then dropped. The batch
  // is emptied in every case.
  int assemble(ByteBatch& batch, bool ignore_errors);
  // Bytes received against the announced total, in percent (0 while nothing is announced).
  // With debug dumps, each query with a total appends a line to the given dump.
  uint32_t progress(DumpFile* detect_dump) const;
  void close_dumps();

  bool header_received() const { return header_received_; }
  uint8_t mode() const { return mode_; }
  uint8_t block_count() const { return block_count_; }
  uint32_t expected_total() const { return expected_total_; }
  uint32_t bytes_received() const { return bytes_received_; }
  const uint8_t* assembled() const { return assembled_.data(); }
  size_t assembled_count() const { return assembled_count_; }

 private:
  bool take_header_byte(uint8_t byte);
  bool take_block_byte(uint8_t byte, bool ignore_errors);
  bool finish_rs_block(bool ignore_errors);
  bool finish_plain_block(bool ignore_errors);
  void append(const uint8_t* bytes, size_t count);
  void next_block();

  int32_t monitor_type_ = 0;
  std::array<uint8_t, kHeaderBytes> header_{};
  size_t header_count_ = 0;
  bool header_received_ = false;
  uint8_t mode_ = 0;
  uint8_t block_count_ = 0;
  uint32_t expected_total_ = 0;
  std::array<std::array<uint8_t, kBlockBytes>, kMaxBlocks> blocks_{};
  size_t block_index_ = 0;
  size_t block_pos_ = 0;
  uint32_t bytes_received_ = 0;
  std::array<uint8_t, kAssembledCapacity> assembled_{};
  size_t assembled_count_ = 0;
  DumpFile bytes_dump_, sum_dump_;
  bool dumping_ = false;
};

}  // namespace quibra::sound
