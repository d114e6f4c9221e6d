// Exported entry points of the protocol layer: argument conversion and the exception guard only.
#include "quibra/quibra.h"

#include "frame/export_guard.h"
#include "frame/module.h"
#include "protocol/send_unit_message.h"

namespace f = quibra::frame;

extern "C" {

QUIBRA_API int32_t QUIBRA_CALL fnKx2GetEEPROMData(int32_t index) {
  return f::Guarded<int32_t>(0, [&] { return int32_t{quibra::module().banks.scratch(index)}; });
}

QUIBRA_API int32_t QUIBRA_CALL fnKx2GetMemtrData(int32_t position) {
  return f::Guarded<int32_t>(
      0, [&] { return int32_t{quibra::module().exercise_memory.at(position)}; });
}

QUIBRA_API int32_t QUIBRA_CALL fnKx2GetNbrOfMemtrBytes(void) {
  return f::Guarded<int32_t>(0, [] { return quibra::module().exercise_memory.count(); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_Dummy(void) {
  return f::Guarded<int32_t>(0, [] { return quibra::protocol::MemoryTestDummy(); });
}

}  // extern "C"
