// Message images: the bytes of a message as they go out on the wire, read and written by image
// index. On the serial and USB links an image is 0xA3, the code, 0, two length bytes, the
// payload from index 5, and the CRC-16 in its last two bytes; indexes 0..4 are never stored but
// produced from the catalogue. Answers start with 0x5C and land in the image from index 5 on,
// so received payload starts at index 6 while outgoing payload starts at index 5.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quibra::protocol {

inline constexpr uint8_t kRequestStart = 0xA3;
inline constexpr uint8_t kAnswerStart = 0x5C;

// The image byte: 0xA3, the code, 0 and the two length bytes at indexes 0..4, then the store's
// byte, or 0 when the message has no store or the index is outside it.
uint8_t GetMessageByte(int32_t id, int32_t param, int32_t index);

// Writes a byte into the message's store; false for ids outside 9001..9108, messages without a
// store, and indexes outside the store.
bool SetMessageByte(int32_t id, int32_t param, int32_t index, uint8_t value);

// A catalogue value (see MessageField), with the substitutions: 9011 and 9106 with parameter
// 9022 or 9023 take that message's row; 9084 with parameter 32 is 10 bytes shorter; 9007, 9008
// and 9035 take their lengths from the area table of the current unit type, 9089 and 9090 from
// the raw memory command builders. 0 for ids outside 9001..9108 and unknown fields.
int32_t GetMessageLength(int32_t id, int32_t param, int32_t field);

// The serial answer length the engine waits for.
int32_t AnswerLength(int32_t id, int32_t param);

// Stores a serial answer (its bytes numbered from 1, the 0x5C being number 1): bytes
// 5..length go to image indexes 5..length. Bytes beyond the store are dropped.
void StoreSerialAnswer(int32_t id, int32_t param, const uint8_t* answer, size_t length);

// The bytes of an IrDA receive buffer. The receive buffer is zeroed before every receive, so an
// answer is stored together with the 30 zero bytes that follow it.
inline constexpr size_t kIrdaTrailingZeros = 30;

// Stores an IrDA answer (numbered from 1, the code being number 1): bytes 2..received + 30 go to
// image index number + the message's IrDA offset; numbers beyond the received count store 0.
void StoreIrdaAnswer(int32_t id, int32_t param, const uint8_t* answer, size_t received);

// The IrDA request bytes of a message: the code; the parameter for 9004, 9014, 9028, 9029,
// 9045 and 9069, else image index 5; then image index k + 4 for byte k (k + 59 for 9027).
// Writes count bytes to out and returns count (0 for ids without a row).
size_t IrdaRequestBytes(int32_t id, int32_t param, uint8_t* out, size_t count);

}  // namespace quibra::protocol
