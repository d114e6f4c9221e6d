// The library's seven locks. They are created with the Module at load, in this order, and
// destroyed at unload. StateFlagLock is innermost: it may be taken while one of the others is
// held, never the other way round, and no two of the others are ever held at once.
#pragma once

#include <mutex>

namespace quibra::frame {

struct Locks {
  std::mutex RecordStoreLock;     // the exercise record store
  std::mutex DeviceRegistryLock;  // the wireless-link device registry
  std::mutex OnlineSampleLock;    // the online sample ring and its counters
  std::mutex StateFlagLock;       // the state-flag table, one read or write at a time
  std::mutex BeatCounterLock;     // the last online beat interval and the running sum
  std::mutex ConnectionLock;      // connection-state reads of the start, teardown and online code
  std::mutex ThreadStopLock;      // stop and pause requests to the communication threads
};

}  // namespace quibra::frame
