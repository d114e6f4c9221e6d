// Exported entry points of the unit information layer: argument conversion and the exception
// guard only.
#include "quibra/quibra.h"

#include <cstdint>

#include "frame/caller_record.h"
#include "frame/export_guard.h"
#include "prvc/health_checks.h"
#include "prvc/memory_dump.h"
#include "prvc/online_switch.h"
#include "prvc/unit_info.h"

namespace f = quibra::frame;
namespace p = quibra::prvc;

extern "C" {

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadMonitorInfo(CommParams* params, MonitorInfo* info) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [&](CommParams& cp) {
      return info == nullptr ? 0 : p::ReadMonitorInfo(cp, *info);
    });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_UnPackMonitorInfo(MonitorInfo* info) {
  return f::Guarded<int32_t>(0, [&] {
    return info == nullptr ? 0 : p::UnPackMonitorInfo(*info);
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadMonitorType(void) {
  return f::Guarded<int32_t>(0, [] { return p::ReadMonitorType(); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_EEPROMStateCheckFix(CommParams* params) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [&](CommParams& cp) { return p::EEPROMStateCheckFix(cp); });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_N4Sensor(CommParams* params) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [&](CommParams& cp) { return p::N4Sensor(cp); });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_Sensors_PRVCZ(CommParams* params, int32_t* flags) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [&](CommParams& cp) {
      // Without a place for the flags the question is not asked at all.
      if (flags == nullptr) return int32_t{0};
      return p::SensorsPRVCZ(cp, flags);
    });
  });
}

QUIBRA_API int32_t QUIBRA_CDECL fnQuibra_SavePRVCFileMemory(uint32_t parent_window,
                                                            const char* path) {
  return f::Guarded<int32_t>(0, [&] { return p::SavePRVCFileMemory(parent_window, path); });
}

QUIBRA_API int32_t QUIBRA_CDECL fnQuibra_ActivateOnlineRecording(CommParams* params,
                                                                 int32_t enable) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(
        params, [&](CommParams& cp) { return p::ActivateOnlineRecording(cp, enable); });
  });
}

}  // extern "C"
