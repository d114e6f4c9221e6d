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
 * opened or created, 101 time of day out of range, 102 invalid date, 103 an exercise whose
 * length runs past the memory it is in (no exercise after it can be found). */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetErrorCode(void);
/* Display name of a unit type (6..40) and variant (-1..52); never null. */
QUIBRA_API const char* QUIBRA_CDECL fnQuibra_GetOrvekHRMonitorName(int32_t type, int32_t variant);
/* Packed BCD to binary and back. */
QUIBRA_API int32_t QUIBRA_CALL fnBcdToBin(int32_t value);
QUIBRA_API int32_t QUIBRA_CALL fnBinToBcd(int32_t value);
/* With ReadFromDataFile set: the first of the messages 9003, 9068, 9017 whose section is in the
 * data file, 0 when none is, 0 with error 2 when the file cannot be opened. Otherwise 1. */
QUIBRA_API int32_t QUIBRA_CALL fnGetIDFromDataFile(CommParams* params);
/* Communication texts 0..7 shown by the progress dialogs. Refused: 0 (index outside 0..7). */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ResetComTexts(void);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SetComText(int32_t index, const char* text);
/* 1 while an IrDA socket link is connected. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_IsIrDAConnected(void);
/* Asks the running transfer to stop; returns 1. The request holds until the end of the engine's
 * cycle, but only for what was queued before it: a message sent after it runs as usual. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_CancelExerciseReading(void);

/* ---- device memory ------------------------------------------------------------------------ */

/* Byte 0..499 of the raw-memory scratch (the answers of raw memory reads), else 0.
 * Refused: 0 (index outside 0..499). */
QUIBRA_API int32_t QUIBRA_CALL fnKx2GetEEPROMData(int32_t index);
/* Byte at 1-based position of the downloaded exercise memory, 0 outside 1..count. */
QUIBRA_API int32_t QUIBRA_CALL fnKx2GetMemtrData(int32_t position);
/* Number of valid bytes in the downloaded exercise memory. */
QUIBRA_API int32_t QUIBRA_CALL fnKx2GetNbrOfMemtrBytes(void);

/* ---- exercise analysis -------------------------------------------------------------------- */

/* Decodes exercise `index` of the downloaded memory (mode 0: one exercise as sent by the unit,
 * 1: a whole-memory image) into the library's exercise record. 1 on success (also at once in
 * online mode); 0 for a unit type without a decoder or an exercise that is not there. An
 * exercise with an impossible start (month, day, hour, minute or second) or length is not
 * decoded either: 0 with error code 102, 101 or 103 and a failure text naming the exercise and
 * the field (fnQuibraExt_GetFailureText); an exercise that is simply not there leaves the
 * failure text empty. */
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

/* Lists exercise `index` of the downloaded memory of an older unit (outdoor or K-series) into
 * *info from its header, without decoding it. 1, or 0 when the exercise is not there or the
 * current unit is of another family (the record is cleared and sized either way). */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetExeFileInfo(int32_t index, ExeFileInfo* info);
/* Copies the name of the unit's current sport exercise (at most 8 characters, no terminator)
 * into buffer; returns the number of characters written. The library cannot know the buffer's
 * size: it must hold 8 characters. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SportExeName(char* buffer, int32_t reserved);

/* ---- exercise download ------------------------------------------------------------------- */

/* Downloads the unit's exercise memory (mode 0: asks for it; nonzero: listens while the unit
 * sends on its own). With a window the download dialog runs and its result is returned (1
 * completed, 0 closed); without one the result is 1 completed, 2 no link, 3 no answer, else 0.
 * It does not decode; after a download that did not complete no bytes are left to decode. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadExercisesData(uint32_t window, int32_t mode);
/* Downloads file `file_index` of a file-based unit (max_bytes: its low byte limits the bytes
 * sent, 0 = the whole file) and decodes it; results as fnQuibra_ReadExercisesData. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadExerciseFile(uint32_t window, int32_t file_index,
                                                         int32_t max_bytes);
/* Lists file `file_index` of a file-based unit into *info from the file's first 50 bytes.
 * 1, or 0 when the read did not complete. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetExeFileInfoEx(uint32_t window, int32_t file_index,
                                                         ExeFileInfo* info);
/* Sets the detected unit type and variant from the downloaded memory (extended: the layout of
 * a single file). */
QUIBRA_API void QUIBRA_CALL fnQuibra_RefreshMonitorInfo(int32_t extended);

/* ---- exercise files ------------------------------------------------------------------------ */

/* Writes the decoded exercise to an HRM file. path: a buffer of at least 260 characters; when it
 * is empty the save dialog asks for the name (owned by window) and writes it back (on a system
 * without dialogs that counts as cancelled). 1, or 0 with error code 2 when the dialog was
 * cancelled or the file cannot be created, 0 when a write failed. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SaveExerciseHRM(uint32_t window, char* path,
                                                        int32_t reserved);
/* Saves the downloaded exercise memory as a binary file (byte k = memory position k, from the
 * always-zero position 0 through the last byte), path from params or, when empty, from the save
 * dialog owned by params->ParentWindow. 1; 0 with error code 2 when cancelled or not created. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SaveExerciseBinFile(CommParams* params);
/* Loads a binary file into the exercise memory (file byte k at position k; byte 0 dropped) after
 * resetting the exercise record; it does not decode. 1; 0 with error code 2 when not opened. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_LoadExerciseBinFile(CommParams* params);
/* Reads a memory text dump (count, version, entries from position 0; mode 1: one more header
 * line and entries from position 2) into the exercise memory; returns the version number. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadBinaryMemoryFile(const char* path, int32_t mode);
/* Reads the library's own memory dump (written by fnQuibra_AnalyzeFile under option 0x40):
 * "C:\OrvekMem.txt" on Windows, OrvekMem.txt in the temporary directory elsewhere. */
QUIBRA_API int32_t QUIBRA_CALL fnDumpReadEntireMemory(void);

/* ---- infrared link and communication engine ---------------------------------------------- */

/* -10 when the system is too old for the USB adapter; the handle value (positive) of the first
 * USB adapter device file that opens, which is closed again; 0 when none opens (also when the
 * driver kit found the adapter, which then stays selected). */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_TestUSBPort(void);
