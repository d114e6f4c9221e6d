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

#ifdef __cplusplus
}
#endif

#endif /* QUIBRA_RECORDS_H */
