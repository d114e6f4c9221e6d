// The short form of the unit's conversation (code and payload, no header or checksum) and the
// direct memory commands of the newer units, which travel only in it.
#include <algorithm>
#include <optional>

#include "protocol/raw_memory.h"
#include "unit.h"

namespace quibra::sim {
namespace {

constexpr int32_t kIdentify = 9021;
constexpr int32_t kMemoryWrite = 9089;
constexpr int32_t kMemoryRead = 9090;

// 9090: code, flag, 4 address bytes, 2 count bytes (least significant first).
constexpr size_t kReadRequestBytes = 8;
constexpr size_t kReadFlag = 1;
constexpr size_t kReadAddress = 2;
constexpr size_t kReadCount = 6;
// 9089: code, opcode, 0, flag, 4 address bytes, then the data.
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

}  // namespace

std::vector<uint8_t> Unit::handle_short_form(std::span<const uint8_t> request) {
  if (request.empty()) return {};
  LoggedRequest entry;
  entry.id = 9000 + request[0];
  entry.payload.assign(request.begin() + 1, request.end());
  entry.checksum_ok = true;  // the short form carries none
  if (entry.id == kMemoryRead && request.size() >= kReadRequestBytes) {
    entry.param = static_cast<int32_t>(Le32(request, kReadAddress));
  } else if (entry.id == kMemoryWrite && request.size() >= kWriteHead) {
    entry.param = static_cast<int32_t>(Le32(request, kWriteAddress));
  }

  std::lock_guard guard(lock_);
  log_.push_back(entry);
  if (silent_) return {};
  std::vector<uint8_t> answer;
  if (entry.id == kIdentify) {
    // The serial image holds the first bytes (a test may have replaced them); the rest follows
    // from the unit's state.
    const IdentificationBytes full = EncodeIdentification(type_, identity_);
    answer.assign(1, request[0]);
    answer.insert(answer.end(), full.begin(), full.end());
    const auto it = images_.find({kIdentify, 0});
    if (it != images_.end())
      std::copy_n(it->second.begin(), std::min(it->second.size(), full.size()), answer.begin() + 1);
  } else if (entry.id == kMemoryRead) {
    answer = memory_read(request);
  } else if (entry.id == kMemoryWrite) {
    answer = memory_write(request);
  }
  if (answer.empty()) return {};
  // Of the answer faults only a dropped answer has a meaning without a frame around it.
  const auto fault = std::find_if(faults_.begin(), faults_.end(), [&](const Fault& f) {
    return f.kind == FaultKind::NoAnswer && (f.message == 0 || f.message == entry.id);
  });
  if (fault != faults_.end()) {
    if (!fault->for_good) faults_.erase(fault);
    return {};
  }
  return answer;
}

std::vector<uint8_t> Unit::memory_read(std::span<const uint8_t> request) {
  // Only the newer units know the command (they are the ones with a write opcode).
  if (!protocol::MemoryOpcode(type_)) return {};
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
  const std::optional<uint8_t> opcode = protocol::MemoryOpcode(type_);
  const int32_t bank = request[kWriteFlag];
  const uint32_t address = Le32(request, kWriteAddress);
  const auto data = request.subspan(kWriteHead);
  // A write in another type's command, or outside the memory, changes nothing.
  if (!opcode || request[kWriteOpcode] != *opcode || request[kWriteZero] != 0 ||
      !memory_range(bank, address, static_cast<int64_t>(data.size()))) {
    return {request[0], kRefused};
  }
  std::copy(data.begin(), data.end(), memory_[static_cast<size_t>(bank)].begin() + address);
  return {request[0], kWritten};
}

}  // namespace quibra::sim