/* Looks for wrist units in IrDA range. Mode 1: the unit type of the last recognised device
 * (1000 for the reserved name); mode 0: 1 when a unit is recognised (1000 for the reserved
 * name). 0 when no device is in range, -1 when none is recognised, else the socket error. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_OrvekIrDADeviceAvailable(int32_t mode, int32_t reserved);
/* Receives an exercise memory from a mobile phone over infrared: advertises the IrCOMM service,
 * waits in the "IRCOMM_CONNECTION" dialog owned by parentWindow (21 s, then Restart is offered)
 * for the phone to connect and send its memory, acknowledges it with one byte and decodes it as
 * a whole-memory image. fnQuibra_AnalyzeFile's result (0, 1) when the memory arrived; 2 when
 * the user pressed Restart; 0 when the dialog was cancelled or the service could not be
 * opened. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadFromMobile(uint32_t parentWindow);
/* Sets the link options (0x01 or 0x10 clear: serial byte recoding; 0x02 keep-alive; 0x04
 * missed-beat correction; 0x10 USB adapter; 0x20 IrDA sockets; 0x40 extra analysis; 0x80
 * online mode; 0x100 wireless link). 1, or 0 while the engine runs. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ResetIRCommunication(int32_t options);
/* Resets with the options, opens the port (a serial port name, or null for the USB adapter) and
 * starts the communication thread. 1 when it runs, else 0. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_StartIRCommunication(int32_t options, const char* port);
/* Asks the communication thread to end (it closes the port) and closes the wireless link. 1. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_EndIRCommunication(int32_t unused);
/* Queues a message 9001..9108 or a batch request 8000..8008 (not 8002). 1 when queued, 0 when
 * the engine is not running. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendIRComMessage(int32_t id, int32_t param);
/* 20 when the engine is not running, else the collective status: 0 nothing final yet, 10
 * completed, 30 no answer, 40 and 50 a batch or an answer under way, 60 batch started. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetCurrentMessageStatus(void);
/* The collective status, whether or not the engine runs. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_AreAllMessagesRead(void);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_AreAllMessagesWritten(void);
/* Progress of a batch or download in percent, rounded; 0 while no total is known. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetComProgress(void);
/* Error counters 0..3 (send attempts, checksum failures, idle receive rounds, messages without
 * answer), 100 progress done, 101 progress total; else -1. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetSCErrorData(int32_t index);
/* Zeroes the four error counters; 1. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ResetSCErrorCTRs(int32_t unused);
/* Wireless link: asks the link library for its devices; list byte 0 receives the count, the
 * ids follow from byte 4 (up to 32). The 32-bit word at byte 4 is passed to the library first.
 * The library cannot know the list's size: it must hold 132 bytes.
 * Returns the library's open result, 0 when the library is not there. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetDeviceList(int32_t link_type, uint8_t* list);
/* Wireless link: opens the device (option 0x100 and a nonzero id), resets the options and
 * registers the device. Returns the library's open result (above 18000: open), else 0. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_OpenConnection(int32_t options, int32_t link_type,
                                                       int32_t device);
/* ---- device character set ----------------------------------------------------------------- */

/* 1 when every character of the zero-terminated text is in character table 0, else 0. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_CheckOrvekCharString(const char* text);
/* The same with character table 0..5 (an unknown table number accepts only the empty text). */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_CheckOrvekCharStringEx(const char* text, int32_t table);
/* Rewrites text in place as the unit will show text[start .. start+count-1] in at most maxPixels
 * with table 0..5 (missing characters and characters past the pixel limit become spaces) and
 * returns the text's address; when start is above 255 or above the text's length, returns the
 * length and leaves the text alone. The result is pointer-sized (32 bits on Windows). */
QUIBRA_API intptr_t QUIBRA_CALL fnQuibra_fnCutStringToFitPixelsPreview(char* text, int32_t start,
                                                                       int32_t count,
                                                                       int32_t maxPixels,
                                                                       int32_t table);
/* ---- settings of the older units ---------------------------------------------------------- */

/* Every group moves with five calls: Prepare checks the record (out-of-range values take their
 * defaults in place, some make it fail) and packs it into the write message's image; Send
 * prepares and delivers it (LinkType 1: infrared; 0: sound, or the data file when CommParams
 * asks for it); Read fetches the read message's image from the unit and unpacks it; UnPack fills
 * a record from the received image; Reset fills the defaults. 1 success, 0 failure; a record that
 * fails a check leaves the image untouched. */

/* User settings. Prepare's second argument is not used; the third sets the name fix (the two
 * value bytes also in the first two name characters). Reset returns the record. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PrepareUserSettings(UserSettings* record, int32_t unused,
                                                            int32_t nameFix);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendUserSettings(CommParams* params, UserSettings* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadUserSettings(CommParams* params, UserSettings* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_UnPackUserSettings(int32_t linkType, UserSettings* record);
QUIBRA_API UserSettings* QUIBRA_CALL fnQuibra_ResetUserSettings(UserSettings* record);
/* Writes the first two characters of the name into memory block 51 of a type 22 unit (over
 * infrared when linkType is nonzero, else by sound), with the progress dialog; 1 when sent. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_K55Tm3NameUpdFix(int32_t linkType, const char* name);

/* Watch settings. Prepare fails with error code 101 for a time and 102 for a date out of range;
 * -1 in a time or the date stands for the PC's local time or date. Reset returns the record. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PrepareWatchSettings(WatchSettings* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendWatchSettings(CommParams* params,
                                                          WatchSettings* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadWatchSettings(CommParams* params,
                                                          WatchSettings* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_UnPackWatchSettings(WatchSettings* record);
QUIBRA_API WatchSettings* QUIBRA_CALL fnQuibra_ResetWatchSettings(WatchSettings* record);

/* Exercise profiles 1..7. Prepare's two further arguments do not change its result; Read and
 * UnPack take the profile number; Reset's third argument is not used. Reset returns the record. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PrepareExerciseProfile(ExerciseProfile* record,
                                                               int32_t unused1, int32_t unused2);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendExerciseProfile(CommParams* params,
                                                            ExerciseProfile* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadExerciseProfile(CommParams* params, int32_t number,
                                                            ExerciseProfile* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_UnPackExerciseProfile(int32_t number,
                                                              ExerciseProfile* record);
QUIBRA_API ExerciseProfile* QUIBRA_CALL fnQuibra_ResetExerciseProfile(int32_t number,
                                                                      ExerciseProfile* record,
                                                                      int32_t unused);

/* Exercise limits: by sound or data file only (Send over infrared returns 1 and sends nothing);
 * Prepare never fails. Reset returns the record. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PrepareExerciseLimits(ExerciseLimits* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendExerciseLimits(CommParams* params,
                                                           ExerciseLimits* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_UnPackExerciseLimits(ExerciseLimits* record);
QUIBRA_API ExerciseLimits* QUIBRA_CALL fnQuibra_ResetExerciseLimits(ExerciseLimits* record);

/* Exercise sets 1..5 in two layouts (variant 0 or 1; any other variant fails). Prepare's second
 * argument is not used; its third makes the checks lenient (Send takes it from LenientChecks).
 * Reset's third argument is not used; monitor types 13, 22 and 23 have defaults of their own.
 * Reset returns the record. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PrepareExerciseSet(ExerciseSet* record, int32_t unused,
                                                           int32_t lenient, int32_t variant);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendExerciseSet(CommParams* params, ExerciseSet* record,
                                                        int32_t variant);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadExerciseSet(CommParams* params, int32_t number,
                                                        ExerciseSet* record, int32_t variant);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_UnPackExerciseSet(int32_t number, ExerciseSet* record,
                                                          int32_t variant);
QUIBRA_API ExerciseSet* QUIBRA_CALL fnQuibra_ResetExerciseSet(int32_t number, ExerciseSet* record,
                                                              int32_t unused, int32_t monitorType);

/* ---- bikes -------------------------------------------------------------------------------- */

