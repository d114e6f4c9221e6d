// The Module's locks, and the order of every lock in the library.
//
// Lock order, outermost first. A thread that holds a lock takes only locks from lower lines;
// locks on one line are never held together. Waits have no time limit: the locks of lines 1
// and 2 are held across pauses and while a thread is joined (a thread that never takes them),
// the others for a bounded piece of work: a sound block, a copy of the exercise or its HRM text,
// a flag.
//
//   1. lifecycle lock (frame/lifecycle.cpp): load and unload. Held while a module is built or
//      torn down, which stops the communication thread and ends a sound reception.
//   2. sound reception control (sound/tonvox_capture.h): start and end of a reception.
//   3. sound receiving chain (sound/tonvox_capture.h): the demodulator and the packet
//      assembler, for one block's work or one copy of the assembled data.
//   4. RecordStoreLock, DeviceRegistryLock, OnlineSampleLock, BeatCounterLock, ConnectionLock,
//      ThreadStopLock (below); the wireless link's calls (protocol/wireless_link.h); the IrDA close lock
//      (protocol/irda_link.h); the mobile link's sockets (protocol/mobile_link.h); the wireless-link library's loading
//      (platform/link_library_entries.h); the dialogs' press targets (ui/dialog_observer.h).
//   5. a headless dialog's queued presses (ui/headless_host.cpp).
//   6. innermost, each taken for a single read or write: StateFlagLock (below); the scaled
//      clock (platform/scaled_clock.h); the dialog observer (ui/dialog_observer.h); the memory
//      clipboard (ui/posix/clipboard.cpp); the byte trace (frame/trace.h); the failure text
//      (frame/failure_text.h); the exercise memory buffer (protocol/exercise_memory.h), for one
//      byte, one count or one growth step; the wake signal that ends a pause early
//      (platform/clock.h), for one flag (a pause releases it while it waits).
//
// The sound reception's progress and level figures are atomics that the capture thread
// publishes after each block, so a caller polling them never waits for a block's work.
#pragma once

#include <mutex>

namespace quibra::frame {

// Created with the Module at load, in this order, and destroyed with it at unload.
struct Locks {
  // Order 4: the exercise record store, for one operation at a time.
  std::mutex RecordStoreLock;
  // Order 4: the wireless-link device registry.
  std::mutex DeviceRegistryLock;
  // Order 4: the online beat ring and its positions.
  std::mutex OnlineSampleLock;
  // Order 6, innermost: the state-flag table, one read or write at a time.
  std::mutex StateFlagLock;
  // Order 4: the history of stored beat intervals.
  std::mutex BeatCounterLock;
  // Order 4: the flags the online thread acts on (pause, stop, wireless link open), read as one.
  std::mutex ConnectionLock;
  // Order 4: stop requests to the communication thread; the flags are set under it.
  std::mutex ThreadStopLock;
};

}  // namespace quibra::frame
