/*
 * quibra: communication library for heart-rate-monitor wrist units.
 *
 * Every export is a plain C function with 32-bit arguments and a 32-bit result. On 32-bit
 * Windows all exports use __stdcall (QUIBRA_CALL) and are exported under MSVC-style decorated
 * names (_fnBcdToBin@4); the four caller-pops exports use __cdecl (QUIBRA_CDECL) and keep their
 * plain names. On Linux both macros are the default convention and every export is visible
 * under its plain name.
 *
 * Each declaration below has the form
 *   QUIBRA_API <result> QUIBRA_CALL|QUIBRA_CDECL <name>(<arguments>);
 * The Windows .def file and the export-table check are generated from these lines.
 */
#ifndef QUIBRA_QUIBRA_H
#define QUIBRA_QUIBRA_H

#include <stdint.h>

#include "quibra/records.h"

#if defined(_WIN32)
#define QUIBRA_CALL __stdcall
#define QUIBRA_CDECL __cdecl
#if defined(QUIBRA_BUILDING)
#define QUIBRA_API /* the .def file fixes the export table */
#else
#define QUIBRA_API __declspec(dllimport)
#endif
#else
#define QUIBRA_CALL
#define QUIBRA_CDECL
#define QUIBRA_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- library frame ------------------------------------------------------------------------ */

/* The library version: 172. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetLibraryVersion(void);
/* The last error code: -1 set at the start of a transfer, 1 sound playback refused, 2 file not
 * opened or created, 101 time of day out of range, 102 invalid date. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetErrorCode(void);
/* Display name of a unit type (6..40) and variant (-1..52); never null. */
QUIBRA_API const char* QUIBRA_CDECL fnQuibra_GetOrvekHRMonitorName(int32_t type, int32_t variant);
/* Packed BCD to binary and back. */
QUIBRA_API int32_t QUIBRA_CALL fnBcdToBin(int32_t value);
QUIBRA_API int32_t QUIBRA_CALL fnBinToBcd(int32_t value);
/* With ReadFromDataFile set: the first of the messages 9003, 9068, 9017 whose section is in the
 * data file, 0 when none is, 0 with error 2 when the file cannot be opened. Otherwise 1. */
QUIBRA_API int32_t QUIBRA_CALL fnGetIDFromDataFile(CommParams* params);
/* Communication texts 0..7 shown by the progress dialogs. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ResetComTexts(void);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SetComText(int32_t index, const char* text);
/* 1 while an IrDA socket link is connected. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_IsIrDAConnected(void);
/* Asks the running transfer to stop; returns 1. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_CancelExerciseReading(void);

/* ---- device memory ------------------------------------------------------------------------ */

/* Byte 0..499 of the raw-memory scratch (the answers of raw memory reads), else 0. */
QUIBRA_API int32_t QUIBRA_CALL fnKx2GetEEPROMData(int32_t index);
/* Byte at 1-based position of the downloaded exercise memory, 0 outside 1..count. */
QUIBRA_API int32_t QUIBRA_CALL fnKx2GetMemtrData(int32_t position);
/* Number of valid bytes in the downloaded exercise memory. */
QUIBRA_API int32_t QUIBRA_CALL fnKx2GetNbrOfMemtrBytes(void);

/* ---- exercise analysis -------------------------------------------------------------------- */

/* Decodes exercise `index` of the downloaded memory (mode 0: one exercise as sent by the unit,
 * 1: a whole-memory image) into the library's exercise record. 1 on success (also at once in
 * online mode); 0 for a unit type without a decoder or an exercise that is not there. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_AnalyzeFile(int32_t index, int32_t mode);
/* The 50-byte note of the last whole-memory analysis, as the unit stored it (not terminated). */
QUIBRA_API const char* QUIBRA_CALL fnQuibra_GetExerciseNote(void);
/* Exercise parameter 1..170 and flag 1..25 of the decoded exercise; 0 otherwise. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetRecParam(int32_t id);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetRecFlags(int32_t id);
/* Samples: count, and the value of a channel at an index (0 beyond the count). */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetNbrOfHRMSamples(void);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetHRMSamples(int32_t channel, int32_t index);
/* Laps: count, field 601..666 of a lap, and lap text 700 or 701 (empty when there is none). */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetNbrOfIntTimes(void);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetIntTimeData(int32_t lap, int32_t field);
QUIBRA_API const char* QUIBRA_CALL fnQuibra_GetLapText(int32_t lap, int32_t text_id);
/* Limit swaps: count, and field 900 (time, 1/10 s) or 901 (limit set) of a swap; else 0. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetNbrOfSwapTimes(void);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetLimitSwapData(int32_t index, int32_t field);

#ifdef __cplusplus
}
#endif

#endif /* QUIBRA_QUIBRA_H */
