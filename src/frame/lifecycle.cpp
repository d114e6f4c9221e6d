#include "frame/lifecycle.h"

#include <atomic>
#include <memory>
#include <mutex>

#include "frame/module.h"
#include "protocol/engine.h"
#include "protocol/seal.h"
#include "settings/user_settings.h"

namespace quibra {
namespace {

std::atomic<Module*> g_module{nullptr};
// Serialises load and unload. Lock order 1, outermost (frame/locks.h): a module is built and
// torn down under it.
std::mutex g_lifecycle_lock;

void load_locked(uintptr_t instance_handle) {
  // A module being replaced first lets its communication thread end.
  if (Module* current = g_module.load(std::memory_order_acquire)) {
    protocol::StopMessageThread(*current);
  }
  auto fresh = std::make_unique<Module>();  // the Module's locks are created here, in order
  fresh->exercise_store.InitExerciseStore();
  fresh->exercise_memory.allocate();
  fresh->engine.file_steps = &fresh->file_packets;
  // After a download from a unit of type 22 or 23 the decoders need its user settings.
  fresh->analysis.user_value_reader = &settings::ReadDetectedUnitMaxHR;
  Module* old = g_module.exchange(fresh.release(), std::memory_order_acq_rel);
  delete old;
  // Every request image gets a valid checksum before any export runs.
  protocol::SealMessageImage(protocol::kResealAll, 0, 0);
  Module& m = *g_module.load(std::memory_order_acquire);
  m.instance_handle = instance_handle;
  m.texts.reset();
}

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

void UnloadModule() {
  std::lock_guard guard(g_lifecycle_lock);
  // The communication thread ends while the module is still in force: it uses it to the end.
  if (Module* current = g_module.load(std::memory_order_acquire)) {
    protocol::StopMessageThread(*current);
  }
  Module* old = g_module.exchange(nullptr, std::memory_order_acq_rel);
  if (old == nullptr) return;
  old->exercise_store.ShutdownExerciseStore();
  old->exercise_memory.release();
  delete old;  // closes the locks
}

bool IsModuleLoaded() {
  return g_module.load(std::memory_order_acquire) != nullptr;
}

}  // namespace frame
}  // namespace quibra
