// Exported entry points of the protocol layer: argument conversion and the exception guard only.
#include "quibra/quibra.h"

#include "frame/caller_record.h"
#include "frame/export_guard.h"
#include "frame/module.h"
#include "protocol/data_file.h"
#include "protocol/engine_control.h"
#include "protocol/irda_link.h"
#include "protocol/irda_stack_table.h"
#include "protocol/link_port.h"
#include "protocol/wireless_link.h"

namespace f = quibra::frame;
namespace p = quibra::protocol;

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

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_TestUSBPort(void) {
  return f::Guarded<int32_t>(0, [] { return p::TestUSBPort(); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_OrvekIrDADeviceAvailable(int32_t mode, int32_t reserved) {
  return f::Guarded<int32_t>(0, [=] { return p::OrvekIrDADeviceAvailable(mode, reserved); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ResetIRCommunication(int32_t options) {
  return f::Guarded<int32_t>(0, [&] { return p::ResetIRCommunication(options); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_StartIRCommunication(int32_t options, const char* port) {
  return f::Guarded<int32_t>(0, [&] { return p::StartIRCommunication(options, port); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_EndIRCommunication(int32_t /*unused*/) {
  return f::Guarded<int32_t>(0, [] { return p::EndIRCommunication(); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendIRComMessage(int32_t id, int32_t param) {
  return f::Guarded<int32_t>(0, [&] { return p::SendIRComMessage(id, param); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetCurrentMessageStatus(void) {
  return f::Guarded<int32_t>(0, [] { return p::GetCurrentMessageStatus(); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_AreAllMessagesRead(void) {
  return f::Guarded<int32_t>(0, [] { return p::GetCollectiveStatus(); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_AreAllMessagesWritten(void) {
  return f::Guarded<int32_t>(0, [] { return p::GetCollectiveStatus(); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetComProgress(void) {
  return f::Guarded<int32_t>(0, [] { return p::GetComProgress(); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetSCErrorData(int32_t index) {
  return f::Guarded<int32_t>(-1, [&] { return p::GetSCErrorData(index); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ResetSCErrorCTRs(int32_t /*unused*/) {
  return f::Guarded<int32_t>(0, [] { return p::ResetSCErrorCTRs(); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetDeviceList(int32_t link_type, uint8_t* list) {
  return f::Guarded<int32_t>(0, [&] { return p::GetDeviceList(link_type, list); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_OpenConnection(int32_t options, int32_t link_type,
                                                       int32_t device) {
  return f::Guarded<int32_t>(0, [&] { return p::OpenConnection(options, link_type, device); });
}

QUIBRA_API int32_t QUIBRA_CALL fnGetIDFromDataFile(CommParams* params) {
  return f::Guarded<int32_t>(0, [&] {
    return f::WithCommParams(params, [](CommParams& cp) { return p::GetIDFromDataFile(cp); });
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibraExt_SetIrdaStack(const QuibraIrdaStack* stack) {
  return f::Guarded<int32_t>(0, [&] { return p::InstallIrdaStack(stack) ? 1 : 0; });
}

}  // extern "C"
