// Exported unit commands and service values: argument conversion and the exception guard only.
#include <cstdint>

#include "frame/export_guard.h"
#include "quibra/quibra.h"
#include "settings/unit_commands.h"

namespace f = quibra::frame;
namespace s = quibra::settings;

namespace {

int32_t Command(CommParams* params, int32_t message) {
  return f::Guarded<int32_t>(0, [&] {
    if (params == nullptr) return int32_t{0};
    return s::SendSimpleCommand(*params, message);
  });
}

}  // namespace

extern "C" {

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendMonitorToWatchMode(CommParams* params) {
  return Command(params, 9010);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendFactoryDefaultCommand(CommParams* params) {
  return Command(params, 9009);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SetMonitorToSleepMode(CommParams* params) {
  return Command(params, 9038);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_RestoreEepromMemory(CommParams* params) {
  return Command(params, 9088);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SetDisplayOff(CommParams* params) {
  return Command(params, 9105);
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_WriteTotalCalories(int32_t value) {
  return f::Guarded<int32_t>(0, [&] { return s::WriteTotalCalories(value); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_WriteIDNumber(int32_t value) {
  return f::Guarded<int32_t>(0, [&] { return s::WriteIDNumber(value); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadTotalCalories(void) {
  return f::Guarded<int32_t>(0, [] { return s::ReadTotalCalories(); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadIDNumber(void) {
  return f::Guarded<int32_t>(0, [] { return s::ReadIDNumber(); });
}

}  // extern "C"
