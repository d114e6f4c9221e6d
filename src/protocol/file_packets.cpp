#include "protocol/file_packets.h"

#include <array>

#include "frame/module.h"
#include "frame/state_flags.h"
#include "protocol/catalogue.h"
#include "protocol/checksum.h"
#include "protocol/message_ids.h"
#include "protocol/message_image.h"

namespace quibra::protocol {
namespace {

constexpr uint8_t kFirstPacketBit = 0x80;

// Where the fields of a packet lie (byte numbers from 1). Sizes and 16-bit values are read in
// the byte order given.
struct PacketLayout {
  int number_at;
  int number_bytes;  // 1 or 2; bit 7 of the first of them marks the first packet
  int size_at;
  int size_bytes;
  bool size_low_first;
  int value1_at;
  int value1_bytes;  // 16-bit values are low byte first
  int value2_at;
  int first_data_at;  // first stored byte of the first packet
  int data_at;        // first stored byte of every later packet
};

constexpr PacketLayout kSerialTrain{6, 1, 7, 2, false, 9, 1, 10, 7, 7};
constexpr PacketLayout kIrdaTrain{2, 2, 4, 2, false, 6, 1, 7, 4, 4};
constexpr PacketLayout kSerialSingleFile{6, 2, 8, 4, true, 12, 2, 14, 15, 8};
constexpr PacketLayout kIrdaSingleFile{2, 2, 4, 4, true, 8, 2, 10, 11, 4};

const PacketLayout& LayoutOf(int32_t id, PacketForm form) {
  if (id == msg::kSingleFile)
    return form == PacketForm::Serial ? kSerialSingleFile : kIrdaSingleFile;
  return form == PacketForm::Serial ? kSerialTrain : kIrdaTrain;
}

// A big- or little-endian value of `bytes` bytes at byte number `at` (from 1).
int32_t ReadValue(const uint8_t* answer, int at, int bytes, bool low_first) {
  uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) {
    const uint32_t b = answer[at - 1 + (low_first ? bytes - 1 - i : i)];
    v = (v << 8) | b;
  }
  // A 32-bit size beyond the signed range is oversize all the same.
  return v > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int32_t>(v);
}

Engine& engine() {
  return module().engine;
}

int32_t counter(int index) {
  return engine().counters[static_cast<size_t>(index)];
}

void set_counter(int index, int32_t value) {
  engine().counters[static_cast<size_t>(index)] = value;
}

// A single file's first packet names the file it starts (its 16-bit header value). One that
// names another is a late answer to an earlier request (a listing or download of another file,
// asked twice because its answer was slow): it fails the packet, as an oversize one does, rather
// than start this file with that one. Checked once the whole packet is in.
bool NamesAnotherFile(int32_t id, const PacketHeader& first) {
  return id == msg::kSingleFile &&
         first.value1 != (module().transfer.download.file_index & 0xFFFF);
}

}  // namespace

PacketHeader ReadPacketHeader(int32_t id, PacketForm form, const uint8_t* answer, int count) {
  const PacketLayout& l = LayoutOf(id, form);
  PacketHeader h;
  if (count < l.number_at + l.number_bytes - 1) return h;
  const uint8_t lead = answer[l.number_at - 1];
  h.first = (lead & kFirstPacketBit) != 0;
  h.number = lead & ~kFirstPacketBit;
  if (l.number_bytes == 2) h.number = h.number * 256 + answer[l.number_at];
  if (!h.first) {
    h.complete = true;
    h.data_at = l.data_at;
    return h;
  }
  if (count < l.size_at + l.size_bytes - 1) return h;
  h.complete = true;
  h.size = ReadValue(answer, l.size_at, l.size_bytes, l.size_low_first);
  h.data_at = l.first_data_at;
  if (count >= l.value1_at + l.value1_bytes - 1) {
    h.value1 = ReadValue(answer, l.value1_at, l.value1_bytes, true);
  }
  if (count >= l.value2_at) h.value2 = answer[l.value2_at - 1];
  return h;
}

int32_t BuildSingleFileRequest(int32_t file_index, int32_t byte_limit, int32_t wanted, uint8_t* out,
                               int32_t capacity) {
  if (out == nullptr || capacity < kSingleFileRequestBytes) return 0;
  std::array<uint8_t, kSingleFileRequestBytes> f{};
  f[0] = kRequestStart;
  f[1] = static_cast<uint8_t>(MessageCode(msg::kSingleFile));
  f[4] = kSingleFileRequestBytes - 2;  // the length: the index of the first checksum byte
  f[5] = static_cast<uint8_t>(file_index & 0xFF);
  f[6] = static_cast<uint8_t>((file_index >> 8) & 0xFF);
  f[7] = static_cast<uint8_t>(byte_limit & 0xFF);
  f[8] = static_cast<uint8_t>((wanted >> 8) & 0xFF);
  f[9] = static_cast<uint8_t>(wanted & 0xFF);
  const uint16_t crc = Crc16Compute(f.data(), f.size());
  f[10] = static_cast<uint8_t>(crc >> 8);
  f[11] = static_cast<uint8_t>(crc & 0xFF);
  for (size_t i = 0; i < f.size(); ++i)
    out[i] = f[i];
  return kSingleFileRequestBytes;
}

void FilePackets::begin(int32_t /*id*/) {
  wanted_ = kFromFirstPacket;
}

