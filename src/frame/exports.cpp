// Exported entry points of the library frame: argument conversion and the exception guard only.
#include "quibra/quibra.h"

#include "codec/bcd.h"
#include "frame/com_texts.h"
#include "frame/comm_params.h"
#include "frame/export_guard.h"
#include "frame/failure_text.h"
#include "frame/lifecycle.h"
#include "frame/module.h"
#include "frame/state_flags.h"
#include "frame/unit_names.h"

namespace f = quibra::frame;

namespace {
constexpr int32_t kLibraryVersion = 172;
}

extern "C" {

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetLibraryVersion(void) {
  return kLibraryVersion;
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetErrorCode(void) {
  return f::Guarded<int32_t>(0, [] { return f::GetErrorCode(); });
}

QUIBRA_API const char* QUIBRA_CDECL fnQuibra_GetOrvekHRMonitorName(int32_t type, int32_t variant) {
  return f::MonitorName(type, variant);
}

QUIBRA_API int32_t QUIBRA_CALL fnBcdToBin(int32_t value) {
  return quibra::codec::BcdToBin(value);
}

QUIBRA_API int32_t QUIBRA_CALL fnBinToBcd(int32_t value) {
  return quibra::codec::BinToBcd(value);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ResetComTexts(void) {
  return f::Guarded<int32_t>(0, [] {
    quibra::module().texts.reset();
    return 1;
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SetComText(int32_t index, const char* text) {
  return f::Guarded<int32_t>(0, [&] { return quibra::module().texts.set(index, text); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibraExt_GetFailureText(char* text, int32_t size) {
  return f::Guarded<int32_t>(0, [&] { return f::CopyFailureText(text, size); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_IsIrDAConnected(void) {
  return f::Guarded<int32_t>(0, [] { return f::GetStateFlag(f::kFlagIrdaConnected); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_CancelExerciseReading(void) {
  return f::Guarded<int32_t>(0, [] {
    f::SetStateFlag(f::kFlagCancelRequest, 1);
    return 1;
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibraExt_SetTrace(const char* path) {
  return f::Guarded<int32_t>(0, [&] {
    quibra::frame::Trace& trace = quibra::module().trace;
    if (path == nullptr || *path == '\0') {
      trace.close();
      return 1;
    }
    return trace.open(path) ? 1 : 0;
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibraExt_ResetLibrary(void) {
  return f::Guarded<int32_t>(0, [] {
    f::ReloadModule();
    return 1;
  });
}

}  // extern "C"
