// Exported entry points of the bikes, shoes and horse mode of the running and cycling units:
// argument conversion and the exception guard only.
#include <cstdint>

#include "frame/caller_record.h"
#include "frame/export_guard.h"
#include "prvc/bikes_prvc.h"
#include "prvc/horse_mode.h"
#include "prvc/shoes.h"
#include "quibra/quibra.h"

namespace f = quibra::frame;
namespace p = quibra::prvc;

namespace {

// A record of an older, shorter layout takes its missing fields from the defaults.
int32_t Bikes(p::GearExport which, bool send, CommParams* params, PrvcBikeSettings* record) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithSizedRecord(record, p::ResetBikesPrvc, [&](PrvcBikeSettings& r) {
      return f::WithCommParams(params, [&](CommParams& cp) {
        return send ? p::SendBikesPrvc(which, cp, r) : p::ReadBikesPrvc(which, cp, r);
      });
    });
  });
}

int32_t Shoes(p::GearExport which, bool send, CommParams* params, PrvcShoeSettings* record) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithSizedRecord(record, p::ResetShoesPrvc, [&](PrvcShoeSettings& r) {
      return f::WithCommParams(params, [&](CommParams& cp) {
        return send ? p::SendShoesPrvc(which, cp, r) : p::ReadShoesPrvc(which, cp, r);
      });
    });
  });
}

}  // namespace

extern "C" {

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendBikesSettings_PRVC_eq(CommParams* params,
                                                                  PrvcBikeSettings* record) {
  return Bikes(p::GearExport::Bikes, true, params, record);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PRVC_ReadBikeSettings(CommParams* params,
                                                              PrvcBikeSettings* record) {
  return Bikes(p::GearExport::Bikes, false, params, record);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendBikesSettingsPR9W(CommParams* params,
                                                              PrvcBikeSettings* record) {
  return Bikes(p::GearExport::BikesPR9W, true, params, record);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadBikeSettingsPR9W(CommParams* params,
                                                             PrvcBikeSettings* record) {
  return Bikes(p::GearExport::BikesPR9W, false, params, record);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_WriteBikesGeneral_VC8Z(CommParams* params,
                                                               PrvcBikeSettings* record) {
  return Bikes(p::GearExport::BikesVC8Z, true, params, record);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadBikesGeneral_VC8Z(CommParams* params,
                                                              PrvcBikeSettings* record) {
  return Bikes(p::GearExport::BikesVC8Z, false, params, record);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendShoeSettings(CommParams* params,
                                                         PrvcShoeSettings* record) {
  return Shoes(p::GearExport::Shoes, true, params, record);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadShoesSettings(CommParams* params,
                                                          PrvcShoeSettings* record) {
  return Shoes(p::GearExport::Shoes, false, params, record);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendShoeSettingsPR9W(CommParams* params,
                                                             PrvcShoeSettings* record) {
  return Shoes(p::GearExport::ShoesPR9W, true, params, record);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadShoesSettingsPR9W(CommParams* params,
                                                              PrvcShoeSettings* record) {
  return Shoes(p::GearExport::ShoesPR9W, false, params, record);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SetHorseModeVCEQ(CommParams* params, int32_t on) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [&](CommParams& cp) { return p::SetHorseMode(cp, on); });
  });
}

}  // extern "C"
