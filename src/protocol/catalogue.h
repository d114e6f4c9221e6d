// The message catalogue: for every message 9001..9108, where its image lives, its length on
// each transport, its tries, the pause after sending it and the length of its answer.
#pragma once

#include <cstdint>
#include <optional>

#include "protocol/banks.h"
#include "protocol/message_ids.h"

namespace quibra::protocol {

enum class MessageKind : uint8_t {
  Read,     // asks for data
  Write,    // carries data, answered by an acknowledgement
  Command,  // a unit command whose answer the send-with-progress call does not wait for
};

// Where a message's lengths come from.
enum class LengthSource : uint8_t {
  Table,      // the row itself
  AreaTable,  // the raw memory area table (9007, 9008, 9035)
  Builder,    // the raw memory command builders (9089, 9090)
};

// Which sub-image of the bank a message uses.
enum class SubImage : uint8_t { Zero, Param };

// A message's store: a bank, the sub-image rule, and a shift that places image index 0 at
// bank index base + shift (9026..9029 keep their halves of the exercise-set image this way).
struct StoreRef {
  BankId bank;
  SubImage sub;
  int16_t shift;
};

struct MessageRow {
  int16_t id;
  StoreRef read_store;   // where its bytes are read from (sending, GetMessageByte)
  StoreRef write_store;  // where bytes are written to (packing, answers)
  int16_t length;        // total serial image length
  int16_t payload;
  uint8_t tries;
  uint16_t wait_ms;  // pause after a successful write before the answer is read
  int16_t answer;    // serial answer length
  int16_t irda_send;
  int16_t irda_answer;  // minimum IrDA answer length
  int8_t irda_offset;   // received IrDA byte number k lands at image index k + offset
  MessageKind kind;
  LengthSource source;
};

// The row of a message id, or null for ids without a row (outside 9001..9108, or unused).
const MessageRow* FindMessage(int32_t id);

// The message code: the id minus 9000 (image byte 1, IrDA byte 0).
constexpr int32_t MessageCode(int32_t id) {
  return id - 9000;
}

// Fields of GetMessageLength.
enum MessageField : int32_t {
  kFieldCode = 22001,
  kFieldTries = 22003,
  kFieldWait = 22004,
  kFieldLength = 22005,
  kFieldLengthHigh = 22007,
  kFieldLengthLow = 22008,
  kFieldAnswerHigh = 22009,
  kFieldAnswerLow = 22010,
  kFieldIrdaAnswer = 22011,
  kFieldIrdaSend = 22012,
  kFieldIrdaOffset = 22015,  // the IrDA offset + 2
};

}  // namespace quibra::protocol
