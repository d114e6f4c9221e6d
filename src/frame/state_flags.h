// The state-flag table through which the application's thread and the communication threads
// talk: 24 signed 32-bit flags numbered 2000..2023, each read or written under StateFlagLock.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

namespace quibra::frame {

// Flag numbers, named after what they tell.
enum StateFlag : int32_t {
  kFlagEngineRunning = 2000,
  kFlagPortHeld = 2001,
  kFlagStopRequest = 2002,
  kFlagPortReadFailed = 2003,
  kFlagSendPending = 2004,
  kFlagAnswerPending = 2005,
  kFlagPortOpenFailed = 2006,
  kFlagCancelRequest = 2007,
  kFlagMissedBeatCorrection = 2008,
  kFlagSerialRecoding = 2009,
  kFlagKeepAlive = 2010,
  kFlagOnlineMode = 2011,
  kFlagExtraAnalysis = 2012,
  kFlagOnlinePaused = 2013,
  kFlagUsbAdapter = 2014,
  kFlagIrdaSockets = 2015,
  kFlagIrdaConnected = 2016,
  kFlagIrdaReceiveRunning = 2017,
  kFlagIrdaDataReceived = 2018,
  kFlagIrdaReserved = 2019,
  kFlagIrdaListening = 2020,
  kFlagUsbDriverKit = 2021,
  kFlagWirelessAdapter = 2022,
  kFlagWirelessOpened = 2023,
};

inline constexpr int32_t kFirstStateFlag = 2000;
inline constexpr int32_t kLastStateFlag = 2023;

class StateFlags {
 public:
  explicit StateFlags(std::mutex& lock) : lock_(lock) {}

  // Stores the value; 0 (and nothing stored) when the number is outside 2000..2023.
  int32_t set(int32_t flag, int32_t value);
  // The value, or 0 when the number is outside 2000..2023.
  int32_t get(int32_t flag) const;
  // Every flag to 0, one at a time, each under the lock.
  void clear_all();
  // How often the cancel request (2007) has been raised. The engine clears the flag at the end
  // of its cycle, often before a caller polling the transfer sees it; the count stays. A waiter
  // notes it before it sends and the engine notes it when a message is queued: a request counts
  // for them only when it was raised after that.
  uint32_t cancel_requests() const { return cancel_requests_.load(); }
  // true while the flag is raised by a request made after the count was `mark`. A message
  // queued while an older request is still raised (the engine clears it only at its cycle's
  // end) is not the one that request was for.
  bool cancel_raised_since(uint32_t mark) const;

 private:
  std::mutex& lock_;  // StateFlagLock: lock order 6, innermost (frame/locks.h)
  std::array<int32_t, kLastStateFlag - kFirstStateFlag + 1> values_{};
  std::atomic<uint32_t> cancel_requests_{0};
};

// The module's table.
int32_t SetStateFlag(int32_t flag, int32_t value);
int32_t GetStateFlag(int32_t flag);
void ClearStateFlags();
uint32_t CancelRequests();
// What a waiter notes before it sends (the cancel requests so far).
uint32_t CancelMark();
bool CancelRaisedSince(uint32_t mark);

}  // namespace quibra::frame
