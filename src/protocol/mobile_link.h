// The mobile connection: a phone that holds an exercise memory sends it to the library over
// infrared as an IrCOMM client. The library is the server: it registers the IrCOMM service
// record, listens on the service "IrDA:IrCOMM", and an accept thread takes one connection,
// receives the memory into the exercise memory buffer in blocks of up to 250 bytes and answers
// with one byte. The dialog that waits for the phone polls the received flag and closes the
// sockets when it ends, which ends the thread wherever it waits.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

namespace quibra::protocol {

inline constexpr const char* kIrcommService = "IrDA:IrCOMM";
inline constexpr const char* kIrcommClass = "IrDA:IrCOMM";
inline constexpr const char* kIrcommAttribute = "Parameters";
// Blocks of up to this many bytes are received.
inline constexpr int32_t kMobileBlockBytes = 250;
inline constexpr int32_t kMobileReceiveBuffer = 252;

// Where opening the server failed.
enum MobileOpenStage : int32_t {
  kMobileStageStartup = -1,  // the socket library did not start
  kMobileStageSocket = 0,
  kMobileStageServiceRecord = 1,
  kMobileStageBind = 2,
  kMobileStageListen = 3,
};

struct MobileOpenResult {
  int32_t error = 0;  // 0, or the socket error
  int32_t stage = kMobileStageStartup;
};

struct MobileLink {
  MobileLink() = default;
  MobileLink(const MobileLink&) = delete;
  MobileLink& operator=(const MobileLink&) = delete;
  // Closes the sockets and waits for the accept thread (unload).
  ~MobileLink();

  std::atomic<bool> received{false};  // the whole memory is in and acknowledged
  // Guards the two sockets, the started socket library and `closed`. Lock order 4
  // (frame/locks.h): nothing is taken under it but the IrDA stack's own calls.
  std::mutex socket_lock;
  int32_t listening = 0;
  int32_t connected = 0;
  bool started = false;  // the socket library was started for the server
  bool closed = true;    // the sockets were closed: an accepted connection is dropped at once
  std::thread accept_thread;
};

// Opens the server: starts the socket library, makes the listening socket, registers the
// IrCOMM service record, selects 9-wire mode, binds to the service and listens.
MobileOpenResult OpenMobileServer();
// Starts the thread that accepts one phone and receives its memory.
void StartMobileAcceptThread();
// Closes the listening and the connected socket (and ends the socket library's use); a thread
// waiting on either returns. Harmless when they are closed.
void CloseMobileSockets();
// Closes the sockets and waits for the accept thread to end.
void FinishMobileAcceptThread();

// The 6-byte value of the IrCOMM "Parameters" attribute: service type 0x06 (9-wire, 3-wire
// raw and 3-wire cooked) and port type 0x01 (serial), as the IrCOMM standard encodes them.
inline constexpr uint8_t kIrcommParameters[] = {0x00, 0x01, 0x06, 0x01, 0x01, 0x01};

// The phone's memory: where its length is read and where it ends. The first block names the
// unit (its byte 1 is the unit's device code); the memory length sits at header offset h + 1
// and h + 2 (15 bits), h being 82 for the outdoor units (types 20 and 21) and 78 for the
// others, and the memory ends at byte h + length + 1 (counted from 0).
int32_t MobileHeaderOffset(int32_t type);
int32_t MobileMemoryEnd(int32_t header_offset, uint8_t length_low, uint8_t length_high);

}  // namespace quibra::protocol
