// The short form of the unit's conversation (code and payload, no header or checksum), and the
// direct memory commands of the newer units, which travel only in it.
#include <algorithm>
#include <optional>

#include "codec/product_codes.h"
#include "irda_frame.h"
#include "prvc_gear_areas.h"
#include "unit.h"

#include "j9_unit.h"

namespace quibra::sim {
namespace {

// kMemoryRead: code, flag, 4 address bytes, 2 count bytes (least significant first).
constexpr size_t kReadRequestBytes = 8;
constexpr size_t kReadFlag = 1;
constexpr size_t kReadAddress = 2;
constexpr size_t kReadCount = 6;
// kMemoryWrite: code, opcode, 0, flag, 4 address bytes, then the data.
constexpr size_t kWriteHead = 8;
constexpr size_t kWriteOpcode = 1;
constexpr size_t kWriteZero = 2;
constexpr size_t kWriteFlag = 3;
constexpr size_t kWriteAddress = 4;
// The answer to a write: the code and a status byte.
constexpr uint8_t kWritten = 0;
constexpr uint8_t kRefused = 1;
// A read may run past the end of memory (a dump asks for whole blocks): the unit answers the
// bytes beyond the end as zero.
constexpr uint8_t kPastTheEnd = 0;

uint32_t Le32(std::span<const uint8_t> bytes, size_t at) {
  return static_cast<uint32_t>(bytes[at]) | static_cast<uint32_t>(bytes[at + 1]) << 8 |
         static_cast<uint32_t>(bytes[at + 2]) << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

// The short form's acknowledgement: the code, and the status byte when the message has one.
std::vector<uint8_t> ShortAck(uint8_t code, int32_t length) {
  if (length <= 0) return {};
  std::vector<uint8_t> answer{code};
  if (length >= kShortAckLength) answer.push_back(kWritten);
  return answer;
}

// The area byte that short-form byte k (k >= 1, after the code) stands for: byte 1 is the area's
// first byte, the bytes from 2 on follow from the row's starting byte.
size_t AreaIndex(const WireRow& row, size_t k) {
  return k == 1 ? 0 : row.short_from + k - 2;
}

// Whether a short-form request has the length the unit takes for the message.
bool Fits(const WireRow& row, int32_t type, std::span<const uint8_t> request) {
  switch (row.role) {
    case Role::kDirect:
      return row.msg == Msg::kMemoryRead ? request.size() == kReadRequestBytes
                                         : request.size() >= kWriteHead;
    case Role::kFile:
      return false;  // the single-file transfer is checked by the unit
    default:
      return TakesShortRequest(row, type, request.size());
  }
}

}  // namespace

std::vector<uint8_t> Unit::handle_short_form(std::span<const uint8_t> request) {
  if (request.empty()) return {};
  LoggedRequest entry;
  entry.id = kMessageBase + request[0];
  entry.payload.assign(request.begin() + 1, request.end());
  entry.checksum_ok = true;  // the short form carries none
  const WireRow* row = FindWireRow(entry.id);
  std::optional<Block> block;
  if (row != nullptr && row->role == Role::kBlock) {
    block = BlockOf(type_, *row, entry.payload);
    entry.length_ok = block.has_value();
  } else if (row != nullptr && row->role == Role::kFile) {
    entry.length_ok = FitsShortFileRequest(entry.id, request.size());
  } else {
    entry.length_ok = row != nullptr && Fits(*row, type_, request);
  }
  if (row != nullptr && row->role == Role::kDirect && entry.length_ok) {
    entry.param = static_cast<int32_t>(
        Le32(request, row->msg == Msg::kMemoryRead ? kReadAddress : kWriteAddress));
  } else {
    entry.param = ParamOf(row, entry.payload);
  }

  std::lock_guard guard(lock_);
  log_.push_back(entry);
  if (silent_ || !entry.length_ok) return {};
  std::vector<uint8_t> answer;
  if (row->msg == Msg::kQuery72 && type_ == kJ9Type) {
    // The J9 unit takes the programme written to its staging block and says so.
    TakeJ9Programme(memory_[0]);
    answer = ShortAck(request[0], kShortAckLength);
  } else if (row->msg == Msg::kMemoryRead) {
    answer = memory_read(request);
  } else if (row->msg == Msg::kMemoryWrite) {
    answer = memory_write(request);
  } else if (row->role == Role::kFile) {
    answer = short_file_answer(request);
  } else if (row->role == Role::kBlock) {
    const auto& payload = entry.payload;
    if (!memory_range(0, block->address, block->count)) return {};
    const auto at = memory_[0].begin() + block->address;
    if (row->msg == Msg::kBlockRead) {
      // The code, the address again, the block.
      answer.assign(request.begin(), request.begin() + 3);
      answer.insert(answer.end(), at, at + block->count);
    } else {
      std::copy(payload.end() - block->count, payload.end(), at);
      answer = ShortAck(request[0], kShortAckLength);
    }
  } else if (row->msg == Msg::kIdentify && codec::GroupOfType(type_) != codec::UnitGroup::Older) {
    answer = short_identification();
  } else {
    answer = short_answer(*row, entry, request);
    if (!answer.empty()) keep_watch_settings(*row, request);
  }
  if (answer.empty()) return {};
  // A dropped answer acts here; a flipped bit needs the frame around it (answer_in_frame).
  const auto fault = std::find_if(faults_.begin(), faults_.end(), [&](const Fault& f) {
    return f.kind == FaultKind::NoAnswer && (f.message == 0 || f.message == entry.id);
  });
  if (fault != faults_.end()) {
    if (!fault->for_good) faults_.erase(fault);
    return {};
  }
  return answer;
}

std::vector<uint8_t> Unit::answer_in_frame(std::span<const uint8_t> request) {
  const std::vector<uint8_t> answer = handle_short_form(request);
  std::vector<uint8_t> frame = EncodeIrdaFrame(answer);
  if (answer.empty()) return frame;
  const int32_t id = kMessageBase + request[0];
  std::lock_guard guard(lock_);
  const auto fault = std::find_if(faults_.begin(), faults_.end(), [&](const Fault& f) {
    return f.kind == FaultKind::FlippedBit && (f.message == 0 || f.message == id);
  });
  if (fault != faults_.end()) {
    if (!fault->for_good) faults_.erase(fault);
    FlipBitInIrdaFrame(frame);
  }
  return frame;
}

std::vector<uint8_t> Unit::short_answer(const WireRow& row, const LoggedRequest& request,
                                        std::span<const uint8_t> bytes) {
  const uint8_t code = bytes[0];
  const int32_t length = ShortAnswerLength(row, type_, variant_);
  if (row.role == Role::kCommand) return ShortAck(code, length);
  auto& area = image_slot(row.area, request.param);
  if (row.role == Role::kWrite) {
    for (size_t k = 1; k < bytes.size(); ++k) {
      const size_t at = AreaIndex(row, k);
      if (at < area.size()) area[at] = bytes[k];
    }
    return ShortAck(code, length);
  }
  if (length <= 0) return {};
  std::vector<uint8_t> answer(static_cast<size_t>(length), 0);
  answer[0] = code;
  for (size_t k = 1; k < answer.size(); ++k) {
    const size_t at = AreaIndex(row, k);
    if (at < area.size()) answer[k] = area[at];
  }
  return answer;
}

// The newer units' whole identification: the serial area holds the first bytes (a test may
// have replaced them); the rest follows from the unit's state.
std::vector<uint8_t> Unit::short_identification() {
  const IdentificationBytes full = EncodeIdentification(type_, identity_);
  std::vector<uint8_t> answer(1 + full.size());  // sized first: inserting trips a bounds warning
  answer[0] = CodeOf(Msg::kIdentify);
  std::copy(full.begin(), full.end(), answer.begin() + 1);
  const auto& area = image_slot(Msg::kIdentify, 0);
  std::copy_n(area.begin(), std::min(area.size(), full.size()), answer.begin() + 1);
  return answer;
}

std::vector<uint8_t> Unit::memory_read(std::span<const uint8_t> request) {
  // Only the newer units know the command (they are the ones with a write opcode).
  if (!MemoryWriteOpcode(type_)) return {};
  if (request.size() < kReadRequestBytes || request[kReadFlag] > 1) return {};
  const int32_t bank = request[kReadFlag];
  const uint32_t address = Le32(request, kReadAddress);
  const size_t count = request[kReadCount] | request[kReadCount + 1] << 8;
  const auto& memory = memory_[static_cast<size_t>(bank)];
  if (count == 0 || address >= memory.size()) return {};
  std::vector<uint8_t> answer(request.begin(), request.begin() + kReadCount);
  answer.resize(kReadCount + count, kPastTheEnd);
  const size_t available = std::min(count, memory.size() - address);
  std::copy_n(memory.begin() + address, available, answer.begin() + kReadCount);
  return answer;
}

std::vector<uint8_t> Unit::memory_write(std::span<const uint8_t> request) {
  if (request.size() < kWriteHead) return {};
  const std::optional<uint8_t> opcode = MemoryWriteOpcode(type_);
  const int32_t bank = request[kWriteFlag];
  const uint32_t address = Le32(request, kWriteAddress);
  const auto data = request.subspan(kWriteHead);
  // A write in another type's command, or outside the memory, changes nothing.
  if (!opcode || request[kWriteOpcode] != *opcode || request[kWriteZero] != 0 ||
      !memory_range(bank, address, static_cast<int64_t>(data.size()))) {
    return {request[0], kRefused};
  }
  std::copy(data.begin(), data.end(), memory_[static_cast<size_t>(bank)].begin() + address);
  if (bank == 0) KeepHorseMode(type_, identity_, memory_[0]);
  return {request[0], kWritten};
}

}  // namespace quibra::sim