/* Bike settings: messages 9019 / 9020, or 9108 (write only) when LayoutType is 32. Prepare checks
 * bikes 0 and 1 and completes them in place; 0 when a check fails (the image is then untouched).
 * Send goes over infrared, by sound or through the data file; by sound the 9108 layout with
 * SendTwice set goes twice, 1 s apart. UnPack fills the record from the 9020 image and returns 1;
 * Reset returns the record. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PrepareBikeSettings(BikeSettings* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendBikesSettings(CommParams* params, BikeSettings* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadBikesSettings(CommParams* params, BikeSettings* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_UnPackBikeSettings(BikeSettings* record);
QUIBRA_API BikeSettings* QUIBRA_CALL fnQuibra_ResetBikeSettings(BikeSettings* record);
/* The VCQ units (monitor types 29 and 31), by sound or data file only. The distance totals of
 * the two bikes (0..999999 each) and their sum, dated (yyyymmdd): 0 without a transfer for a
 * total out of range or another monitor type. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendBikesSettingsVCQ(CommParams* params,
                                                             int32_t monitorType, int32_t total1,
                                                             int32_t total2, int32_t date);
/* Exercise settings of the VCQ units (message 9079); over infrared returns 1 without sending. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_VCQ_SendExerciseSettings(CommParams* params,
                                                                 VcqExerciseSettings* record);

/* ---- logos ------------------------------------------------------------------------------- */

/* A logo is one 32-bit value per display column, left to right; bit r is the pixel in row r.
 * Display rows and columns of a monitor type (0 for a type without a logo). */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetLogoRowCount(int32_t monitorType);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetLogoColCount(int32_t monitorType);
/* Checks every column against the type's rows (0 with nothing sent when one does not fit, or
 * for a type without a logo), packs the logo and sends it (LinkType 1: infrared; 0: sound, or
 * the data file). The slot names the logo of the running and cycling units (33..38). The
 * outdoor units (19..21) take two parts; by sound with SoundFileOnly and KeepSoundFile the
 * second part goes to a file of its own (the name with 2, 3, ... added), named in FilePath
 * afterwards. columns is not changed. 1 / 0. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendMonitorLogo(CommParams* params, int32_t monitorType,
                                                        const int32_t* columns, int32_t slot);
/* fnQuibra_SendMonitorLogo for monitor type 11, slot 0. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendBitmap(CommParams* params, const int32_t* columns);
/* Reads the logo of a type 11, 12, 13 or 22 unit (47 columns), of an outdoor unit (20, 21: 47
 * columns of 15 rows, in two parts) or of a running or cycling unit (33..38: 64 columns of the
 * slot) into columns; 0 for every other type. 1 / 0. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadMonitorLogo(CommParams* params, int32_t monitorType,
                                                        int32_t* columns, int32_t slot);
/* The 47 columns of the logo image received last. Returns 1. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_UnPackBitmap(int32_t* columns);
/* Reads the 64 columns of a logo slot straight from the memory of a running or cycling unit
 * (CommParams' monitor type when it is 33..38, else the unit identified last). 1 / 0. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PRVC_ReadBitmap(CommParams* params, int32_t* columns,
                                                        int32_t slot);

/* ---- settings of the outdoor units (types 19..21) ---------------------------------------- */

/* Every group follows the settings pattern: Send checks and packs the record (unless the data
 * file is to be read) and delivers it over infrared (LinkType 1), by sound, or through the data
 * file, whose image then fills the record; Read fetches the image over infrared and unpacks it;
 * a record that fails its check is refused before anything is sent, the message image untouched.
 * All return 1 / 0 unless stated. */

/* Watch settings. Prepare fails with error 101 for a time and 102 for a date out of range;
 * small letters of the alarm texts become capitals in the record. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_PrepareWatchSettings(OutdoorWatchSettings* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_SendWatchSettings(CommParams* params,
                                                            OutdoorWatchSettings* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_ReadWatchSettings(CommParams* params,
                                                            OutdoorWatchSettings* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_UnPackWatchSettings(OutdoorWatchSettings* record);
/* The PC's time and date, the second time six hours behind, every alarm off at 07:00 with the
 * text "WAKE UP". Returns the record. */
QUIBRA_API OutdoorWatchSettings* QUIBRA_CALL
fnQuibra_T_ResetWatchSettings(OutdoorWatchSettings* record);

