#include "frame/lifecycle.h"

#include <atomic>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "frame/module.h"
#include "platform/registry.h"
#include "protocol/engine.h"
#include "protocol/seal.h"
#include "settings/user_settings.h"
#include "ui/clipboard.h"
#include "ui/dialog_host.h"
#include "ui/message_box.h"

namespace quibra {
namespace {

std::atomic<Module*> g_module{nullptr};
// Serialises load and unload. Lock order 1, outermost (frame/locks.h): a module is built and
// torn down under it.
std::mutex g_lifecycle_lock;

// Ends the module in force. Its threads end while it is still the module in force: they reach
// it through module() to the end, and what they use (backends, dialog observers, locks) is
// declared before the members that own them, so it is destroyed after them.
void unload_locked(bool release_buffers) {
  Module* current = g_module.load(std::memory_order_acquire);
  if (current == nullptr) return;
  protocol::StopMessageThread(*current);
  if (release_buffers) {
    current->exercise_store.ShutdownExerciseStore();
    current->exercise_memory.release();
  }
  delete current;  // closes the port, the libraries and the locks it opened
  g_module.store(nullptr, std::memory_order_release);
}

// The trace a fresh Module starts: its predecessor's (none when that one traced nothing), else
// the file QUIBRA_TRACE names.
std::string TracePath(const std::optional<std::string>& kept) {
  if (kept) return *kept;
  const char* variable = std::getenv("QUIBRA_TRACE");
  return variable != nullptr ? variable : "";
}

void load_locked(uintptr_t instance_handle,
                 const std::optional<std::string>& kept_trace = std::nullopt) {
  // A module being replaced ends first, so a fresh one never shares anything with it.
  unload_locked(false);
  auto fresh = std::make_unique<Module>();  // the Module's locks are created here, in order
  fresh->exercise_store.InitExerciseStore();
  fresh->exercise_memory.allocate();
  fresh->engine.file_steps = &fresh->file_packets;
  fresh->online_receiver.samples = &fresh->online;
  // After a download from a unit of type 22 or 23 the decoders need its user settings.
  fresh->analysis.user_value_reader = &settings::ReadDetectedUnitUserValues;
  fresh->instance_handle = instance_handle;
  if (const std::string trace = TracePath(kept_trace); !trace.empty()) fresh->trace.open(trace);
  g_module.store(fresh.release(), std::memory_order_release);
  // Every request image gets a valid checksum before any export runs.
  protocol::SealMessageImage(protocol::kResealAll, 0, 0);
  module().texts.reset();
}

// Unloads the Module when it is destroyed: at process exit, or when the library is unloaded.
struct ExitUnload {
  ExitUnload() = default;
  ExitUnload(const ExitUnload&) = delete;
  ExitUnload& operator=(const ExitUnload&) = delete;
  ~ExitUnload() { frame::UnloadModule(); }
};

}  // namespace

Module& module() {
  Module* current = g_module.load(std::memory_order_acquire);
  if (current != nullptr) return *current;
  std::lock_guard guard(g_lifecycle_lock);
  if (g_module.load(std::memory_order_acquire) == nullptr) load_locked(0);
  return *g_module.load(std::memory_order_acquire);
}

namespace frame {

void LoadModule(uintptr_t instance_handle) {
  std::lock_guard guard(g_lifecycle_lock);
  load_locked(instance_handle);
}

void ReloadModule() {
  std::lock_guard guard(g_lifecycle_lock);
  const Module* current = g_module.load(std::memory_order_acquire);
  const uintptr_t instance_handle = current != nullptr ? current->instance_handle : 0;
  std::optional<std::string> trace;
  if (current != nullptr) trace = current->trace.path();
  // The old Module goes first, as at unload, so no thread of it outlives it into the new one.
  unload_locked(true);
  load_locked(instance_handle, trace);
}

void UnloadModule() {
  std::lock_guard guard(g_lifecycle_lock);
  unload_locked(true);
}

void UnloadAtProcessExit() {
  // The process-wide services that the library's threads and its unload use are made here, so
  // that they are destroyed only after the guard made below: exit() (and dlclose) destroy the
  // library's statics in the reverse order of their making. The guard is a static of the
  // library rather than an atexit step, so it goes with the library when dlclose unmaps it.
  platform::clock();
  platform::locale();
  platform::temp_files();
  platform::file_dialogs();
  ui::system_message_box_host();
  ui::system_clipboard();
  ui::system_dialog_host();
  static const ExitUnload guard;
}

bool IsModuleLoaded() {
  return g_module.load(std::memory_order_acquire) != nullptr;
}

}  // namespace frame
}  // namespace quibra
