#include "unit.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <string>

#include "codec/product_codes.h"
#include "crc16.h"
#include "file_packets.h"
#include "irda_frame.h"
#include "j9_unit.h"
#include "memory_use.h"
#include "prvc_areas.h"
#include "sim/encoders/fitness_encoders.h"
#include "outdoor_images.h"
#include "wire_table.h"

namespace quibra::sim {

namespace {

constexpr uint8_t kAnswerStartAlt = 0x5D;
constexpr int32_t kFromFirstPacket = 0xFFFF;
// Line noise: anything but the two answer start bytes.
constexpr uint8_t kNoise[] = {0x00, 0x3A, 0xFF, 0xA5};
// The bit a WrongCode fault flips in the code byte.
constexpr uint8_t kWrongCodeBit = 0x40;
constexpr uint8_t kAccepted = 0;

// Seals an answer frame in place: the length field and the checksum over the whole frame.
void Seal(std::vector<uint8_t>& frame) {
  const size_t length_field = frame.size() - 2;
  frame[3] = static_cast<uint8_t>(length_field >> 8);
  frame[4] = static_cast<uint8_t>(length_field & 0xFF);
  Crc16Seal(frame);
}

std::vector<uint8_t> Frame(uint8_t code, std::span<const uint8_t> payload) {
  std::vector<uint8_t> frame(payload.size() + kFrameOverhead, 0);
  frame[0] = kAnswerStart;
  frame[1] = code;
  std::copy(payload.begin(), payload.end(), frame.begin() + kFrameHeader);
  Seal(frame);
  return frame;
}

// The acknowledgement of a write: its status byte (0 for success) fills the payload.
std::vector<uint8_t> Acknowledgement(uint8_t code, int32_t length = kAckLength) {
  const std::vector<uint8_t> status(static_cast<size_t>(length) - kFrameOverhead, kAccepted);
  return Frame(code, status);
}

uint32_t Le16(std::span<const uint8_t> bytes, size_t at) {
  return static_cast<uint32_t>(bytes[at]) | static_cast<uint32_t>(bytes[at + 1]) << 8;
}

}  // namespace

// The block a block request names. Serial and short form carry the same bytes after the code:
// (the leading byte,) the address low and high, then the block, or for a read its length. The
// unit takes only the blocks of its table, so a request of another address or length is refused.
std::optional<Block> Unit::BlockOf(int32_t type, const WireRow& row,
                                   std::span<const uint8_t> payload) {
  const size_t lead = row.msg == Msg::kBlockWriteLead ? 1 : 0;
  if (payload.size() < lead + 3) return std::nullopt;
  const auto address = static_cast<int32_t>(Le16(payload, lead));
  const int32_t count = row.msg == Msg::kBlockRead
                            ? (payload.size() == 3 ? payload[2] : -1)
                            : static_cast<int32_t>(payload.size() - lead - 2);
  if (count < 0) return std::nullopt;
  if (type == kJ9Type) {
    if (const auto block = FindJ9Block(address, count)) return block;
  }
  return FindBlock(address, count);
}

int32_t Unit::ParamOf(const WireRow* row, std::span<const uint8_t> payload) {
  if (row == nullptr || payload.empty()) return 0;
  if (row->role == Role::kBlock) {
    const size_t lead = row->msg == Msg::kBlockWriteLead ? 1 : 0;
    return payload.size() >= lead + 2 ? static_cast<int32_t>(Le16(payload, lead)) : 0;
  }
  const AreaRow* area = FindArea(row->area);
  return area == nullptr ? 0 : SubImageNumber(area->sub, payload[0]);
}

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
  if (type == kJ9Type) {
    memory_[0].assign(kJ9MemoryBytes, 0);
  } else if (codec::GroupOfType(type) == codec::UnitGroup::Older) {
    memory_[0].assign(kRawMemoryBytes, 0);
  } else {
    const int32_t size =
        codec::GroupOfType(type) == codec::UnitGroup::B ? kLargerMemoryBytes : kNewerMemoryBytes;
    for (auto& bank : memory_)
      bank.assign(static_cast<size_t>(size), 0);
  }
  identity_ = DefaultIdentification(type, product_code, variant);
  refresh_identification_image();
  LayFactoryAreas(*this);
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

// The serial answer carries as much of the identification as fits the area of kIdentify; the
// short form of the newer units carries all of it.
void Unit::refresh_identification_image() {
  const IdentificationBytes bytes = EncodeIdentification(type_, identity_);
  auto& image = image_slot(Msg::kIdentify, 0);
  std::copy_n(bytes.begin(), std::min(image.size(), bytes.size()), image.begin());
}

// The area behind a read or write message, or null.
const AreaRow* Unit::AreaOfMessage(int32_t id) {
  const WireRow* row = FindWireRow(id);
  return row == nullptr ? nullptr : FindArea(row->area);
}

std::vector<uint8_t>& Unit::image_slot(Msg area, int32_t param) {
  auto [it, fresh] = images_.try_emplace(ImageKey{IdOf(area), param});
  if (fresh) {
    const AreaRow* row = FindArea(area);
    it->second.assign(static_cast<size_t>(row == nullptr ? 0 : AreaBytes(*row, type_)), 0);
    // A sub-image starts with its own number, as the unit echoes it in every answer.
    if (row != nullptr && row->sub != SubImage::kNone && !it->second.empty()) {
      it->second[0] = static_cast<uint8_t>(param);
    }
  }
  return it->second;
}

std::vector<uint8_t> Unit::image(int32_t id, int32_t param) const {
  const AreaRow* area = AreaOfMessage(id);
  if (area == nullptr) return {};
  std::lock_guard guard(lock_);
  const auto it = images_.find(ImageKey{IdOf(area->area), param});
  if (it != images_.end()) return it->second;
  std::vector<uint8_t> fresh(static_cast<size_t>(AreaBytes(*area, type_)), 0);
  if (area->sub != SubImage::kNone) fresh[0] = static_cast<uint8_t>(param);
  return fresh;
}

bool Unit::set_image(int32_t id, int32_t param, std::span<const uint8_t> payload) {
  const AreaRow* area = AreaOfMessage(id);
  if (area == nullptr || payload.size() > static_cast<size_t>(AreaBytes(*area, type_))) {
    return false;
  }
  std::lock_guard guard(lock_);
  auto& slot = image_slot(area->area, param);
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

void Unit::reset_conversation() {
  std::lock_guard guard(lock_);
  train_.clear();
  train_at_ = 0;
  listen_next_ = 0;
  listening_ = false;
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
  entry.id = kMessageBase + bytes[1];
  entry.payload.assign(bytes.begin() + kFrameHeader, bytes.end() - 2);
  entry.recoded = request.recoded;
  entry.checksum_ok = request.checksum_ok;

  const WireRow* row = FindWireRow(entry.id);
  // Some types take their logo in the code of another message, told apart by its length.
  if (row != nullptr && IsForeignLogo(*row, type_, bytes.size())) {
    row = FindWireRow(IdOf(Msg::kLogoWrite));
  }
  const auto& payload = entry.payload;
  entry.param = ParamOf(row, payload);
  std::optional<Block> block;
  if (row != nullptr && row->role == Role::kBlock) {
    block = BlockOf(type_, *row, payload);
    entry.length_ok = block.has_value();
  } else {
    entry.length_ok = row != nullptr && TakesRequest(*row, type_, bytes.size());
  }

  std::lock_guard guard(lock_);
  log_.push_back(entry);
  if (!entry.checksum_ok || !entry.length_ok || silent_) return {};
  // The answer carries the code of the message as the unit took it (a logo in another code is
  // acknowledged as a logo).
  const uint8_t code = CodeOf(row->msg);

  std::vector<uint8_t> answer;
  switch (row->role) {
    case Role::kFile:
      return file_answer(entry);
    case Role::kDirect:
      return {};
    case Role::kBlock: {
      auto& memory = memory_[0];
      if (!memory_range(0, block->address, block->count)) return {};
      const auto at = memory.begin() + block->address;
      if (row->msg == Msg::kBlockRead) {
        // The answer repeats the address before the block.
        std::vector<uint8_t> data(payload.begin(), payload.begin() + 2);
        data.insert(data.end(), at, at + block->count);
        answer = Frame(code, data);
      } else {
        std::copy(payload.end() - block->count, payload.end(), at);
        answer = Acknowledgement(code);
      }
      break;
    }
    case Role::kRead: {
      if (row->msg == Msg::kQuery72 && type_ == kJ9Type) TakeJ9Programme(memory_[0]);
      if (row->msg == Msg::kIdentify && codec::GroupOfType(type_) != codec::UnitGroup::Older) {
        // The whole identification, in a frame longer than the request's table length: the
        // library takes an answer's length from its length field.
        const std::vector<uint8_t> whole = short_identification();
        answer = Frame(code, std::span(whole).subspan(1));
        break;
      }
      const auto& area = image_slot(row->area, entry.param);
      answer = Frame(code, ReadAnswerData(row->area, area,
                                          static_cast<size_t>(row->answer) - kFrameOverhead));
      break;
    }
    case Role::kWrite: {
      auto& area = image_slot(row->area, entry.param);
      std::copy_n(payload.begin(), std::min(payload.size(), area.size()), area.begin());
      if (const std::optional<Msg> cleared = AreaClearedBy(row->msg)) {
        auto& other = image_slot(*cleared, 0);
        std::fill(other.begin(), other.end(), 0);
      }
      if (row->answer == 0) return {};
      answer = Acknowledgement(code, row->answer);
      break;
    }
    case Role::kCommand:
      if (row->answer == 0) return {};
      answer = Acknowledgement(code, row->answer);
      break;
  }
  return apply_faults(entry.id, std::move(answer));
}

bool Unit::set_exercise_memory(std::vector<uint8_t> image) {
  if (image.size() > kMaxTrainBytes) return false;
  std::lock_guard guard(lock_);
  exercise_memory_ = std::move(image);
  count_exercises();
  return true;
}

void Unit::set_exercise_files(std::vector<std::vector<uint8_t>> files) {
  std::lock_guard guard(lock_);
  files_ = std::move(files);
  count_exercises();
}

// The older units send their exercises as one memory, the newer ones file by file; each counts
// what it would send.
void Unit::count_exercises() {
  const MemoryUse use = codec::GroupOfType(type_) == codec::UnitGroup::Older
                            ? MemoryUseOfImage(type_, exercise_memory_)
                            : MemoryUseOfFiles(files_);
  identity_.files = use.files;
  identity_.used_memory = use.used;
  refresh_identification_image();
}

void Unit::start_listen_transfer() {
  std::lock_guard guard(lock_);
  build_train(CodeOf(Msg::kFileRead), exercise_memory_);
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

// A 9011 train: the exercise memory in packets of kPacketData bytes, numbered in one byte.
void Unit::build_train(uint8_t code, const std::vector<uint8_t>& data) {
  train_.clear();
  train_at_ = 0;
  for (const auto& payload : NumberedPackets(data, kPacketData, 1))
    train_.push_back(Frame(code, payload));
}

// A single file: packets numbered in two bytes, the first carrying the file's header.
void Unit::build_file_train(int32_t file_index, int32_t byte_limit) {
  train_.clear();
  train_at_ = 0;
  const auto& file = files_[static_cast<size_t>(file_index)];
  const size_t length =
      byte_limit == 0 ? file.size() : std::min(file.size(), static_cast<size_t>(byte_limit));
  const uint32_t size =
      take_train_fault(FaultKind::OversizeFile, 0) ? kOversizeFile : static_cast<uint32_t>(length);
  for (const auto& payload : NumberedPackets(std::span(file).first(length), kPacketData, 2,
                                             SingleFileHead(size, file_index))) {
    train_.push_back(Frame(CodeOf(Msg::kSingleFile), payload));
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
  return apply_faults(kMessageBase + frame[1], frame);
}

std::vector<uint8_t> Unit::file_answer(const LoggedRequest& request) {
  const auto& payload = request.payload;
  switch (static_cast<Msg>(request.id)) {
    case Msg::kFileRead:
      build_train(CodeOf(Msg::kFileRead), exercise_memory_);
      return train_packet(0);
    case Msg::kSingleFile: {
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
    case Msg::kPacketAck:
      if (train_.empty()) return {};
      if (take_train_fault(FaultKind::RepeatPacket, train_at_)) return train_packet(train_at_);
      if (train_at_ + 1 >= train_.size()) return {};  // the train is over
      return train_packet(++train_at_);
    case Msg::kPacketNak:
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
      answer[kFrameHeader] ^= 0x01;
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
