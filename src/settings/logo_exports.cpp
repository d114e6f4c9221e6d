// Exported entry points of the logos: argument conversion and the exception guard only.
#include <cstdint>

#include "frame/caller_record.h"
#include "frame/export_guard.h"
#include "quibra/quibra.h"
#include "settings/logo_packing.h"
#include "settings/logo_transfer.h"

namespace f = quibra::frame;
namespace s = quibra::settings;

extern "C" {

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetLogoRowCount(int32_t monitorType) {
  return f::Guarded<int32_t>(0, [&] { return s::LogoRowCount(monitorType); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetLogoColCount(int32_t monitorType) {
  return f::Guarded<int32_t>(0, [&] { return s::LogoColumnCount(monitorType); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendMonitorLogo(CommParams* params, int32_t monitorType,
                                                        const int32_t* columns, int32_t slot) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(
        params, [&](CommParams& cp) { return s::SendMonitorLogo(cp, monitorType, columns, slot); });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendBitmap(CommParams* params, const int32_t* columns) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(
        params, [&](CommParams& cp) { return s::SendMonitorLogo(cp, 11, columns, 0); });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadMonitorLogo(CommParams* params, int32_t monitorType,
                                                        int32_t* columns, int32_t slot) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(
        params, [&](CommParams& cp) { return s::ReadMonitorLogo(cp, monitorType, columns, slot); });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_UnPackBitmap(int32_t* columns) {
  return f::Guarded<int32_t>(0, [&] { return s::UnPackBitmap(columns); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PRVC_ReadBitmap(CommParams* params, int32_t* columns,
                                                        int32_t slot) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [&](CommParams& cp) {
      return s::PrvcReadBitmap(cp, s::PrvcLogoType(cp), columns, slot);
    });
  });
}

}  // extern "C"
