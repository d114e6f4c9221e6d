// The Module: everything the library remembers between calls, in one object created at load and
// destroyed at unload. Each subsystem owns its part as a member, so the whole state of the
// library can be read here.
#pragma once

#include <atomic>
#include <cstdint>

#include "exercise/analysis.h"
#include "exercise/j9_reads.h"
#include "exercise/online_recording.h"
#include "exercise/record_store.h"
#include "exercise/time_format.h"
#include "frame/com_texts.h"
#include "frame/failure_text.h"
#include "frame/locks.h"
#include "frame/state_flags.h"
#include "frame/trace.h"
#include "platform/backends.h"
#include "protocol/banks.h"
#include "protocol/engine.h"
#include "protocol/exercise_memory.h"
#include "protocol/file_packets.h"
#include "protocol/irda_link.h"
#include "protocol/link_port.h"
#include "protocol/message_status.h"
#include "protocol/mobile_link.h"
#include "protocol/online_thread.h"
#include "protocol/raw_memory.h"
#include "protocol/transfer_state.h"
#include "protocol/wireless_link.h"
#include "prvc/unit_info.h"
#include "settings/gauge_results.h"
#include "settings/service_state.h"
#include "sound/tonvox_capture.h"
#include "ui/busy_dialog.h"
#include "ui/dialog_observer.h"

namespace quibra {

// The unit the library talks to, as last detected or set by an export.
struct UnitIdentity {
  std::atomic<int32_t> type{0};
  std::atomic<int32_t> variant{0};
};

struct Module {
  // Created first: the locks guard everything below.
  frame::Locks locks;
  frame::StateFlags flags{locks.StateFlagLock};
  frame::ComTexts texts;
  std::atomic<int32_t> last_error{0};  // a plain word: no lock, as callers expect
  frame::FailureText failure_text;     // the last failure's reason in words
  uintptr_t instance_handle = 0;       // the library's own module handle (for its resources)
  // Declared before every thread's owner, so that it outlives their last line.
  frame::Trace trace;

  UnitIdentity unit;

  protocol::Banks banks;
  protocol::ExerciseMemory exercise_memory;
  protocol::MessageStatuses statuses;
  protocol::RawMemoryState raw_memory;
  exercise::TimeText time_text;  // the text FormatTimeValue returns
  protocol::TransferState transfer;

  exercise::ExerciseStore exercise_store{locks.RecordStoreLock};
  // The beats of an online recording; the online thread hands them over through the receiver.
  exercise::OnlineRecording online{exercise_store, locks.OnlineSampleLock, locks.BeatCounterLock};
  protocol::OnlineReceiver online_receiver;
  exercise::AnalysisState analysis;
  exercise::J9ReadState j9;        // the J9 unit's block reads in progress
  prvc::UnitMemoryMap memory_map;  // of the last group A or B unit identified
  settings::ServiceState service;  // file-delete target and usage counters
  settings::GaugeTable gauges;     // the LoadGauge results of the last read

  // The platform backends that hold state, and the dialog observers. Declared before every
  // member that runs a thread, so they are destroyed after those threads have ended.
  platform::Backends backends;
  ui::DialogObservers dialog_observers;

  protocol::LinkPort port;
  protocol::WirelessLink wireless;
  // Its destructor waits for the busy dialog's thread to end.
  ui::BusyDialog busy_dialog;
  protocol::FilePackets file_packets;  // the engine's file-download steps
  // The sound reception; its destructor ends a reception that still runs.
  sound::TonvoxCapture tonvox;
  // Destroyed after the engine: both threads are gone by then.
  protocol::IrdaLink irda;
  // The phone's accept thread: its destructor closes the sockets and waits for the thread.
  protocol::MobileLink mobile;
  // Last member: destroyed first, after the unload step has stopped its thread.
  protocol::Engine engine;
};

// The module in force. When no load step has run yet (a program linked against the static core
// that calls straight in), one is loaded on first use.
Module& module();

}  // namespace quibra
