// Exported entry points of online recording: argument conversion and the exception guard only.
#include "quibra/quibra.h"

#include "frame/export_guard.h"
#include "frame/module.h"
#include "protocol/wireless_link.h"

namespace f = quibra::frame;
namespace p = quibra::protocol;

namespace {

quibra::exercise::OnlineRecording& online() {
  return quibra::module().online;
}

}  // namespace

extern "C" {

QUIBRA_API int32_t QUIBRA_CDECL fnQuibra_ResetOnlineSamples(void) {
  return f::Guarded<int32_t>(0, [] { return online().ResetOnlineSamples(); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PauseOnline(int32_t pause) {
  return f::Guarded<int32_t>(0, [=] { return online().PauseOnline(pause); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetOnlineData(int32_t) {
  return f::Guarded<int32_t>(-1, [] { return online().GetOnlineData(); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetRealOnlineData(int32_t rec, int32_t* buffer) {
  return f::Guarded<int32_t>(-1, [=] { return online().GetRealOnlineData(rec, buffer); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetOnlineDataEx(int32_t rec, int32_t index,
                                                        int32_t* info) {
  return f::Guarded<int32_t>(0, [=] { return online().GetOnlineDataEx(rec, index, info); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetOnlineSample(int32_t rec, int32_t channel,
                                                        int32_t index) {
  return f::Guarded<int32_t>(-1, [=] { return online().GetOnlineSample(rec, channel, index); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SetOnlineSample(int32_t rec, int32_t channel,
                                                        int32_t index, int32_t value) {
  return f::Guarded<int32_t>(
      0, [=] { return online().SetOnlineSample(rec, channel, index, value); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetNbrOfOnlineSamples(int32_t rec) {
  return f::Guarded<int32_t>(
      0, [=] { return quibra::module().exercise_store.GetSampleCount(rec); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetOnlineRecParam(int32_t rec, int32_t id) {
  return f::Guarded<int32_t>(
      0, [=] { return quibra::module().exercise_store.GetExerciseParam(rec, id); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_AddOnlineLaptime(int32_t rec) {
  return f::Guarded<int32_t>(0, [=] { return online().AddOnlineLaptime(rec); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetOnlineLaptime(int32_t rec, int32_t lap,
                                                         int32_t* info) {
  return f::Guarded<int32_t>(0, [=] { return online().GetOnlineLaptime(rec, lap, info); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetLaptimeSample(int32_t rec, int32_t field,
                                                         int32_t lap) {
  return f::Guarded<int32_t>(-1, [=] { return online().GetLaptimeSample(rec, field, lap); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetNbrOfOnlineIntTimes(int32_t rec) {
  return f::Guarded<int32_t>(0, [=] { return quibra::module().exercise_store.GetLapCount(rec); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetOnlineRRPacket(uint8_t* packet) {
  return f::Guarded<int32_t>(0, [=] { return p::GetOnlineRRPacket(packet); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetOnlineRLX(int32_t a, int32_t b) {
  return f::Guarded<int32_t>(0, [=] { return p::GetOnlineRLX(a, b); });
}

}  // extern "C"
