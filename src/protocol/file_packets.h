// The exercise-file download: the unit sends its exercise memory as a train of numbered packets
// (in answer to 9011 or 9106, or on its own for 9025 while the library only listens); the
// library acknowledges each packet with 9022 (send the next) or asks for it again with 9023,
// and appends the packet data to the exercise memory buffer. Packets count down: the first one
// carries the number of packets that follow it, the last one is number 0.
//
// Packet layouts, byte numbers counted from 1 (the 0x5C of a serial answer, the code of an
// IrDA answer):
//
//   9011 / 9025, serial: 6 packet number (bit 7 set on the first packet, which carries the
//     count); first packet: 7..8 file size (high first), 9 and 10 two header values; the data
//     stored are bytes 7 up to the checksum, the first packet's header included.
//   9011 / 9025, IrDA: 2..3 packet number (bit 7 of byte 2 marks the first packet); first
//     packet: 4..5 size (high first), 6 and 7 the header values; data from byte 4.
//   9106, serial (a layout of this library's own, the unit family that answers it reads one
//     file at a time): 6..7 packet number (bit 7 of byte 6 marks the first packet); first
//     packet: 8..11 file size (low byte first), 12..13 a 16-bit header value (low first),
//     14 one more header byte, file bytes from 15; later packets: file bytes from 8. Only the
//     file's own bytes are stored, so the buffer holds the file exactly.
//   9106, IrDA: the serial layout without the 4 header bytes in front of the packet number.
//
// The 9106 request image has room for 6 bytes only, so its frame is built here: 0xA3, 106, 0,
// the length (10), file index low and high byte, the byte limit, the number of the packet
// wanted (high first; 0xFFFF = from the first packet), and the checksum. When a download of
// file index other than 0 goes on, the request itself goes out again in place of 9022 and 9023,
// naming the packet wanted; with file index 0 the acknowledgements are those of 9011.
#pragma once

#include <cstdint>

#include "protocol/engine.h"

namespace quibra::protocol {

// Transfer counters 1..11 of a file download (6, 8, 9 and 11 are named in engine.h).
inline constexpr int kCounterPackets = 1;       // packets announced by the first packet
inline constexpr int kCounterPacketNumber = 2;  // number of the packet just received
inline constexpr int kCounterFileSize = 3;      // bytes announced by the first packet
inline constexpr int kCounterBytesStored = 4;
inline constexpr int kCounterHeaderValue1 = 6;
inline constexpr int kCounterHeaderValue2 = 7;
inline constexpr int kCounterExpectedPacket = 10;
inline constexpr int kCounterPacketStored = kCounterFilePackets;  // 1 once a packet was stored

// A file larger than this cannot be held by the exercise memory buffer.
inline constexpr int32_t kMaxFileBytes = 262144;
// The packet number that asks a single-file transfer to begin with its first packet.
inline constexpr int32_t kFromFirstPacket = 0xFFFF;
inline constexpr int32_t kSingleFileRequestBytes = 12;

enum class PacketForm : uint8_t { Serial, Irda };

// The header of a packet as far as it is in (count bytes of answer, numbered from 1 at
// answer[0]).
struct PacketHeader {
  bool complete = false;  // the bytes that carry the header are in
  bool first = false;
  int32_t number = 0;  // the packet number; on the first packet the count
  int32_t size = 0;    // first packet: the announced file size
  int32_t value1 = 0;  // first packet: the two header values
  int32_t value2 = 0;
  int32_t data_at = 0;  // byte number of the first stored byte
};

// Reads a packet header of message id (9011, 9025 or 9106) in the given form.
PacketHeader ReadPacketHeader(int32_t id, PacketForm form, const uint8_t* answer, int count);

// Builds the 9106 request frame for a file index, a byte limit and the packet wanted; returns
// its length (kSingleFileRequestBytes), or 0 when out is shorter.
int32_t BuildSingleFileRequest(int32_t file_index, int32_t byte_limit, int32_t wanted, uint8_t* out,
                               int32_t capacity);

// The engine's file-download steps, on the module's engine, transfer state and exercise memory.
class FilePackets final : public FileDownloadSteps {
 public:
  void begin(int32_t id) override;
  bool check_header(int32_t id, const uint8_t* answer, int count) override;
  int32_t store_packet(int32_t id, const uint8_t* answer, int length) override;
  void continue_download(int32_t id) override;
  int32_t request_frame(int32_t id, uint8_t* out, int32_t capacity) override;

  // The IrDA form: the whole answer of `received` bytes (code first) is checked and stored at
  // once. Returns the message status it leaves (10 last packet, 70 any other) or 0 when a first
  // packet was refused.
  int32_t store_irda_packet(int32_t id, const uint8_t* answer, int received);

 private:
  bool take_first_packet(const PacketHeader& header);
  int32_t store_data(const PacketHeader& header, const uint8_t* answer, int end);

  int32_t wanted_ = kFromFirstPacket;  // the packet a single-file request names
};

}  // namespace quibra::protocol
