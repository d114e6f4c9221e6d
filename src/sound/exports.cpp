// Exported entry points of the sound layer: argument conversion and the exception guard only.
#include "frame/export_guard.h"
#include "frame/module.h"
#include "quibra/quibra.h"
#include "sound/pipcast.h"
#include "sound/recorded_input.h"
#include "sound/tonvox_download.h"

namespace f = quibra::frame;

extern "C" {

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_WritePipcastData(int32_t count, const int32_t* data) {
  return f::Guarded<int32_t>(0, [&] { return quibra::sound::WritePipcastData(count, data); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_Tonvox_Start(int32_t monitorType, int32_t gainLevel,
                                                     int32_t sampleRate, int32_t debugDump,
                                                     int32_t ignoreErrors) {
  return f::Guarded<int32_t>(quibra::sound::kTonvoxDeviceFailed, [&] {
    return quibra::module().tonvox.start(monitorType, gainLevel, sampleRate, debugDump != 0,
                                         ignoreErrors != 0);
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_Tonvox_Progress(void) {
  return f::Guarded<int32_t>(quibra::sound::kTonvoxProgressBusy,
                             [] { return quibra::module().tonvox.progress(); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_Tonvox_Level(void) {
  return f::Guarded<int32_t>(quibra::sound::kTonvoxLevelBusy,
                             [] { return quibra::module().tonvox.level(); });
}

QUIBRA_API void QUIBRA_CALL fnQuibra_Tonvox_End(int32_t force) {
  f::Guarded<int32_t>(0, [&] {
    quibra::module().tonvox.end(force != 0);
    return 0;
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ResetTonvoxCommunication(int32_t) {
  return f::Guarded<int32_t>(1, [] {
    quibra::module().tonvox.end(true);
    return 1;
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadTonvoxData(uint32_t parentWindow, int32_t monitorType,
                                                       int32_t rateSelect, int32_t gainLevel,
                                                       int32_t debugDump) {
  return f::Guarded<int32_t>(0, [&] {
    return quibra::sound::ReadTonvoxData(parentWindow, monitorType, rateSelect, gainLevel,
                                         debugDump);
  });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_Tonvox_CopyDataBytes(void) {
  return f::Guarded<int32_t>(0, [] { return quibra::sound::CopyTonvoxData(); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetTonvoxPayloadLength(void) {
  return f::Guarded<int32_t>(0, [] { return quibra::sound::TonvoxPayloadLength(); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetTonvoxPayload(int16_t* payload) {
  return f::Guarded<int32_t>(0, [&] { return quibra::sound::TonvoxPayload(payload); });
}

QUIBRA_API int32_t QUIBRA_CALL fnQuibraExt_SetRecordedSoundInput(const char* wavePath,
                                                                 int32_t speedUp) {
  return f::Guarded<int32_t>(
      0, [&] { return quibra::sound::SetRecordedSoundInput(wavePath, speedUp) ? 1 : 0; });
}

}  // extern "C"
