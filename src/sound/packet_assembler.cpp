#include "sound/packet_assembler.h"

#include <algorithm>
#include <cstring>

#include "protocol/checksum.h"
#include "sound/reed_solomon.h"

namespace quibra::sound {
namespace {

// Header bytes 0..5 go to the assembled buffer; 6 and 7 are its CRC.
constexpr size_t kHeaderKept = 6;

}  // namespace

void PacketAssembler::start(int32_t monitor_type, bool debug_dump) {
  monitor_type_ = monitor_type;
  header_count_ = 0;
  header_received_ = false;
  mode_ = 0;
  block_count_ = 0;
  expected_total_ = 0;
  block_index_ = 0;
  block_pos_ = 0;
  bytes_received_ = 0;
  assembled_count_ = 0;
  close_dumps();
  dumping_ = debug_dump;
  if (dumping_) {
    bytes_dump_.create("Bytes.txt");
    sum_dump_.create("Sum.txt");
  }
}

void PacketAssembler::close_dumps() {
  bytes_dump_.close();
  sum_dump_.close();
}

void PacketAssembler::append(const uint8_t* bytes, size_t count) {
  const size_t room = kAssembledCapacity - assembled_count_;
  const size_t taken = std::min(count, room);  // 30 full blocks fit many times over
  std::memcpy(assembled_.data() + assembled_count_, bytes, taken);
  assembled_count_ += taken;
}

void PacketAssembler::next_block() {
  ++block_index_;
  block_pos_ = 0;
}

bool PacketAssembler::take_header_byte(uint8_t byte) {
  header_[header_count_++] = byte;
  if (header_count_ < kHeaderBytes) return true;
  if (!protocol::Crc16Check(header_.data(), kHeaderBytes)) return false;
  // More blocks than the store holds cannot be received: the header is refused like a bad one.
  if (header_[3] > kMaxBlocks) return false;
  header_received_ = true;
  mode_ = header_[2];
  block_count_ = header_[3];
  expected_total_ = mode_ == kReedSolomonMode
                        ? static_cast<uint32_t>(block_count_) * kBlockBytes
                        : static_cast<uint32_t>(header_[4]) + 256u * header_[5];
  append(header_.data(), kHeaderKept);
  assembled_[2] = static_cast<uint8_t>(monitor_type_);
  assembled_[3] = mode_;
  return true;
}

bool PacketAssembler::finish_rs_block(bool ignore_errors) {
  uint8_t* block = blocks_[block_index_].data();
  const int32_t result = RsDecode(block);
  if (dumping_) {
    const uint32_t value = static_cast<uint32_t>(result);
    sum_dump_.write_u32(&value, 1);
  }
  if (result < 0 && !ignore_errors) return false;
  // A length that reaches into the check bytes leaves no way to tell data from check bytes: the
  // block is refused even when errors are ignored.
  const size_t length = block[2];
  if (length > kRsMaxLength) return false;
  append(block + kRsDataStart, length);
  next_block();
  return true;
}

bool PacketAssembler::finish_plain_block(bool ignore_errors) {
  const uint8_t* block = blocks_[block_index_].data();
  if (!protocol::Crc16Check(block, block_pos_) && !ignore_errors) return false;
  append(block, block_pos_ - 2);
  next_block();
  return true;
}

bool PacketAssembler::take_block_byte(uint8_t byte, bool ignore_errors) {
  if (block_index_ >= block_count_) return true;  // beyond the announced blocks: ignored
  std::array<uint8_t, kBlockBytes>& block = blocks_[block_index_];
  block[block_pos_++] = byte;
  ++bytes_received_;
  if (mode_ == kReedSolomonMode) {
    return block_pos_ < kBlockBytes || finish_rs_block(ignore_errors);
  }
  if (block_pos_ < 3) return true;
  // A plain block whose length byte would carry it past the store can never end: refused.
  const size_t end = std::max(kPlainBlockMinimum, block[2] + kPlainBlockOverhead);
  if (end > kBlockBytes) return false;
  return block_pos_ < end || finish_plain_block(ignore_errors);
}

int PacketAssembler::assemble(ByteBatch& batch, bool ignore_errors) {
  if (dumping_) bytes_dump_.write(batch.bytes.data(), batch.count);
  int result = 1;
  for (size_t i = 0; i < batch.count; ++i) {
    const uint8_t byte = batch.bytes[i];
    const bool taken =
        header_received_ ? take_block_byte(byte, ignore_errors) : take_header_byte(byte);
    if (!taken) {
      result = 0;
      break;
    }
  }
  batch.count = 0;
  return result;
}

uint32_t PacketAssembler::progress(DumpFile* detect_dump) const {
  if (expected_total_ == 0) return 0;
  const uint32_t total = mode_ == kReedSolomonMode
                             ? expected_total_
                             : expected_total_ + kPlainBlockOverhead * block_count_;
  // A header whose length disagrees with its blocks could carry the figure past 100; the figure
  // stops there, since 100 is what tells the caller that the transfer is complete.
  const uint32_t percent = std::min<uint32_t>(bytes_received_ * 100u / total, 100u);
  if (dumping_ && detect_dump) {
    const uint32_t line[4] = {static_cast<uint32_t>(block_index_), bytes_received_, expected_total_,
                              percent};
    detect_dump->write_u32(line, 4);
  }
  return percent;
}

}  // namespace quibra::sound
