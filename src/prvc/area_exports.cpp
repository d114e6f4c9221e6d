// Exported entry points of the totals, odometers and display layouts: argument conversion and
// the exception guard only.
#include <cstdint>

#include "frame/caller_record.h"
#include "frame/export_guard.h"
#include "prvc/display_table.h"
#include "prvc/displays.h"
#include "prvc/odometer.h"
#include "prvc/totals.h"
#include "quibra/quibra.h"

namespace f = quibra::frame;
namespace p = quibra::prvc;

namespace {

// The odometer record's defaults for a caller's shorter layout: none kept, the size of ours.
void OdometerDefaults(OdometerSettings& record) {
  record = OdometerSettings{};
  record.Size = sizeof(OdometerSettings);
}

template <typename Record, typename Operation>
int32_t WithParamsAnd(CommParams* params, Record* record, Operation&& operation) {
  return f::Guarded<int32_t>(0, [&] {
    if (record == nullptr) return int32_t{0};
    return f::WithCommParams(params, [&](CommParams& cp) { return operation(cp, *record); });
  });
}

template <typename Operation>
int32_t WithOdometer(CommParams* params, OdometerSettings* record, Operation&& operation) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithSizedRecord(record, OdometerDefaults, [&](OdometerSettings& r) {
      return f::WithCommParams(params, [&](CommParams& cp) { return operation(cp, r); });
    });
  });
}

}  // namespace

extern "C" {

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadTotals_PRVC(CommParams* params, TotalsPRVC* totals) {
  return WithParamsAnd(params, totals, p::ReadTotals);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_WriteTotals_PRVC(CommParams* params, TotalsPRVC* totals) {
  return WithParamsAnd(params, totals, p::WriteTotals);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadOdometer(CommParams* params, OdometerSettings* record) {
  return WithOdometer(params, record, p::ReadOdometer);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_WriteOdometer(CommParams* params,
                                                      OdometerSettings* record) {
  return WithOdometer(params, record, p::WriteOdometer);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PackOdometer(int32_t area, OdometerSettings* record) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithSizedRecord(record, OdometerDefaults,
                              [&](OdometerSettings& r) { return p::PackOdometer(area, r); });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_UnPackOdometer(int32_t area, OdometerSettings* record) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithSizedRecord(record, OdometerDefaults,
                              [&](OdometerSettings& r) { return p::UnPackOdometer(area, r); });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetOrvekDisplayID(int32_t code, int32_t monitorType,
                                                          int32_t class1) {
  return f::Guarded<int32_t>(0, [&] { return p::GetOrvekDisplayID(code, monitorType, class1); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetMonitorDisplayID(int32_t id, int32_t monitorType,
                                                            int32_t /*unused*/) {
  return f::Guarded<int32_t>(0, [&] { return p::GetMonitorDisplayID(id, monitorType); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_WriteDisplays_PR9W(CommParams* params, DisplaysPR9W* record,
                                                           int32_t /*unused*/) {
  return WithParamsAnd(params, record, p::WriteDisplaysPR9W);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadDisplays_PR9W(CommParams* params, DisplaysPR9W* record,
                                                          int32_t /*unused*/) {
  return WithParamsAnd(params, record, p::ReadDisplaysPR9W);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_WriteDisplays_Other_VC8Z(CommParams* params,
                                                                 DisplaysOther* record) {
  return WithParamsAnd(params, record, p::WriteDisplaysOther);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadDisplays_Other_VC8Z(CommParams* params,
                                                                DisplaysOther* record) {
  return WithParamsAnd(params, record, p::ReadDisplaysOther);
}

}  // extern "C"
