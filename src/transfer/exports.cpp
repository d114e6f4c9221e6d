// Exported entry points of the transfer layer: argument conversion and the exception guard only.
#include "quibra/quibra.h"

#include "frame/export_guard.h"
#include "transfer/send_unit_message.h"

namespace f = quibra::frame;

extern "C" {

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_Dummy(void) {
  return f::Guarded<int32_t>(0, [] { return quibra::transfer::MemoryTestDummy(); });
}

}  // extern "C"