/* Reminders 0..4. Prepare fails only for a text character outside the unit's character table;
 * with mark set it marks the reminder for the next batch. UnPack reads the received image of
 * the reminder from payload byte 6 + offset (offset 1 for an image loaded from the data file). */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_PrepareReminder(OutdoorReminder* record, int32_t mark);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_SendReminder(CommParams* params, OutdoorReminder* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_ReadReminder(CommParams* params, int32_t number,
                                                       OutdoorReminder* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_UnPackReminder(int32_t number, OutdoorReminder* record,
                                                         int32_t offset);
/* Off, today at the current time, the text "Remind1".."Remind5". Returns the record. */
QUIBRA_API OutdoorReminder* QUIBRA_CALL fnQuibra_T_ResetReminder(int32_t number,
                                                                 OutdoorReminder* record);

/* User settings. UnPack returns the result of the check run over the unpacked record. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_PrepareUserSettings(TrkUserSettings* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_SendUserSettings(CommParams* params,
                                                           TrkUserSettings* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_ReadUserSettings(CommParams* params,
                                                           TrkUserSettings* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_UnPackUserSettings(TrkUserSettings* record);
QUIBRA_API TrkUserSettings* QUIBRA_CALL fnQuibra_T_ResetUserSettings(TrkUserSettings* record);

/* The altitude calibration route, one point (0..19) at a time. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_SendAltCalibRoute(CommParams* params,
                                                            OutdoorCalibPoint* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_ReadAltCalibRoute(CommParams* params, int32_t point,
                                                            OutdoorCalibPoint* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_UnPackCalibration(int32_t point,
                                                            OutdoorCalibPoint* record);

/* The info text. UnPack reads the image the data file gave. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_SendInfoTexts(CommParams* params,
                                                        OutdoorInfoTexts* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_UnPackInfoText(OutdoorInfoTexts* record);
/* Splits a text into two display lines of at most 7 characters each (8 bytes each, terminated),
 * the first breaking at its last space when a word runs past it; characters the unit lacks
 * become spaces. 1 when the whole text fits, 0 when it was cut (or an argument is null). */
QUIBRA_API int32_t QUIBRA_CALL fnSplitInfoText(const char* text, char* line1, char* line2);

/* Season totals and fitness test results: Read fetches and unpacks them; Reset clears them on
 * the unit (over infrared, by sound or into the data file) and, when that succeeded, fills the
 * record with the cleared values. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_ReadSeasonTotals(CommParams* params,
                                                           OutdoorSeasonTotals* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_ResetSeasonTotals(CommParams* params,
                                                            OutdoorSeasonTotals* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_UnPackSeasonTotals(OutdoorSeasonTotals* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_ReadTestResults(CommParams* params,
                                                          OutdoorTestResults* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_ResetTestResults(CommParams* params,
                                                           OutdoorTestResults* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_UnPackTestResults(OutdoorTestResults* record);

/* The 47 columns (15 rows) of the two-part logo an outdoor unit answered last. Returns 1. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_T_UnPackBitmap(int32_t* columns);

/* ---- sound upload ------------------------------------------------------------------------- */

/* Plays count bytes (the low byte of each of the count values, at most 298) and their CRC-16 as
 * the upload sound to a unit's microphone; 1 when played, else 0. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_WritePipcastData(int32_t count, const int32_t* data);

/* ---- sound download ----------------------------------------------------------------------- */

/* Starts recording a unit's sound download (8-bit mono, 22 050 Hz when sampleRate is exactly
 * 22050, else 44 100 Hz) on a capture thread. gainLevel 1..10 sets the filter gain (twice the
 * level); any other level records silence. A nonzero debugDump writes the reception's dump files
 * in the current directory; a nonzero ignoreErrors keeps blocks that fail their check.
 * 0 started; -1 no sound card; -2 the device is recording for another program; -3 the format is
 * not supported; -4 the device failed; -9 out of memory. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_Tonvox_Start(int32_t monitorType, int32_t gainLevel,
                                                     int32_t sampleRate, int32_t debugDump,
                                                     int32_t ignoreErrors);
/* Percent of the announced data received (100: complete); -5 the data was bad; -6 the unit fell
 * silent; -7 busy, ask again. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_Tonvox_Progress(void);
/* The signal level in percent; -8 busy, ask again. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_Tonvox_Level(void);
/* Ends the reception and releases the sound card; with force 0 nothing happens when it has
 * already ended. */
QUIBRA_API void QUIBRA_CALL fnQuibra_Tonvox_End(int32_t force);
/* fnQuibra_Tonvox_End(1); returns 1. The argument is not used. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ResetTonvoxCommunication(int32_t unused);
/* Receives a unit's sound download behind the "TONVOX_CONNECTION" dialog (rateSelect 1: 22 050 Hz,
 * else 44 100 Hz). After a complete reception monitor types 25, 26, 30 and 31 return 1 (read the
 * payload with fnQuibra_GetTonvoxPayload), type 32 sets the detected unit and returns 1, and
 * every other type returns fnQuibra_AnalyzeTonvoxFile's result. Otherwise 2 when the user pressed
 * Retry, else 0. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadTonvoxData(uint32_t parentWindow, int32_t monitorType,
                                                       int32_t rateSelect, int32_t gainLevel,
                                                       int32_t debugDump);
/* Copies the data of the last reception into the memory transfer buffer from position 1.
 * 1, or 0 when it does not fit. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_Tonvox_CopyDataBytes(void);
/* The payload length of the sound download in the memory transfer buffer. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetTonvoxPayloadLength(void);
/* Stores the payload bytes, each widened to 16 bits, into payload (room for
 * fnQuibra_GetTonvoxPayloadLength values); returns the length. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetTonvoxPayload(int16_t* payload);
/* Decodes the sound download in the memory transfer buffer (monitor types 6, 9 and 10) into
 * exercise 0 of the record store. The two further arguments are not used. Returns 1. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_AnalyzeTonvoxFile(int32_t monitorType, int32_t unused1,
                                                          int32_t unused2);

/* ---- raw memory test ---------------------------------------------------------------------- */

/* Reads 100 bytes at unit address 256, writes 1, 2, 3 there, reads again; returns 0. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_Dummy(void);

/* ---- unit commands and service values ------------------------------------------------------ */

/* Commands without answer, over infrared or by sound (memory restore and display off have no
 * sound form: with the sound link they report 1 without sending). 1 / 0. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendMonitorToWatchMode(CommParams* params);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendFactoryDefaultCommand(CommParams* params);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SetMonitorToSleepMode(CommParams* params);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_RestoreEepromMemory(CommParams* params);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SetDisplayOff(CommParams* params);
/* Service values over infrared: total calories 0..999999 and the identification number
 * 0..16777215. Writes 1 / 0 (0 without a transfer when out of range); reads the value, or 0
 * when the transfer failed. */
/* Refused: 0 (value outside 0..999999). */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_WriteTotalCalories(int32_t value);
/* Refused: 0 (value outside 0..16777215). */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_WriteIDNumber(int32_t value);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadTotalCalories(void);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadIDNumber(void);
/* Switches the monitor type a unit runs as: type 22 to mode 2 or 3 (read back and checked),
 * type 12 (over infrared, product codes 35 and 36 only) or 10 (by sound) to mode 0 or 1; the
 * factory defaults follow. 1 / 0. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SwitchMonitorType(int32_t type, int32_t mode);
/* Service parameters: the default hour mode (0/1, variant 0/1), the clock's time correction
 * (magnitude 6..3999) and the LCD contrast (1..14), routed by the monitor type (block write,
 * paged block write, or for the running and cycling units a direct memory write over IrDA that
 * shows "Success!" or "Failed!"). With the factory flag the factory defaults follow after
 * 750 ms (the time correction's delay; 0 = 750) and their result is returned. The short forms
 * go by sound to type 11 with the factory defaults. 1 / 0; out of range gives 0 unsent. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SetDefaultHourMode(int32_t mode, int32_t variant);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SetDefaultHourModeEx(int32_t link_type, int32_t mode,
                                                             int32_t variant, int32_t monitor_type,
                                                             int32_t factory_defaults);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SetTimeCorrectionValue(int32_t value);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SetTimeCorrectionValueEx(int32_t link_type, int32_t value,
                                                                 int32_t monitor_type,
                                                                 int32_t factory_defaults,
                                                                 int32_t delay_ms);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SetLCDContrast(int32_t level);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SetLCDContrastEx(int32_t link_type, int32_t level,
                                                         int32_t monitor_type,
                                                         int32_t factory_defaults);
/* Deletes exercise files: file -2 records the date (yyyymmdd), time of day (s) and 12-hour
 * flag that name the file to delete; 0 or more names that file (from the downloaded memory,
 * or from the unit for types 33..38); -1 deletes every file. 1 / 0. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendFileDeleteCommand(CommParams* params, int32_t file,
                                                              int32_t date, int32_t time,
                                                              int32_t twelve_hour);
/* Switches the heart-rate limit alarm of a type 22 or 23 unit off; 1 when the unit took it. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SetK65LimitAlarmOff(void);
/* Writes a byte into memory area 9 (only); over infrared (link type 1) it is read back and 1
 * means the unit holds it; other link types prepare it and return 1. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_WriteMemoryByte(int32_t link_type, int32_t area,
                                                        int32_t value);
/* Reads the 13 usage counters of a type 20 or 21 unit; with the copy flag their values also
 * go to the clipboard as text, one line each (CR LF). 1 / 0. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetUsageCounters(int32_t copy_to_clipboard);
/* Counter 0..12 of the last fnQuibra_GetUsageCounters; 0 outside or before any read.
 * Refused: 0 (index outside 0..12). */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadUsageCounterValue(int32_t index);
/* Writes count bytes (1..488) into the factory data area of a running or cycling unit (types
 * 33..38) over IrDA and shows "Success!" or "Failed!". 1 / 0. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_WriteFactoryEEPROMDataPRVCeq(const uint8_t* bytes,
                                                                     int32_t count,
                                                                     int32_t monitor_type);

/* ---- unit information ---------------------------------------------------------------------- */

/* Asks the unit who it is (the probe form when info->MonitorInUse is -1) and unpacks the answer
 * into info; for types 33, 35, 36 and 37 also checks the unit's memory state, for type 37 the
 * stride sensor. 1 / 0. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadMonitorInfo(CommParams* params, MonitorInfo* info);
/* Unpacks the stored identification answer into info; records the detected unit. 1 / 0. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_UnPackMonitorInfo(MonitorInfo* info);
/* The raw product code of the unit (not its monitor type); 0 when the read failed. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadMonitorType(void);
/* Repairs a running or cycling unit whose memory state block is not sound; 1 when it did. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_EEPROMStateCheckFix(CommParams* params);
/* 1 when a stride sensor is paired with the unit. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_N4Sensor(CommParams* params);
/* Sets six paired-sensor flags for types 34 and 38 (other types leave them); flags must have
 * room for six values. 1 / 0; 0 with nothing sent when flags is null. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_Sensors_PRVCZ(CommParams* params, int32_t* flags);
/* Writes the identification and the whole memory of a running or cycling unit to a text file as
 * hexadecimal lines. 1 / 0. */
QUIBRA_API int32_t QUIBRA_CDECL fnQuibra_SavePRVCFileMemory(uint32_t parent_window,
                                                            const char* path);

/* ---- fitness units ----------------------------------------------------------------------- */

/* Usage counters, weekly summaries and personal values that units of types 26, 30, 31 and 32
 * deliver with their exercise memory, read from the downloaded memory by identifier (counters
 * 5000..5011, summary values 6001..6009, personal values 7001..7008; dates as yyyymmdd).
 * -1677216 for a type or identifier without a value. The weekly summary count is the memory's
 * own for any type; a summary number is not checked against it (a week beyond the memory reads
 * 0, one before -1 or past 11397 gives -1677216). */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetUsageCounter(int32_t monitorType, int32_t id);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetWeekSummaryCount(int32_t monitorType);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetWeekSummaryValue(int32_t monitorType, int32_t week,
                                                            int32_t id);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetUserSetting(int32_t monitorType, int32_t id);

/* The J9 unit (type 27), read block by block into the exercise memory. Exercise summaries:
 * the number of files; test results (kind 0 fitness, 1 relaxation): the number of blocks read
 * (4 or 9); the programme: 4; the user data into the record: 1. Each returns 0 when a block read
 * fails (what was read stays in the memory) or, for the user data, when a value fails its
 * check. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9ExerciseFiles(CommParams* params);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9TestResults(CommParams* params, int32_t kind);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9Program(CommParams* params);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9UserSettings(CommParams* params,
                                                           FitnessUserSettings* settings);
/* The same reads for an application that sends each block read (message 9008, parameter 56)
 * itself: the steps set the block that read fetches, or copy what it brought into the memory.
 * Exercise summaries: fn1 clears the memory; fn2 (after the count read, 9008 with parameter 55)
 * returns the number of files; fn3 sets summary n's block and returns its address; fn4 copies it
 * and returns the byte count. Test results: fn0 sets the relaxation count's block (1; 0 for kind
 * 0); fn1 clears the memory and returns the number of blocks; fn2 sets block i and returns its
 * address; fn3 copies it and returns the byte count. Programme: fn1 clears the memory and returns
 * 4; fn2 sets block i and returns its address; fn3 copies it; fn4 sets the mode block; fn5
 * closes the image (fn3 and fn5 return the byte count). User data: fn1 sets the block and
 * returns its address, fn2 unpacks it (1, 0 when a value fails its check). Programme write: fn1
 * returns the number of blocks (5), fn2 sets block i for message 9035 with parameter 50 and
 * returns its address. A block number below 0 or above 255 (above 4 for the write) sets nothing
 * and gives 0. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9ExerciseFiles_fn1(void);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9ExerciseFiles_fn2(void);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9ExerciseFiles_fn3(int32_t n);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9ExerciseFiles_fn4(int32_t n);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9TestResults_fn0(int32_t kind);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9TestResults_fn1(int32_t kind);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9TestResults_fn2(int32_t kind, int32_t block);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9TestResults_fn3(int32_t kind);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9Program_fn1(void);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9Program_fn2(int32_t block);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9Program_fn3(int32_t block);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9Program_fn4(void);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9Program_fn5(void);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9UserSettings_fn1(void);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadJ9UserSettings_fn2(FitnessUserSettings* settings);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_WriteJ9Program_fn1(void);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_WriteJ9Program_fn2(int32_t block);

/* The fitness data in the exercise memory. The data type (2 for types 6, 9, 10 and 31, 5 for
 * type 32, else the low nibble of position 7) and the file count refresh the monitor type from
 * the memory first. AnalyzeFile_Fitness decodes summary n into the exercise record: 1, or 0 when
 * the summary is not in the memory. The name of summary n ("Exercise" for an unnamed one) goes
 * into buffer, which must hold 9 bytes; its length is returned. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetFitnessDataType(void);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetFitnessFileCount(void);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_AnalyzeFile_Fitness(int32_t n);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetFitnessExeName(char* buffer, int32_t n);
/* Fitness tests of the current unit type: the count (types 26, 30 and 32: the dated records),
 * and of test i the date (yyyymmdd, 0 when not a valid date) and the value; -1677216 for a type
 * without fitness tests. Relaxation tests of the J9 unit: date 0 at or beyond the count it
 * reported. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetFitnessTestCount(void);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetFitnessTestDate(int32_t index);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetFitnessTestValue(int32_t index);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetCalmGaugeTestDate(int32_t index);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetCalmGaugeTestValue(int32_t index);
/* The programme read last: its summary (1) and entry n 0..6 (1; 0 for another n, the record
 * then cleared and sized). */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetProgramSummary(FitnessProgramSummary* info);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetProgramFileInfo(int32_t n, FitnessProgramFile* info);

/* Settings of the fitness units, written only (see the settings of the older units for the
 * pattern): user data (message 9060, or 9078 for UnitType 30 and 32), exercise limits (9064),
 * the options byte (9059, no checks), the clock from the PC's date and time (9062; one second
 * ahead by sound) and the cardio programme (9065; over infrared written into the J9 unit's
 * memory in blocks). Read from the data file, a Send fills the record from the file's image and
 * checks it again (the unit type stays the caller's). Reset returns the record. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_QF_PrepareUserSettings(FitnessUserSettings* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_QF_SendUserSettings(CommParams* params,
                                                            FitnessUserSettings* record);
QUIBRA_API FitnessUserSettings* QUIBRA_CALL
fnQuibra_QF_ResetUserSettings(FitnessUserSettings* record);
QUIBRA_API int32_t QUIBRA_CALL
fnQuibra_QF_PrepareExerciseSettings(FitnessExerciseSettings* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_QF_SendExerciseSettings(CommParams* params,
                                                                FitnessExerciseSettings* record);
QUIBRA_API FitnessExerciseSettings* QUIBRA_CALL
fnQuibra_QF_ResetExerciseSettings(FitnessExerciseSettings* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_QF_PrepareWatchSettings(int32_t linkType);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_QF_SendWatchSettings(CommParams* params);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_QF_SendMonitorSettings(CommParams* params,
                                                               FitnessMonitorSettings* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_QF_PrepareCardioProgram(CardioProgram* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_QF_SendCardioProgram(CommParams* params,
                                                             CardioProgram* record);

/* ---- running and cycling units: user settings, watch settings, reminders ----------------- */

/* Checks the record (repairing it in place) and writes it into user areas 1 and 2 of a newer
 * unit identified before, then has the unit restore its working memory; with ShowDialog the
 * busy dialog covers it and ShowDialog is cleared. With ReadFromDataFile: 1 at once. 1 / 0; 0
 * with nothing sent when the check fails. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendUserSettings_PRVC(CommParams* params,
                                                              PrvcUserSettings* record);
/* Reads user areas 1 and 2 into the cleared record (UnitType from params) and completes it with
 * the check. Returns 1, also when the unit did not answer. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadUserSettings_PRVC(CommParams* params,
                                                              PrvcUserSettings* record);
/* Sets the unit's clock from the PC's with the record's alarm and event: the older units (the
 * record's UnitType 28..32) by message 9077 or 9084, over infrared or by sound; the newer ones
 * (params->MonitorType 33..38) by 9091 and 9092, then without an event the logo is written back
 * and the working memory restored. 1 / 0; error code 102 for an event date out of range. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PRVC_SendWatchSettings(CommParams* params,
                                                               PrvcWatchSettings* record);
/* Reads the watch area of a newer unit into the cleared record. Returns 1, also when the unit
 * did not answer. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PRVC_ReadWatchSettings(CommParams* params,
                                                               PrvcWatchSettings* record);
/* Checks the list (repairing it) and writes it and its order block into the reminders area of
 * a newer unit identified before, then has the unit restore its working memory. With
 * ReadFromDataFile: 1 at once. 1 / 0. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PRVC_SendReminders(CommParams* params,
                                                           PrvcReminderList* list);
/* Reads the reminders area into the list (entries the unit holds no date for are left) and
 * checks it. Returns 1, also when the unit did not answer. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PRVC_ReadReminders(CommParams* params,
                                                           PrvcReminderList* list);
/* Checks the reminder and packs it into the 9013 image of its slot; with mark, the status of
 * message 9011 + slot becomes 20004. 1 / 0 (a text character that table 0 lacks). */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PrepareReminder(Reminder* record, int32_t mark);
/* Prepares the reminder and sends it (9013, the slot as parameter) over infrared, by sound or
 * through the data file. 1 / 0. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendReminder(CommParams* params, Reminder* record);
/* Reads the reminder of a slot 0..6 (9014) into the record. 1 / 0.
 * Refused: 0 (slot outside 0..6). */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadReminder(CommParams* params, int32_t slot,
                                                     Reminder* record);
/* Fills the record from the received 9014 image of a slot 0..6; with twelveHour the hour is
 * taken from its 12-hour form. Returns 1.
 * Refused: 0 (slot outside 0..6). */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_UnPackReminder(int32_t slot, Reminder* record,
                                                       int32_t twelveHour);
/* Fills the record with the defaults of a slot (today, now, the text "note"); a slot outside
 * 0..6 becomes 0. Returns 1. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ResetReminder(int32_t slot, Reminder* record);

/* ---- running and cycling units: totals, odometers, displays -------------------------------- */

/* Totals of the unit of params->MonitorType (33..38), in the area the unit's identification
 * (fnQuibra_ReadMonitorInfo) announced. Both go silently over infrared: params' LinkType
 * becomes 1, ShowDialog and ParentWindow 0. The read fills the whole record (MonitorType, the
 * unit's totals, 0 for those it does not keep); the write takes the totals the type keeps and
 * then has the unit take them. 1 / 0: 0 with nothing sent for another type, before any unit
 * of these types was identified, or (write) for a value or date out of range; a failed exchange
 * gives 0, the read then leaves the record untouched and the write leaves what was sent. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadTotals_PRVC(CommParams* params, TotalsPRVC* totals);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_WriteTotals_PRVC(CommParams* params, TotalsPRVC* totals);
/* Odometers of the older cycling-capable units. The read identifies the unit (types 12, 22 and
 * 23 only) and sets the record's MonitorType to it. The write takes record->MonitorType: over
 * infrared the identified unit must be of that type (12, 22 or 23); by sound types 6, 10, 12,
 * 22 and 23 are taken. 1 / 0; an odometer out of range gives 0 with nothing sent. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadOdometer(CommParams* params, OdometerSettings* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_WriteOdometer(CommParams* params, OdometerSettings* record);
/* Area 21 carries bike 1, area 22 bike 2. Pack selects the record's unit type for the area
 * layouts and puts the odometer into the area write's image; UnPack takes it from the received
 * area and sets Size. 1, or 0 with nothing changed for another area (or, Pack, an odometer out
 * of range). */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PackOdometer(int32_t area, OdometerSettings* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_UnPackOdometer(int32_t area, OdometerSettings* record);
/* Display identifiers: the library's identifier of a unit's code (class 1 when class1 is
 * nonzero), 0 when there is none (-1 on monitor type 34); and the unit's code of an identifier
 * (the third argument is not used), 0 when the type has none. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetOrvekDisplayID(int32_t code, int32_t monitorType,
                                                          int32_t class1);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetMonitorDisplayID(int32_t id, int32_t monitorType,
                                                            int32_t unused);
/* Display layouts of a type 38 unit (params->MonitorType 38; the third argument is not used).
 * The write needs switches of 0 or 1 (else 0 with nothing sent); on a unit of variant 3 or more
 * it first copies the first 24 class-2 identifiers that are not 125 into the extra groups,
 * then the unit takes the layouts. The read fills the whole record (what the unit lacks reads
 * as 0); for another monitor type it returns 1 with the record clear. 1 / 0; a failed exchange
 * leaves the record untouched. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_WriteDisplays_PR9W(CommParams* params, DisplaysPR9W* record,
                                                           int32_t unused);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadDisplays_PR9W(CommParams* params, DisplaysPR9W* record,
                                                          int32_t unused);
/* Display layouts of the types 33..37 (params->MonitorType), written in four parts and then
 * taken by the unit. 1 / 0: 0 with nothing sent for another type or a switch other than 0 or
 * 1; when a part fails the unit keeps the parts written before it. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_WriteDisplays_Other_VC8Z(CommParams* params,
                                                                 DisplaysOther* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadDisplays_Other_VC8Z(CommParams* params,
                                                                DisplaysOther* record);

/* ---- running and cycling units: bikes, shoes, horse mode ---------------------------------- */

/* Bikes of the unit of params->MonitorType, kept in the bike area its identification
 * (fnQuibra_ReadMonitorInfo) announced. Each pair serves its own types: _PRVC_eq and
 * PRVC_ReadBikeSettings 33 and 35, PR9W 38, VC8Z 34. Send checks the record (repairing it in
 * place), writes the bikes the unit keeps and has the unit take them; with ReadFromDataFile 1 at
 * once. Read fills the cleared record. 1 / 0: 0 with nothing sent for another type (error code
 * 105), a name character device table 5 lacks or a sensor flag other than 0 or 1 (104), or
 * before a unit was identified; a failed exchange gives 0 (a read leaves the record untouched). */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendBikesSettings_PRVC_eq(CommParams* params,
                                                                  PrvcBikeSettings* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PRVC_ReadBikeSettings(CommParams* params,
                                                              PrvcBikeSettings* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendBikesSettingsPR9W(CommParams* params,
                                                              PrvcBikeSettings* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadBikeSettingsPR9W(CommParams* params,
                                                             PrvcBikeSettings* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_WriteBikesGeneral_VC8Z(CommParams* params,
                                                               PrvcBikeSettings* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadBikesGeneral_VC8Z(CommParams* params,
                                                              PrvcBikeSettings* record);
/* Running shoes, as the bikes: SendShoeSettings and ReadShoesSettings serve types 36 and 37,
 * the PR9W pair type 38. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendShoeSettings(CommParams* params,
                                                         PrvcShoeSettings* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadShoesSettings(CommParams* params,
                                                          PrvcShoeSettings* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendShoeSettingsPR9W(CommParams* params,
                                                             PrvcShoeSettings* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadShoesSettingsPR9W(CommParams* params,
                                                              PrvcShoeSettings* record);
/* Turns the horse mode of a cycling unit (params->MonitorType 33, 34 or 35) on (1) or off (0);
 * the unit then reports it in MonitorInfo.HorseMode. 1 / 0: 0 with nothing sent for another type
 * (105), another value of on (104) or before a unit was identified.
 * Refused: 0 (on outside 0..1). */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SetHorseModeVCEQ(CommParams* params, int32_t on);

/* ---- running and cycling units: monitor and exercise settings, targets, sport zones -------- */

/* Monitor settings of the newer running and cycling units. Send: record->UnitType must be the
 * type of the unit identified last (fnQuibra_ReadMonitorInfo), else 0 with error code 104 and
 * nothing sent, as for a switch other than 0 or 1; the record is completed in place, the three
 * areas are written keeping the unit's own bits and the unit then takes them. Read: the unit of
 * params->MonitorType; 0 with the record untouched when the type is refused or an exchange
 * fails. Prepare checks the record and leaves the settings-area write in the direct memory
 * write command without sending it. 1 / 0. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SendMonitorSettings_PRVC(CommParams* params,
                                                                 PrvcMonitorSettings* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadMonitorSettings_PRVC(CommParams* params,
                                                                 PrvcMonitorSettings* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PrepareMonitorSettings_PRVC_X(PrvcMonitorSettings* record);
/* Exercise settings of the newer running and cycling units, as the monitor settings: the send
 * takes record->UnitType (the type of the unit identified last, else 0 with error code 104 and
 * nothing sent, as for a switch other than 0 or 1, a name with a character device table 5
 * lacks or a zone whose lower limit is not below its upper one); the read takes the unit of
 * params->MonitorType and leaves the record untouched when it gives 0. 1 / 0. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PRVC_SendExerciseSettings(CommParams* params,
                                                                  PrvcExerciseSettings* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PRVC_ReadExerciseSettings(CommParams* params,
                                                                  PrvcExerciseSettings* record);
/* Daily and weekly training targets of the newer running and cycling units: record->UnitType
 * must be the type of the unit identified last, else 0 with error code 104 and nothing sent
 * (weekly also for a TargetsOn other than 0 or 1); values out of range are sent as 0. The unit
 * then takes them. 1 / 0. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PRVC_SendDailyTargets(CommParams* params,
                                                              PrvcDailyTargets* record);
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PRVC_SendWeeklyTargets(CommParams* params,
                                                               PrvcWeeklyTargets* record);
/* The five sport zones of a type 30 unit (record->UnitType 30). Zones out of order, limits
 * outside their range or another type give 0 with error code 104 and nothing sent. The unit is
 * not asked its type first. A data file's zones are not read back into the record. 1 / 0. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PRVC_SendPR3SportZones(CommParams* params,
                                                               PR3SportZones* record);

/* ---- fitness test results ----------------------------------------------------------------- */

/* Reads the stored LoadGauge results of a type 22 unit (variant 3 or more) or of a running or
 * cycling unit (33..38) into the library's table, with the progress dialog over the window when
 * it is nonzero. The type is asked of the unit unless typeGiven is nonzero. The number of
 * results (0..16), 0 on failure. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadLoadGaugeResults(uint32_t window, int32_t typeGiven,
                                                             int32_t monitorType);
/* Decodes result `entry` of the table of the last read for monitor type 22 or 33..38 into the
 * record: 1 for a valid result (rating 1..9, a date from 2006-01-02 on, heart rates 15..240),
 * else 0 with the record filled as far as it goes.
 * Refused: 0 (entry outside 0..15). */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetLoadGaugeResult(int32_t entry, int32_t monitorType,
                                                           LoadGaugeResult* record);
/* Reads the FitGauge results of the unit into the record (types 33..38 from their display area,
 * every other type as a type 22 unit keeps them). 1 when the first result has a real date not
 * after today; else 0 with the record untouched. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_ReadFitGaugeResults(uint32_t window,
                                                            FitGaugeResults* record,
                                                            int32_t monitorType);

/* ---- online recording --------------------------------------------------------------------- */

/* In online mode (option 0x80) fnQuibra_StartIRCommunication, or fnQuibra_OpenConnection on the
 * wireless link, starts a thread that receives the unit's beats. The recording starts paused;
 * fnQuibra_PauseOnline(0) begins it. Every beat goes into a ring of the latest 100 beats, which
 * the application empties by polling, and, while the recording runs, into the exercise (record
 * 0) as an R-R sample: channel 1 the interval in ms, 20 the sample's index, 21 the source (1),
 * 22 the beat's time in ms on the recording clock, 23 and 24 zero. With option 0x04 an interval
 * near twice or three times the last one is stored as two or three beats. Ending the
 * conversation fixes the exercise's length, after which fnQuibra_SaveExerciseHRM saves it.
 * In online mode fnQuibra_GetSCErrorData(0) counts the beat frames that failed their check and
 * fnQuibra_GetSCErrorData(1) the gaps in their sequence numbers. The record number rec of these
 * calls must be 0. */
/* Empties the ring and starts a new online exercise, not yet recording; on the wireless link
 * also forgets the registered device. The result of the last write to the exercise (1). */
QUIBRA_API int32_t QUIBRA_CDECL fnQuibra_ResetOnlineSamples(void);
/* 1 pauses, 0 resumes; the first resume begins the recording: a new exercise, the recording
 * clock from 0. 1. Refused: 0 (pause outside 0..1). */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_PauseOnline(int32_t pause);
/* The interval (ms) of the oldest beat in the ring, taken out of it; -1 when there is none or
 * online mode is off. Refused: -1. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetOnlineData(int32_t reserved);
/* Takes every entry out of the ring: buffer[0] := their number n, then n entries of six words
 * (source: 1 recorded, 0 not; time in ms; kind: 0 a beat, 3 no data for less than 1.5 s, 4 no
 * data for 1.5 s or more, above 10 a state of the wireless link; interval in ms; 0; 0). The
 * buffer must hold 601 words. 0 (entries left) after the copy; -1 when the ring is empty or
 * online mode is off. Refused: -1 (rec outside 0..0). */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetRealOnlineData(int32_t rec, int32_t* buffer);
/* The number of stored samples; when index is below it, info[1..6] := channels 21, 22, 23, 1,
 * 20, 24 of that sample (info[0], the record's size, is not touched; info holds 7 words). */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetOnlineDataEx(int32_t rec, int32_t index, int32_t* info);
/* A channel of a stored sample, 0 beyond the count. Refused: -1 (rec outside 0..0). */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetOnlineSample(int32_t rec, int32_t channel,
                                                        int32_t index);
/* Overwrites a channel of a stored sample: 1, or 0 beyond the count. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_SetOnlineSample(int32_t rec, int32_t channel,
                                                        int32_t index, int32_t value);
/* The number of stored samples. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetNbrOfOnlineSamples(int32_t rec);
/* A parameter 1..170 of the online exercise, as fnQuibra_GetRecParam reads it. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetOnlineRecParam(int32_t rec, int32_t id);
/* Marks a lap at the last stored beat (lap time in 1/10 s: the beat's time / 100, field 601;
 * its interval, field 607; its sample index, field 657). 1, or 0 when there is no beat yet or
 * a lap at that time exists. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_AddOnlineLaptime(int32_t rec);
/* The number of laps; when lap is below it, info[2] := field 601, info[4] := field 607,
 * info[5] := field 657 of that lap (info holds 6 words). */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetOnlineLaptime(int32_t rec, int32_t lap, int32_t* info);
/* A field 601..666 of a lap, 0 beyond the count. Refused: -1 (rec outside 0..0). */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetLaptimeSample(int32_t rec, int32_t field,
                                                         int32_t lap);
/* The number of laps. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetNbrOfOnlineIntTimes(int32_t rec);
/* Types 33, 35, 36, 37 and 38 (params->MonitorType): switches the unit's own online-recording
 * setting on (enable nonzero) or off. The setting is read first and written only when it differs;
 * after a write the unit's state byte is copied (not on type 38) and its memory restored. 1 when
 * the unit holds the asked state; 0 for another type or a failed exchange. */
QUIBRA_API int32_t QUIBRA_CDECL fnQuibra_ActivateOnlineRecording(CommParams* params,
                                                                 int32_t enable);
/* Wireless link: the registered device's next packet from the link library into packet (256
 * bytes; entries of 4 bytes: offset in ms since the last packet, interval in ms, 16 bits each,
 * low byte first). The number of entries (1..10), 0 for none yet, 254 or 255 when there is no
 * link (also when the link library is not there). For an application that reads the link
 * itself rather than through online mode. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetOnlineRRPacket(uint8_t* packet);
/* Wireless link: passes the two values to the link library's call for them and returns its
 * result; 0 when the link library is not there. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibra_GetOnlineRLX(int32_t a, int32_t b);

/* ---- extensions (not among the library's documented exports) ----------------------------- */

/* Installs an observer of the library's dialogs (null removes it): it is told when a dialog
 * opens, every change of a control, the result when it closes, and every message box, on the
 * dialog's thread.
 * Returns 1. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibraExt_SetDialogObserver(QuibraDialogObserver observer,
                                                             void* context);
/* Presses a button (1 OK, 2 Cancel, 1005 Retry) of the dialog opened last; 1 when a dialog is
 * open to take it, else 0. May be called from any thread, also from inside the observer. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibraExt_PressDialogButton(int32_t control);

/* The reason, in words, of the last failure that a result and an error code cannot tell: why a
 * port was not opened ("port /dev/ttyS0 is busy"), why an exercise was not decoded ("exercise 3:
 * bad start date (month 57)"). Copies it into text (size bytes, zero-terminated, cut short when
 * it does not fit) and returns its length; 0 when there is none. A later failure replaces it,
 * so read it right after the call that failed. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibraExt_GetFailureText(char* text, int32_t size);

/* Ends every thread of the library (communication, IrDA receive, busy dialog, sound capture)
 * and starts again from the state the library has when it is loaded; what an application
 * installed with the extension calls stays installed. For a program that is about to destroy
 * objects the library may still call (an IrDA stack of its own, a dialog observer). Returns 1. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibraExt_ResetLibrary(void);

/* An IrDA stack supplied by the application, for a system that has none of its own: a table of
 * functions that the library calls in place of the system's IrDA sockets. Each gets the table's
 * Context first. Results are socket error codes as Windows Sockets numbers them (0 success,
 * 10038 not a socket, 10047 address family not supported, 10053 / 10054 the link was aborted /
 * reset, 10057 not connected, 10093 not started). The functions are called from the
 * application's thread, the communication thread and the IrDA receive thread at once; Receive
 * blocks until a block arrives, the link ends or Close is called for its socket from another
 * thread. */
typedef struct QuibraIrdaDevice {
  uint32_t Id;
  char Name[24]; /* as the device announces itself, at most 22 characters, zero-terminated */
} QuibraIrdaDevice;

typedef struct QuibraIrdaStack {
  void* Context;
  /* Starts the stack; every successful Startup is matched by one Cleanup. */
  int32_t(QUIBRA_CALL* Startup)(void* context);
  void(QUIBRA_CALL* Cleanup)(void* context);
  /* Makes a stream socket and stores its handle (nonzero) in *handle. */
  int32_t(QUIBRA_CALL* OpenStream)(void* context, int32_t* handle);
  /* Binds the socket to a device id and service name and listens with the backlog. */
  int32_t(QUIBRA_CALL* BindAndListen)(void* context, int32_t handle, uint32_t deviceId,
                                      const char* service, int32_t backlog);
  /* Lists at most capacity devices in range into devices and their number into *count. */
  int32_t(QUIBRA_CALL* Enumerate)(void* context, int32_t handle, QuibraIrdaDevice* devices,
                                  int32_t capacity, int32_t* count);
  /* Connects the socket to a device's service. */
  int32_t(QUIBRA_CALL* Connect)(void* context, int32_t handle, uint32_t deviceId,
                                const char* service);
  /* Sends count bytes in one block; a send of 0 bytes only tests the link. */
  int32_t(QUIBRA_CALL* Send)(void* context, int32_t handle, const uint8_t* bytes, int32_t count);
  /* Receives one block of at most capacity bytes and stores its length in *received (0: the
   * peer closed the link). */
  int32_t(QUIBRA_CALL* Receive)(void* context, int32_t handle, uint8_t* buffer, int32_t capacity,
                                int32_t* received);
  /* Closes the socket; harmless for a handle that is not open. A Receive or Accept blocked on
   * the socket returns an error. */
  void(QUIBRA_CALL* Close)(void* context, int32_t handle);
  /* Sets a socket option (level 255: option 17 a service record, option 22 the IrCOMM 9-wire
   * mode) to size bytes. */
  int32_t(QUIBRA_CALL* SetOption)(void* context, int32_t handle, int32_t level, int32_t option,
                                  const uint8_t* value, int32_t size);
  /* Waits on a listening socket for a peer to connect and stores the connected socket's handle
   * in *connected. */
  int32_t(QUIBRA_CALL* Accept)(void* context, int32_t handle, int32_t* connected);
} QuibraIrdaStack;

/* Installs the stack (the table is copied; Context must stay valid while it is installed) in
 * place of the system's IrDA sockets; null returns to the system's. Meant to be called while no
 * IrDA link is open. 1, or 0 with nothing changed when a function of the table is missing.
 * Accepts null: stack. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibraExt_SetIrdaStack(const QuibraIrdaStack* stack);

/* Replays a recorded PCM wave file (8 or 16 bits; the first channel is taken) in place of the
 * sound card for the sound download, followed by silence, and makes the library's clock run
 * speedUp (1..1000) times faster. The recording is read as fast as the reception takes it; the
 * silence after it and every pause of the library take speedUp times less time. A null or empty path returns to the sound card and the real clock. 1, or 0
 * with nothing changed when the file is not such a wave file, speedUp is out of range or a
 * sound reception is running. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibraExt_SetRecordedSoundInput(const char* wavePath,
                                                                 int32_t speedUp);

/* Traces the conversation with the unit to a text file (appended to): every byte sent and
 * received on the serial, USB and IrDA links, links opened and closed, and every change of a
 * message status, each line with the seconds since the trace began. The trace outlives
 * fnQuibraExt_ResetLibrary. A null or empty path ends it. The environment variable
 * QUIBRA_TRACE=FILE starts the same trace when the library loads. 1, or 0 (and no trace) when
 * the file cannot be opened for writing. */
QUIBRA_API int32_t QUIBRA_CALL fnQuibraExt_SetTrace(const char* path);

#ifdef __cplusplus
}
#endif

#endif /* QUIBRA_QUIBRA_H */