bool FilePackets::take_first_packet(const PacketHeader& header) {
  // The whole file must fit the exercise memory buffer; a larger one fails the packet (and so
  // the exchange, which is then tried again).
  if (header.size < 0 || header.size > kMaxFileBytes) return false;
  set_counter(kCounterPackets, header.number);
  set_counter(kCounterPacketNumber, header.number);
  set_counter(kCounterFileSize, header.size);
  set_counter(kCounterProgressTotal, header.number + 1);
  set_counter(kCounterProgressDone, 0);
  if (counter(kCounterPacketStored) == 0) set_counter(kCounterExpectedPacket, header.number);
  return true;
}

bool FilePackets::check_header(int32_t id, const uint8_t* answer, int count) {
  const PacketHeader h = ReadPacketHeader(id, PacketForm::Serial, answer, count);
  if (!h.complete) return true;  // not all of it is in yet
  if (!h.first) {
    set_counter(kCounterPacketNumber, h.number);
    return true;
  }
  return take_first_packet(h);
}

int32_t FilePackets::store_data(const PacketHeader& header, const uint8_t* answer, int end) {
  Module& mod = module();
  Engine& e = mod.engine;
  set_counter(kCounterPacketNumber, header.number);
  if (header.first) {
    set_counter(kCounterHeaderValue1, header.value1);
    set_counter(kCounterHeaderValue2, header.value2);
  }
  // Only the packet expected next is stored: a packet the unit repeats is taken once. Nothing
  // is stored before the first packet, which announces the count that numbers the others: a
  // later packet that comes when the first was lost (the unit went on with its train while the
  // library asked again) would otherwise pass for the whole file.
  const bool started = header.first || counter(kCounterPacketStored) != 0;
  if (started && counter(kCounterExpectedPacket) == header.number) {
    int32_t total = counter(kCounterBytesStored);
    for (int b = header.data_at; b <= end; ++b) {
      if (!mod.exercise_memory.store(total + 1, answer[b - 1])) return 0;
      ++total;
    }
    mod.exercise_memory.set_count(total);
    set_counter(kCounterPacketStored, 1);
    set_counter(kCounterExpectedPacket, header.number - 1);
    set_counter(kCounterBytesStored, total);
    set_counter(kCounterProgressDone, counter(kCounterPackets) - header.number + 1);
  }
  // The download is complete once packet 0 has been stored after all the others. A last
  // packet that arrives after a gap does not complete it: the buffer would not hold the file.
  if (header.number == 0 && counter(kCounterExpectedPacket) < 0) {
    e.answer_class = kNoAnswerExpected;
    return kStatusCompleted;
  }
  return kStatusFilePacket;
}

int32_t FilePackets::store_packet(int32_t id, const uint8_t* answer, int length) {
  const PacketHeader h = ReadPacketHeader(id, PacketForm::Serial, answer, length);
  if (!h.complete || h.data_at > length - 1) return 0;
  // The checks made while the packet arrived are made again: the receiver may have taken it
  // before the byte that runs them (a short packet).
  if (h.first && (NamesAnotherFile(id, h) || !take_first_packet(h))) return 0;
  return store_data(h, answer, length - 2);
}

int32_t FilePackets::store_irda_packet(int32_t id, const uint8_t* answer, int received) {
  const PacketHeader h = ReadPacketHeader(id, PacketForm::Irda, answer, received);
  if (!h.complete || h.data_at > received + 1) return 0;
  if (h.first) {
    module().statuses.set(msg::kCollectiveStatus, kStatusArriving);
    if (NamesAnotherFile(id, h) || !take_first_packet(h)) return 0;
  }
  return store_data(h, answer, received);
}

void FilePackets::continue_download(int32_t id) {
  Module& mod = module();
  Engine& e = mod.engine;
  const int32_t status = mod.statuses.get(id, false);
  if (id == msg::kListen) {
    if (status == kStatusCompleted && counter(kCounterPacketNumber) < 1) {
      mod.statuses.set(msg::kCollectiveStatus, kStatusCompleted);
      return;
    }
    // Keep listening: the unit sends the next packet on its own.
    frame::SetStateFlag(frame::kFlagAnswerPending, 1);
    e.answer_class = kListenOnly;
    return;
  }
  int32_t next = 0;
  if (status == kStatusCompleted || status == kStatusFilePacket) {
    if (status == kStatusCompleted) e.answer_class = kNoAnswerExpected;
    next = msg::kPacketAck;
  } else if (counter(kCounterPacketStored) != 0) {
    // Some packets came: ask for the missing one again. (The count and the number just received
    // are equal after the first packet, so the stored marker is what tells that one came.)
    next = msg::kPacketNak;
  } else {
    return;  // nothing came: the request itself goes out again
  }
  if (id == msg::kSingleFile && mod.transfer.download.file_index != 0) {
    // The request names the packet it wants: the next one, or the missing one again.
    wanted_ = counter(kCounterExpectedPacket);
    e.param = 0;
    // This form has no acknowledgement after the last packet: the download is complete now.
    if (status == kStatusCompleted) mod.statuses.set(msg::kCollectiveStatus, kStatusCompleted);
    return;
  }
  // The send step reports the completion once the last acknowledgement is out.
  if (status == kStatusCompleted) e.completion_after_send = true;
  e.param = next;
}

int32_t FilePackets::request_frame(int32_t id, uint8_t* out, int32_t capacity) {
  if (id != msg::kSingleFile) return 0;
  const int32_t index =
      GetMessageByte(msg::kSingleFile, 0, 5) | GetMessageByte(msg::kSingleFile, 0, 6) << 8;
  return BuildSingleFileRequest(index, GetMessageByte(msg::kSingleFile, 0, 7), wanted_, out,
                                capacity);
}

}  // namespace quibra::protocol
