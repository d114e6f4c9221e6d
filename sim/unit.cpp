#include "unit.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <string>

#include "codec/product_codes.h"
#include "protocol/banks.h"
#include "protocol/catalogue.h"
#include "protocol/checksum.h"
#include "protocol/message_image.h"

namespace quibra::sim {

namespace {

using protocol::FindMessage;
using protocol::MessageKind;
using protocol::MessageRow;

// A write and the read that returns what it stored: the unit keeps one area for both.
struct AreaPair {
  int32_t write;
  int32_t read;
};
constexpr AreaPair kAreaPairs[] = {
    {9001, 9002}, {9003, 9004}, {9005, 9006}, {9013, 9014}, {9015, 9016},
    {9017, 9018}, {9019, 9020}, {9040, 9041}, {9042, 9043}, {9044, 9045},
    {9049, 9048}, {9050, 9051}, {9052, 9053}, {9068, 9069},
};

constexpr int32_t kIdentify = 9021;
constexpr int32_t kCommandNoAnswer = 9010;
constexpr int32_t kKeepAlive = 9024;
constexpr int32_t kBlockWrite = 9007;
constexpr int32_t kBlockRead = 9008;
constexpr int32_t kBlockWriteLead = 9035;
// The exercise file transfer: packet trains in answer to 9011 and 9106, acknowledged with 9022
// (next) and 9023 (again); 9025 is the library listening, never sent.
constexpr int32_t kFileRead = 9011;
constexpr int32_t kSingleFile = 9106;
constexpr int32_t kPacketAck = 9022;
constexpr int32_t kPacketNak = 9023;
constexpr int32_t kFileMessages[] = {kFileRead, kSingleFile, kPacketAck, kPacketNak, 9025};
constexpr uint8_t kFirstPacketBit = 0x80;
constexpr int32_t kFromFirstPacket = 0xFFFF;
constexpr uint32_t kOversize = 262145;

using protocol::kAnswerStart;
constexpr uint8_t kAnswerStartAlt = 0x5D;
constexpr int32_t kAckLength = 8;
constexpr size_t kHeader = 5;
constexpr size_t kFrameOverhead = 7;  // header and checksum
// Line noise: anything but the two answer start bytes.
constexpr uint8_t kNoise[] = {0x00, 0x3A, 0xFF, 0xA5};
// The bit a WrongCode fault flips in the code byte.
constexpr uint8_t kWrongCodeBit = 0x40;

bool IsParameterised(const MessageRow& row) {
  return row.read_store.sub == protocol::SubImage::Param;
}

// The sub-image number a request carries in its first payload byte; banks that keep the number
// in both nibbles give the low one.
int32_t SubImageOf(const MessageRow& row, uint8_t first_payload_byte) {
  const auto rule = protocol::bank_layout(row.read_store.bank).index5;
  return rule == protocol::Index5Rule::ParamNibble ? (first_payload_byte & 0x0F)
                                                   : first_payload_byte;
}

// Seals an answer frame in place: the length field and the checksum over the whole frame.
void Seal(std::vector<uint8_t>& frame) {
  const size_t length_field = frame.size() - 2;
  frame[3] = static_cast<uint8_t>(length_field >> 8);
  frame[4] = static_cast<uint8_t>(length_field & 0xFF);
  frame[frame.size() - 2] = 0;
  frame[frame.size() - 1] = 0;
  const uint16_t crc = protocol::Crc16Compute(frame.data(), frame.size());
  frame[frame.size() - 2] = static_cast<uint8_t>(crc >> 8);
  frame[frame.size() - 1] = static_cast<uint8_t>(crc & 0xFF);
}

std::vector<uint8_t> Frame(int32_t id, std::span<const uint8_t> payload) {
  std::vector<uint8_t> frame(payload.size() + kFrameOverhead, 0);
  frame[0] = kAnswerStart;
  frame[1] = static_cast<uint8_t>(protocol::MessageCode(id));
  std::copy(payload.begin(), payload.end(), frame.begin() + kHeader);
  Seal(frame);
  return frame;
}

// The 8-byte acknowledgement of a write: one payload byte, 0 for success.
std::vector<uint8_t> Acknowledgement(int32_t id) {
  const uint8_t ok = 0;
  return Frame(id, std::span<const uint8_t>(&ok, 1));
}

bool Contains(std::span<const int32_t> ids, int32_t id) {
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

// The length of the image behind an area: the payload of the read's answer, or of the write
// when the area has no read.
size_t ImageLength(int32_t area) {
  const MessageRow* row = FindMessage(area);
  if (row == nullptr) return 0;
  if (row->answer > kAckLength) return static_cast<size_t>(row->answer) - kFrameOverhead;
  if (row->kind == MessageKind::Write && row->length > static_cast<int16_t>(kFrameOverhead)) {
    return static_cast<size_t>(row->length) - kFrameOverhead;
  }
  return 0;
}

}  // namespace

bool Unit::SupportsType(int32_t type) {
  return DefaultProductCode(type) >= 0;
}

Unit::Unit(int32_t type, int32_t variant) : Unit(type, variant, DefaultProductCode(type)) {}

Unit::Unit(int32_t type, int32_t variant, int32_t product_code)
    : type_(type), variant_(variant), product_code_(product_code) {
  if (!SupportsType(type)) {
    throw std::invalid_argument("no simulated unit of type " + std::to_string(type));
  }
  if (variant < 0 || variant > 15) {
    throw std::invalid_argument("variant outside 0..15: " + std::to_string(variant));
  }
  if (product_code < 0 || product_code > 255) {
    throw std::invalid_argument("product code outside 0..255: " + std::to_string(product_code));
  }
  if (codec::GroupOfType(type) == codec::UnitGroup::Older) {
    memory_[0].assign(kRawMemoryBytes, 0);
  } else {
    const int32_t size =
        codec::GroupOfType(type) == codec::UnitGroup::B ? kLargerMemoryBytes : kNewerMemoryBytes;
    for (auto& bank : memory_)
      bank.assign(static_cast<size_t>(size), 0);
  }
  identity_ = DefaultIdentification(type, product_code, variant);
  refresh_identification_image();
}

Identification Unit::identification() const {
  std::lock_guard guard(lock_);
  return identity_;
}

void Unit::set_identification(const Identification& identity) {
  std::lock_guard guard(lock_);
  identity_ = identity;
  identity_.product_code = product_code_;
  identity_.variant = variant_;
  refresh_identification_image();
}

// The serial answer carries as much of the identification as fits the image of 9021; the short
// form carries all of it.
void Unit::refresh_identification_image() {
  const IdentificationBytes bytes = EncodeIdentification(type_, identity_);
  auto& image = image_slot(kIdentify, 0, ImageLength(kIdentify));
  std::copy_n(bytes.begin(), std::min(image.size(), bytes.size()), image.begin());
}

int32_t Unit::AreaOf(int32_t id) {
  for (const auto& pair : kAreaPairs) {
    if (pair.write == id) return pair.read;
  }
  return id;
}

std::vector<uint8_t>& Unit::image_slot(int32_t area, int32_t param, size_t length) {
  auto [it, fresh] = images_.try_emplace(ImageKey{area, param});
  if (fresh) {
    it->second.assign(length, 0);
    // A sub-image starts with its own number, as the unit echoes it in every answer.
    const MessageRow* row = FindMessage(area);
    if (row != nullptr && IsParameterised(*row) && length > 0) {
      it->second[0] = static_cast<uint8_t>(param);
    }
  }
  return it->second;
}

std::vector<uint8_t> Unit::image(int32_t id, int32_t param) const {
  const int32_t area = AreaOf(id);
  const size_t length = ImageLength(area);
  if (length == 0) return {};
  std::lock_guard guard(lock_);
  const auto it = images_.find(ImageKey{area, param});
  if (it != images_.end()) return it->second;
  std::vector<uint8_t> fresh(length, 0);
  const MessageRow* row = FindMessage(area);
  if (IsParameterised(*row)) fresh[0] = static_cast<uint8_t>(param);
  return fresh;
}

bool Unit::set_image(int32_t id, int32_t param, std::span<const uint8_t> payload) {
  const int32_t area = AreaOf(id);
  const size_t length = ImageLength(area);
  if (length == 0 || payload.size() > length) return false;
  std::lock_guard guard(lock_);
  auto& slot = image_slot(area, param, length);
  std::fill(slot.begin(), slot.end(), 0);
  std::copy(payload.begin(), payload.end(), slot.begin());
  return true;
}

bool Unit::memory_range(int32_t bank, int64_t address, int64_t count) const {
  if (bank < 0 || bank > 1) return false;
  const auto size = static_cast<int64_t>(memory_[static_cast<size_t>(bank)].size());
  return address >= 0 && count >= 0 && address + count <= size;
}

std::vector<uint8_t> Unit::memory(int32_t address, int32_t count, int32_t bank) const {
  std::lock_guard guard(lock_);
  if (!memory_range(bank, address, count)) return {};
  const auto& memory = memory_[static_cast<size_t>(bank)];
  return {memory.begin() + address, memory.begin() + address + count};
}

bool Unit::set_memory(int32_t address, std::span<const uint8_t> bytes, int32_t bank) {
  std::lock_guard guard(lock_);
  if (!memory_range(bank, address, static_cast<int64_t>(bytes.size()))) return false;
  std::copy(bytes.begin(), bytes.end(), memory_[static_cast<size_t>(bank)].begin() + address);
  return true;
}

void Unit::queue_fault(const Fault& fault) {
  std::lock_guard guard(lock_);
  faults_.push_back(fault);
}

void Unit::clear_faults() {
  std::lock_guard guard(lock_);
  faults_.clear();
  silent_ = false;  // a unit that fell silent speaks again
}

std::vector<LoggedRequest> Unit::requests() const {
  std::lock_guard guard(lock_);
  return log_;
}

void Unit::clear_requests() {
  std::lock_guard guard(lock_);
  log_.clear();
}

std::vector<uint8_t> Unit::handle(const RawRequest& request) {
  const auto& bytes = request.bytes;
  if (bytes.size() < kFrameOverhead) return {};
  LoggedRequest entry;
  entry.id = 9000 + bytes[1];
  entry.payload.assign(bytes.begin() + kHeader, bytes.end() - 2);
  entry.recoded = request.recoded;
  entry.checksum_ok = request.checksum_ok;

  const MessageRow* row = FindMessage(entry.id);
  const auto& payload = entry.payload;
  if (row != nullptr && IsParameterised(*row) && !payload.empty()) {
    entry.param = SubImageOf(*row, payload[0]);
  } else if ((entry.id == kBlockWrite || entry.id == kBlockRead) && payload.size() >= 2) {
    entry.param = payload[0] | payload[1] << 8;
  } else if (entry.id == kBlockWriteLead && payload.size() >= 3) {
    entry.param = payload[1] | payload[2] << 8;
  }

  std::lock_guard guard(lock_);
  log_.push_back(entry);
  if (!entry.checksum_ok || row == nullptr || silent_) return {};
  if (entry.id == kCommandNoAnswer || entry.id == kKeepAlive) return {};
  if (Contains(kFileMessages, entry.id)) return file_answer(entry);

  std::vector<uint8_t> answer;
  if (entry.id == kBlockWrite || entry.id == kBlockWriteLead) {
    // Address low and high, then the block (after the leading byte for 9035).
    const size_t skip = entry.id == kBlockWriteLead ? 3 : 2;
    if (payload.size() <= skip) return {};
    if (!memory_range(0, entry.param, static_cast<int64_t>(payload.size() - skip))) return {};
    std::copy(payload.begin() + static_cast<std::ptrdiff_t>(skip), payload.end(),
              memory_[0].begin() + entry.param);
    answer = Acknowledgement(entry.id);
  } else if (entry.id == kBlockRead) {
    // Address low and high and the count; the answer repeats the address before the block.
    if (payload.size() < 3) return {};
    const int32_t count = payload[2];
    if (count == 0 || !memory_range(0, entry.param, count)) return {};
    std::vector<uint8_t> block{payload[0], payload[1]};
    const auto from = memory_[0].begin() + entry.param;
    block.insert(block.end(), from, from + count);
    answer = Frame(entry.id, block);
  } else if (row->answer == kAckLength) {
    if (row->kind == MessageKind::Write) {
      const int32_t area = AreaOf(entry.id);
      auto& slot = image_slot(area, entry.param, ImageLength(area));
      std::copy_n(payload.begin(), std::min(payload.size(), slot.size()), slot.begin());
    }
    answer = Acknowledgement(entry.id);
  } else if (row->answer > kAckLength) {
    const int32_t area = AreaOf(entry.id);
    const auto length = static_cast<size_t>(row->answer) - kFrameOverhead;
    answer = Frame(entry.id, image_slot(area, entry.param, length));
  } else {
    return {};  // the unit does not answer this message
  }
  return apply_faults(entry.id, std::move(answer));
}

bool Unit::set_exercise_memory(std::vector<uint8_t> image) {
  if (image.size() > kMaxTrainBytes) return false;
  std::lock_guard guard(lock_);
  exercise_memory_ = std::move(image);
  return true;
}

void Unit::set_exercise_files(std::vector<std::vector<uint8_t>> files) {
  std::lock_guard guard(lock_);
  files_ = std::move(files);
}

void Unit::start_listen_transfer() {
  std::lock_guard guard(lock_);
  build_train(protocol::MessageCode(kFileRead), exercise_memory_);
  listen_next_ = 0;
  listening_ = true;
}

std::vector<uint8_t> Unit::next_spontaneous() {
  std::lock_guard guard(lock_);
  if (!listening_) return {};
  if (listen_next_ >= train_.size()) {
    listening_ = false;
    return {};
  }
  train_at_ = listen_next_++;
  return train_packet(train_at_);
}

bool Unit::take_train_fault(FaultKind kind, size_t packet) {
  const auto it = std::find_if(faults_.begin(), faults_.end(), [&](const Fault& f) {
    return f.kind == kind && f.packet == static_cast<int32_t>(packet);
  });
  if (it == faults_.end()) return false;
  faults_.erase(it);
  return true;
}

// Splits the data into packets of kPacketData bytes that count down to 0; the first carries the
// count in its number byte, with bit 7 set.
void Unit::build_train(int32_t code, const std::vector<uint8_t>& data) {
  train_.clear();
  train_at_ = 0;
  const size_t packets = std::max<size_t>(1, (data.size() + kPacketData - 1) / kPacketData);
  for (size_t i = 0; i < packets; ++i) {
    const auto number = static_cast<uint8_t>(packets - 1 - i);
    std::vector<uint8_t> payload{
        static_cast<uint8_t>(i == 0 ? (number | kFirstPacketBit) : number)};
    const size_t from = std::min(data.size(), i * kPacketData);
    const size_t to = std::min(data.size(), from + kPacketData);
    payload.insert(payload.end(), data.begin() + static_cast<std::ptrdiff_t>(from),
                   data.begin() + static_cast<std::ptrdiff_t>(to));
    train_.push_back(Frame(9000 + code, payload));
  }
}

// A single file: a 15-bit packet number (high byte first, bit 7 marking the first packet); the
// first packet then carries the file size (32 bits, low byte first), the file index (16 bits,
// low first) and a zero byte before its data.
void Unit::build_file_train(int32_t file_index, int32_t byte_limit) {
  train_.clear();
  train_at_ = 0;
  const auto& file = files_[static_cast<size_t>(file_index)];
  const size_t length =
      byte_limit == 0 ? file.size() : std::min(file.size(), static_cast<size_t>(byte_limit));
  const size_t packets = std::max<size_t>(1, (length + kPacketData - 1) / kPacketData);
  const uint32_t size =
      take_train_fault(FaultKind::OversizeFile, 0) ? kOversize : static_cast<uint32_t>(length);
  for (size_t i = 0; i < packets; ++i) {
    const size_t number = packets - 1 - i;
    std::vector<uint8_t> payload{static_cast<uint8_t>((number >> 8) | (i == 0 ? 0x80 : 0)),
                                 static_cast<uint8_t>(number & 0xFF)};
    if (i == 0) {
      for (int b = 0; b < 4; ++b)
        payload.push_back(static_cast<uint8_t>(size >> (8 * b)));
      payload.push_back(static_cast<uint8_t>(file_index & 0xFF));
      payload.push_back(static_cast<uint8_t>((file_index >> 8) & 0xFF));
      payload.push_back(0);
    }
    const size_t from = i * kPacketData;
    const size_t to = std::min(length, from + kPacketData);
    payload.insert(payload.end(), file.begin() + static_cast<std::ptrdiff_t>(from),
                   file.begin() + static_cast<std::ptrdiff_t>(to));
    train_.push_back(Frame(kSingleFile, payload));
  }
}

// Packet `index` of the current train as it goes on the line, after the train faults.
std::vector<uint8_t> Unit::train_packet(size_t index) {
  if (silent_ || index >= train_.size()) return {};
  if (take_train_fault(FaultKind::FallSilent, index)) {
    silent_ = true;
    return {};
  }
  if (take_train_fault(FaultKind::DropPacket, index)) return {};
  const std::vector<uint8_t>& frame = train_[index];
  return apply_faults(9000 + frame[1], frame);
}

std::vector<uint8_t> Unit::file_answer(const LoggedRequest& request) {
  const auto& payload = request.payload;
  switch (request.id) {
    case kFileRead:
      build_train(protocol::MessageCode(kFileRead), exercise_memory_);
      return train_packet(0);
    case kSingleFile: {
      // File index (low, high), byte limit, the packet wanted (high, low).
      if (payload.size() < 5) return {};
      const int32_t index = payload[0] | payload[1] << 8;
      const int32_t wanted = payload[3] << 8 | payload[4];
      if (wanted == kFromFirstPacket) {
        if (static_cast<size_t>(index) >= files_.size()) return {};
        build_file_train(index, payload[2]);
        return train_packet(0);
      }
      const auto count = static_cast<int32_t>(train_.size());
      if (wanted >= count) return {};
      train_at_ = static_cast<size_t>(count - 1 - wanted);
      return train_packet(train_at_);
    }
    case kPacketAck:
      if (train_.empty()) return {};
      if (take_train_fault(FaultKind::RepeatPacket, train_at_)) return train_packet(train_at_);
      if (train_at_ + 1 >= train_.size()) return {};  // the train is over
      return train_packet(++train_at_);
    case kPacketNak:
      return train_packet(train_at_);
    default:
      return {};
  }
}

std::vector<uint8_t> Unit::apply_faults(int32_t id, std::vector<uint8_t> answer) {
  const auto it = std::find_if(faults_.begin(), faults_.end(), [id](const Fault& fault) {
    // The answer faults come first in FaultKind; the packet-train faults act in the train.
    return fault.kind <= FaultKind::WrongCode && (fault.message == 0 || fault.message == id);
  });
  if (it == faults_.end()) return answer;
  const Fault fault = *it;
  if (!fault.for_good) faults_.erase(it);

  switch (fault.kind) {
    case FaultKind::Noise:
      answer.insert(answer.begin(), std::begin(kNoise), std::end(kNoise));
      break;
    case FaultKind::Start5D:
      answer[0] = kAnswerStartAlt;
      break;
    case FaultKind::FlippedBit:
      answer[kHeader] ^= 0x01;
      break;
    case FaultKind::NoAnswer:
      answer.clear();
      break;
    case FaultKind::WrongCode:
      answer[1] ^= kWrongCodeBit;
      Seal(answer);
      break;
    default:
      break;  // packet-train faults act where the train is sent
  }
  return answer;
}

}  // namespace quibra::sim
