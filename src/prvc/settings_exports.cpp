// Exported entry points of the user settings and reminders of the running and cycling units:
// argument conversion and the exception guard only.
#include <cstdint>

#include "frame/caller_record.h"
#include "frame/export_guard.h"
#include "prvc/reminders.h"
#include "prvc/user_settings_prvc.h"
#include "quibra/quibra.h"

namespace f = quibra::frame;
namespace p = quibra::prvc;

namespace {

// A reminder record of an older, shorter layout takes its missing fields from the defaults of
// slot 0.
template <typename Operation>
int32_t WithReminder(Reminder* record, Operation&& operation) {
  return f::WithSizedRecord(
      record, [](Reminder& full) { p::ResetReminder(0, full); }, operation);
}

}  // namespace

extern "C" {

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendUserSettings_PRVC(CommParams* params,
                                                              PrvcUserSettings* record) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [&](CommParams& cp) {
      return record == nullptr ? 0 : p::SendUserSettingsPrvc(cp, *record);
    });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadUserSettings_PRVC(CommParams* params,
                                                              PrvcUserSettings* record) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [&](CommParams& cp) {
      return record == nullptr ? 0 : p::ReadUserSettingsPrvc(cp, *record);
    });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PRVC_SendReminders(CommParams* params,
                                                           PrvcReminderList* list) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [&](CommParams& cp) {
      return list == nullptr ? 0 : p::SendRemindersPrvc(cp, *list);
    });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PRVC_ReadReminders(CommParams* params,
                                                           PrvcReminderList* list) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [&](CommParams& cp) {
      return list == nullptr ? 0 : p::ReadRemindersPrvc(cp, *list);
    });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PrepareReminder(Reminder* record, int32_t mark) {
  return f::Guarded<int32_t>(0, [&] {
    return WithReminder(record,
                        [&](Reminder& r) { return p::PrepareReminder(r, mark != 0) ? 1 : 0; });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendReminder(CommParams* params, Reminder* record) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [&](CommParams& cp) {
      return WithReminder(record, [&](Reminder& r) { return p::SendReminder(cp, r); });
    });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadReminder(CommParams* params, int32_t slot,
                                                     Reminder* record) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [&](CommParams& cp) {
      return WithReminder(record, [&](Reminder& r) { return p::ReadReminder(cp, slot, r); });
    });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_UnPackReminder(int32_t slot, Reminder* record,
                                                       int32_t twelveHour) {
  return f::Guarded<int32_t>(0, [&] {
    if (slot < 0 || slot >= p::kReminderSlots) return 0;
    return WithReminder(record,
                        [&](Reminder& r) { return p::UnPackReminder(slot, r, twelveHour != 0); });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ResetReminder(int32_t slot, Reminder* record) {
  return f::Guarded<int32_t>(0, [&] {
    return WithReminder(record, [&](Reminder& r) {
      p::ResetReminder(slot, r);
      return 1;
    });
  });
}

}  // extern "C"
