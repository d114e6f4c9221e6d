/*
 * Records that cross the library boundary.
 *
 * Every field is a fixed-width 32-bit value or a fixed character array, so the layout is the
 * same on 32-bit Windows and on Linux; a window handle travels as a 32-bit value everywhere.
 * The static assertions below pin every size and offset.
 */
#ifndef QUIBRA_RECORDS_H
#define QUIBRA_RECORDS_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
#define QUIBRA_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
extern "C" {
#else
#define QUIBRA_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif

/* The communication parameters: filled by the caller and passed first to most transfer calls.
 * The library repairs Size, LinkType and MonitorType in place and otherwise only reads it. */
typedef struct CommParams {
  uint32_t Size;             /* record size; 0 is replaced by 364 */
  uint32_t LinkType;         /* 0 = sound upload, 1 = infrared message exchange */
  int32_t MonitorType;       /* unit type code 0..99; some calls write the detected type back */
  char FilePath[260];        /* data file or wave file; empty = none */
  uint32_t SkipSoundUpload;  /* sound upload: do nothing and report success */
  uint32_t SoundFileOnly;    /* sound upload: make the wave file but do not play it */
  uint32_t KeepSoundFile;    /* sound upload: keep the wave file afterwards */
  uint32_t ReadFromDataFile; /* fill the message image from the data file */
  uint32_t WriteToDataFile;  /* write the message image to the data file */
  uint32_t ShowDialog;       /* nonzero: run the modal progress dialog */
  uint32_t ParentWindow;     /* owner window of the progress dialog (32-bit handle), may be 0 */
  char DialogText[52];       /* text shown by the progress dialog; may be empty */
  uint32_t LenientChecks;    /* exercise-set send: replace out-of-range values by defaults */
  uint32_t Reserved[2];      /* not read by the library */
} CommParams;

#define QUIBRA_COMM_PARAMS_SIZE 364

QUIBRA_STATIC_ASSERT(sizeof(CommParams) == QUIBRA_COMM_PARAMS_SIZE, "CommParams is 364 bytes");
QUIBRA_STATIC_ASSERT(offsetof(CommParams, Size) == 0, "CommParams.Size");
QUIBRA_STATIC_ASSERT(offsetof(CommParams, LinkType) == 4, "CommParams.LinkType");
QUIBRA_STATIC_ASSERT(offsetof(CommParams, MonitorType) == 8, "CommParams.MonitorType");
QUIBRA_STATIC_ASSERT(offsetof(CommParams, FilePath) == 12, "CommParams.FilePath");
QUIBRA_STATIC_ASSERT(offsetof(CommParams, SkipSoundUpload) == 272, "CommParams.SkipSoundUpload");
QUIBRA_STATIC_ASSERT(offsetof(CommParams, SoundFileOnly) == 276, "CommParams.SoundFileOnly");
QUIBRA_STATIC_ASSERT(offsetof(CommParams, KeepSoundFile) == 280, "CommParams.KeepSoundFile");
QUIBRA_STATIC_ASSERT(offsetof(CommParams, ReadFromDataFile) == 284, "CommParams.ReadFromDataFile");
QUIBRA_STATIC_ASSERT(offsetof(CommParams, WriteToDataFile) == 288, "CommParams.WriteToDataFile");
QUIBRA_STATIC_ASSERT(offsetof(CommParams, ShowDialog) == 292, "CommParams.ShowDialog");
QUIBRA_STATIC_ASSERT(offsetof(CommParams, ParentWindow) == 296, "CommParams.ParentWindow");
QUIBRA_STATIC_ASSERT(offsetof(CommParams, DialogText) == 300, "CommParams.DialogText");
QUIBRA_STATIC_ASSERT(offsetof(CommParams, LenientChecks) == 352, "CommParams.LenientChecks");
QUIBRA_STATIC_ASSERT(offsetof(CommParams, Reserved) == 356, "CommParams.Reserved");

/* What the exercise listing tells about one recorded exercise without decoding it. The caller
 * need not set anything: the library clears the record and sets Size. */
typedef struct ExeFileInfo {
  uint32_t Size;        /* 76 */
  int32_t StartTime;    /* time of day, s since midnight */
  int32_t StartDate;    /* yyyymmdd */
  int32_t Duration;     /* s */
  int32_t TwelveHour;   /* the unit showed a 12-hour clock (older units) */
  int32_t Interval;     /* recording interval, s; 238 = R-R intervals */
  int32_t RRFlag;       /* R-R recording (file-based units) */
  int32_t MarkerBit;    /* bit 7 of the exercise head's length byte (older units) */
  int32_t Speed;        /* nonzero: speed recorded */
  int32_t Cadence;      /* nonzero: cadence recorded */
  int32_t Altitude;     /* nonzero: altitude recorded */
  int32_t Power;        /* nonzero: power recorded */
  int32_t FifthSensor;  /* fifth sensor bit (file-based units) */
  int32_t ExtendedLaps; /* extended laps (older units) */
  char Name[12];        /* exercise name, at most 10 characters, terminated */
  int32_t SensorCode;   /* speed sensor code, high nibble of the sensor byte */
  int32_t HeaderValue;  /* a 16-bit header value of the file-based units */
} ExeFileInfo;

#define QUIBRA_EXE_FILE_INFO_SIZE 76

QUIBRA_STATIC_ASSERT(sizeof(ExeFileInfo) == QUIBRA_EXE_FILE_INFO_SIZE, "ExeFileInfo is 76 bytes");
QUIBRA_STATIC_ASSERT(offsetof(ExeFileInfo, Size) == 0, "ExeFileInfo.Size");
QUIBRA_STATIC_ASSERT(offsetof(ExeFileInfo, StartTime) == 4, "ExeFileInfo.StartTime");
QUIBRA_STATIC_ASSERT(offsetof(ExeFileInfo, StartDate) == 8, "ExeFileInfo.StartDate");
QUIBRA_STATIC_ASSERT(offsetof(ExeFileInfo, Duration) == 12, "ExeFileInfo.Duration");
QUIBRA_STATIC_ASSERT(offsetof(ExeFileInfo, TwelveHour) == 16, "ExeFileInfo.TwelveHour");
QUIBRA_STATIC_ASSERT(offsetof(ExeFileInfo, Interval) == 20, "ExeFileInfo.Interval");
QUIBRA_STATIC_ASSERT(offsetof(ExeFileInfo, RRFlag) == 24, "ExeFileInfo.RRFlag");
QUIBRA_STATIC_ASSERT(offsetof(ExeFileInfo, MarkerBit) == 28, "ExeFileInfo.MarkerBit");
QUIBRA_STATIC_ASSERT(offsetof(ExeFileInfo, Speed) == 32, "ExeFileInfo.Speed");
QUIBRA_STATIC_ASSERT(offsetof(ExeFileInfo, Cadence) == 36, "ExeFileInfo.Cadence");
QUIBRA_STATIC_ASSERT(offsetof(ExeFileInfo, Altitude) == 40, "ExeFileInfo.Altitude");
QUIBRA_STATIC_ASSERT(offsetof(ExeFileInfo, Power) == 44, "ExeFileInfo.Power");
QUIBRA_STATIC_ASSERT(offsetof(ExeFileInfo, FifthSensor) == 48, "ExeFileInfo.FifthSensor");
QUIBRA_STATIC_ASSERT(offsetof(ExeFileInfo, ExtendedLaps) == 52, "ExeFileInfo.ExtendedLaps");
QUIBRA_STATIC_ASSERT(offsetof(ExeFileInfo, Name) == 56, "ExeFileInfo.Name");
QUIBRA_STATIC_ASSERT(offsetof(ExeFileInfo, SensorCode) == 68, "ExeFileInfo.SensorCode");
QUIBRA_STATIC_ASSERT(offsetof(ExeFileInfo, HeaderValue) == 72, "ExeFileInfo.HeaderValue");

/* ---- extension: the dialog observer ------------------------------------------------------ */

/* One change of a library dialog, reported to the observer installed with
 * fnQuibraExt_SetDialogObserver. Kind 1: a dialog opened; 2: a control changed (its whole state
 * is given); 3: the dialog closed with Result. */
#define QUIBRA_DIALOG_OPENED 1
#define QUIBRA_DIALOG_CONTROL 2
#define QUIBRA_DIALOG_CLOSED 3

typedef struct QuibraDialogEvent {
  int32_t Kind;
  char Dialog[32];  /* template name, e.g. "IR_CONNECTION" */
  int32_t Control;  /* control id (kind 2); 0 stands for the caption */
  int32_t Enabled;  /* kind 2: nonzero when the control is enabled */
  int32_t Visible;  /* kind 2: nonzero when the control is shown */
  int32_t Progress; /* kind 2: the position of a progress bar */
  int32_t Result;   /* kind 3: the dialog's result */
  char Text[112];   /* kind 2: the control's text */
} QuibraDialogEvent;

QUIBRA_STATIC_ASSERT(sizeof(QuibraDialogEvent) == 168, "QuibraDialogEvent is 168 bytes");
QUIBRA_STATIC_ASSERT(offsetof(QuibraDialogEvent, Kind) == 0, "QuibraDialogEvent.Kind");
QUIBRA_STATIC_ASSERT(offsetof(QuibraDialogEvent, Dialog) == 4, "QuibraDialogEvent.Dialog");
QUIBRA_STATIC_ASSERT(offsetof(QuibraDialogEvent, Control) == 36, "QuibraDialogEvent.Control");
QUIBRA_STATIC_ASSERT(offsetof(QuibraDialogEvent, Enabled) == 40, "QuibraDialogEvent.Enabled");
QUIBRA_STATIC_ASSERT(offsetof(QuibraDialogEvent, Visible) == 44, "QuibraDialogEvent.Visible");
QUIBRA_STATIC_ASSERT(offsetof(QuibraDialogEvent, Progress) == 48, "QuibraDialogEvent.Progress");
QUIBRA_STATIC_ASSERT(offsetof(QuibraDialogEvent, Result) == 52, "QuibraDialogEvent.Result");
QUIBRA_STATIC_ASSERT(offsetof(QuibraDialogEvent, Text) == 56, "QuibraDialogEvent.Text");

/* The observer is called on the dialog's thread, with the library's calling convention. */
#if defined(_WIN32)
typedef void(__stdcall* QuibraDialogObserver)(const QuibraDialogEvent* event, void* context);
#else
typedef void (*QuibraDialogObserver)(const QuibraDialogEvent* event, void* context);
#endif

#ifdef __cplusplus
}
#endif

#endif /* QUIBRA_RECORDS_H */
