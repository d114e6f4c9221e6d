#include "protocol/message_image.h"

#include <algorithm>
#include <optional>

#include "frame/module.h"
#include "protocol/catalogue.h"
#include "protocol/message_ids.h"
#include "protocol/raw_memory.h"

namespace quibra::protocol {
namespace {

// 9084 is shortened by 10 bytes when sent with parameter 32.
constexpr int32_t kShortFormParam9084 = 32;
constexpr int32_t kShortFormCut9084 = 10;

// The lengths of one message on each transport.
struct Lengths {
  int32_t length = 0;
  int32_t answer = 0;
  int32_t irda_send = 0;
  int32_t irda_answer = 0;
};

// The row a message's catalogue values come from: the file request travels as its
// acknowledgement (9022 next packet, 9023 same packet again) when given that as parameter.
const MessageRow* row_for_lengths(int32_t id, int32_t param) {
  if ((id == msg::kExerciseMemory || id == msg::kSingleFile) &&
      (param == msg::kPacketAck || param == msg::kPacketNak)) {
    return FindMessage(param);
  }
  return FindMessage(id);
}

Lengths area_lengths(int32_t id, int32_t param) {
  const std::optional<MemoryArea> area = FindMemoryArea(module().unit.type.load(), param);
  if (!area) return {};
  const int32_t n = area->count;
  if (id == msg::kBlockRead) return {10, n + 9, 4, area->irda_answer};
  const int32_t extra =
      id == msg::kBlockWriteLead ? 1 : 0;  // 9035 carries one leading byte more than 9007
  return {n + 9 + extra, 8, n + 3 + extra, 2};
}

Lengths lengths_of(const MessageRow& row, int32_t id, int32_t param) {
  switch (row.source) {
    case LengthSource::AreaTable:
      return area_lengths(id, param);
    case LengthSource::Builder: {
      // The command builders size both forms of 9089 and 9090.
      const RawMemoryState& raw = module().raw_memory;
      return {raw.send_length, raw.answer_length, raw.send_length, raw.answer_length};
    }
    case LengthSource::Table:
      break;
  }
  Lengths lengths{row.length, row.answer, row.irda_send, row.irda_answer};
  if (id == msg::kOlderPrvcWatchSettings && param == kShortFormParam9084)
    lengths.length -= kShortFormCut9084;
  return lengths;
}

// Image byte 4: the index of the first checksum byte.
int32_t checksum_index(int32_t length) {
  return length >= 2 ? length - 2 : 0;
}

int32_t store_sub(const StoreRef& store, int32_t param) {
  return store.sub == SubImage::Param ? param : 0;
}

int32_t bank_index(const StoreRef& store, int32_t index) {
  return bank_layout(store.bank).base + store.shift + index;
}

}  // namespace

int32_t GetMessageLength(int32_t id, int32_t param, int32_t field) {
  const MessageRow* row = row_for_lengths(id, param);
  if (row == nullptr) return 0;
  const Lengths lengths = lengths_of(*row, id, param);
  switch (field) {
    case kFieldCode:
      return MessageCode(row->id);
    case kFieldTries:
      return row->tries;
    case kFieldWait:
      return row->wait_ms;
    case kFieldLength:
      return lengths.length;
    case kFieldLengthHigh:
      return (checksum_index(lengths.length) >> 8) & 0xFF;
    case kFieldLengthLow:
      return checksum_index(lengths.length) & 0xFF;
    case kFieldAnswerHigh:
      return (lengths.answer >> 8) & 0xFF;
    case kFieldAnswerLow:
      return lengths.answer & 0xFF;
    case kFieldIrdaAnswer:
      return lengths.irda_answer;
    case kFieldIrdaSend:
      return lengths.irda_send;
    case kFieldIrdaOffset:
      return row->irda_offset + 2;
    default:
      return 0;
  }
}

int32_t AnswerLength(int32_t id, int32_t param) {
  return GetMessageLength(id, param, kFieldAnswerHigh) * 256 +
         GetMessageLength(id, param, kFieldAnswerLow);
}

uint8_t GetMessageByte(int32_t id, int32_t param, int32_t index) {
  if (id < msg::kFirst || id > msg::kLast || index < 0) return 0;
  switch (index) {
    case 0:
      return kRequestStart;
    case 1: {
      // Messages without a row still carry their own code.
      const MessageRow* row = row_for_lengths(id, param);
      return static_cast<uint8_t>(row != nullptr ? MessageCode(row->id) : MessageCode(id));
    }
    case 2:
      return 0;
    case 3:
      return static_cast<uint8_t>(GetMessageLength(id, param, kFieldLengthHigh));
    case 4:
      return static_cast<uint8_t>(GetMessageLength(id, param, kFieldLengthLow));
    default:
      break;
  }
  const MessageRow* row = FindMessage(id);
  if (row == nullptr) return 0;
  const StoreRef& store = row->read_store;
  return module().banks.read(store.bank, store_sub(store, param), bank_index(store, index));
}

bool SetMessageByte(int32_t id, int32_t param, int32_t index, uint8_t value) {
  const MessageRow* row = FindMessage(id);
  if (row == nullptr || index < 0) return false;
  const StoreRef& store = row->write_store;
  return module().banks.write(store.bank, store_sub(store, param), bank_index(store, index), value);
}

void StoreSerialAnswer(int32_t id, int32_t param, const uint8_t* answer, size_t length) {
  if (answer == nullptr) return;
  for (size_t number = 5; number <= length; ++number) {
    SetMessageByte(id, param, static_cast<int32_t>(number), answer[number - 1]);
  }
}

void StoreIrdaAnswer(int32_t id, int32_t param, const uint8_t* answer, size_t received) {
  const MessageRow* row = FindMessage(id);
  if (row == nullptr || (answer == nullptr && received > 0)) return;
  for (size_t number = 2; number <= received + kIrdaTrailingZeros; ++number) {
    const uint8_t value = number <= received ? answer[number - 1] : 0;
    SetMessageByte(id, param, static_cast<int32_t>(number) + row->irda_offset, value);
  }
}

size_t IrdaRequestBytes(int32_t id, int32_t param, uint8_t* out, size_t count) {
  const MessageRow* row = FindMessage(id);
  if (row == nullptr || out == nullptr) return 0;
  for (size_t k = 0; k < count; ++k) {
    const auto index = static_cast<int32_t>(k);
    if (k == 0) {
      out[k] = static_cast<uint8_t>(GetMessageLength(id, param, kFieldCode));
    } else if (k == 1) {
      // Read requests that select a sub-image name it here; the others send image index 5.
      constexpr int32_t kParamInByteOne[] = {9004, 9014, 9028, 9029, 9045, 9069};
      const bool param_byte = std::find(std::begin(kParamInByteOne), std::end(kParamInByteOne),
                                        id) != std::end(kParamInByteOne);
      out[k] = param_byte ? static_cast<uint8_t>(param) : GetMessageByte(id, param, 5);
    } else {
      // 9027 carries the second half of the exercise set, which starts at image index 61.
      out[k] = GetMessageByte(id, param, id == msg::kProfileWriteSecond ? index + 59 : index + 4);
    }
  }
  return count;
}

}  // namespace quibra::protocol
