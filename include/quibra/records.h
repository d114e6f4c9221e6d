/*
 * Records that cross the library boundary.
 *
 * Every field is a fixed-width 32-bit value or a fixed character array, so the layout is the
 * same on 32-bit Windows and on Linux; a window handle travels as a 32-bit value everywhere.
 * The static assertions below pin every size and offset.
 *
 * Every record begins with its Size in bytes. A settings record of an older, shorter layout
 * passes its own Size: the library reads and writes only its first Size bytes, takes every field
 * beyond them from the record's Reset values, and leaves Size as it was. A Size of 0 stands for
 * the full layout (the calls that fill a record in say so below); a negative Size, or one of 1..3
 * that cannot hold the field itself, fails the call (0, or null from a Reset call) with error code
 * 104 and nothing written. The records whose comment says "Any Size is taken" are never refused
 * for their Size (their own comment says how it is used).
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
 * The library repairs Size, LinkType and MonitorType in place and otherwise only reads it.
 * Any Size is taken. 0 and sizes of 364 or more stand for the whole record (0 is repaired to
 * 364); a shorter record is read and repaired only within its Size, its missing fields read as
 * zero. */
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

/* What a wrist unit tells about itself (its identification answer, unpacked). The caller need
 * not set anything: the library fills the whole record and sets Size. Any Size is taken. */
typedef struct MonitorInfo {
  uint32_t Size;             /* 40, set by the unpack */
  int32_t MonitorInUse;      /* monitor type; -1 when the unit is not known */
  uint32_t DataVersion;      /* the unit's variant */
  uint32_t TotalFiles;       /* exercise files in the unit */
  int32_t FreeMemoryInBytes; /* never below 0 */
  uint32_t TotalMemoryInBytes;
  uint32_t LowBattery;      /* unit state bits; bit 0 the low-battery state */
  uint32_t HorseMode;       /* horse mode of the cycling units */
  uint32_t N4SensorMissing; /* type 37: 1 when no stride sensor is paired */
  uint32_t MonitorSubModel; /* the raw product code */
} MonitorInfo;

#define QUIBRA_MONITOR_INFO_SIZE 40

QUIBRA_STATIC_ASSERT(sizeof(MonitorInfo) == QUIBRA_MONITOR_INFO_SIZE, "MonitorInfo is 40 bytes");
QUIBRA_STATIC_ASSERT(offsetof(MonitorInfo, Size) == 0, "MonitorInfo.Size");
QUIBRA_STATIC_ASSERT(offsetof(MonitorInfo, MonitorInUse) == 4, "MonitorInfo.MonitorInUse");
QUIBRA_STATIC_ASSERT(offsetof(MonitorInfo, DataVersion) == 8, "MonitorInfo.DataVersion");
QUIBRA_STATIC_ASSERT(offsetof(MonitorInfo, TotalFiles) == 12, "MonitorInfo.TotalFiles");
QUIBRA_STATIC_ASSERT(offsetof(MonitorInfo, FreeMemoryInBytes) == 16,
                     "MonitorInfo.FreeMemoryInBytes");
QUIBRA_STATIC_ASSERT(offsetof(MonitorInfo, TotalMemoryInBytes) == 20,
                     "MonitorInfo.TotalMemoryInBytes");
QUIBRA_STATIC_ASSERT(offsetof(MonitorInfo, LowBattery) == 24, "MonitorInfo.LowBattery");
QUIBRA_STATIC_ASSERT(offsetof(MonitorInfo, HorseMode) == 28, "MonitorInfo.HorseMode");
QUIBRA_STATIC_ASSERT(offsetof(MonitorInfo, N4SensorMissing) == 32, "MonitorInfo.N4SensorMissing");
QUIBRA_STATIC_ASSERT(offsetof(MonitorInfo, MonitorSubModel) == 36, "MonitorInfo.MonitorSubModel");
/* What the exercise listing tells about one recorded exercise without decoding it. The caller
 * need not set anything: the library clears the record and sets Size. Any Size is taken. */
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
/* ---- settings of the older wrist units ---------------------------------------------------- */

/* The settings records (UserSettings, WatchSettings, ExerciseProfile, ExerciseLimits,
 * ExerciseSet, BikeSettings) are bounded by their Size as every record is (top of this file); a
 * shorter one's missing fields take the record's Reset values. */

/* User settings (messages 9005 write, 9006 read). */
typedef struct UserSettings {
  int32_t Size;         /* nonzero for Prepare; UnPack and Reset set 136 */
  int32_t BirthDate;    /* yyyymmdd, 19210101..20201231 (an earlier year becomes 1921) */
  int32_t Level;        /* 0..3, else 1 */
  int32_t MaxHR;        /* 100..240, else computed from the age */
  int32_t Unused16;     /* not read or written by the library except to clear it */
  int32_t VO2max;       /* 10..95, else 36 (Sex nonzero) or 45 */
  int32_t Sex;          /* 0 or 1, else Prepare fails */
  int32_t WeightKg;     /* 20..199, else 70 */
  int32_t WeightLb;     /* 44..499, else 140; 0 = not given */
  int32_t HeightCm;     /* 90..210, else 170; 0 = not given */
  int32_t HeightFeet;   /* 2..7, else 5 */
  int32_t HeightInches; /* 0..11, else 8 */
  char Name[24];        /* zero-terminated; the unit keeps the first 7 characters */
  int32_t UserNumber;   /* 1..99, else 1 */
  int32_t OptionA0;
  int32_t OptionA1; /* 1 forces OptionA2 to 1 */
  int32_t OptionA2;
  int32_t OptionA3;
  int32_t OptionB0;
  int32_t OptionB3;
  int32_t OptionB2;
  int32_t OptionB1;
  int32_t BcdValueOn; /* the last two image bytes carry BcdValue instead of PlainValue */
  int32_t ChoiceHigh; /* 0..3, else 0 */
  int32_t ChoiceLow;  /* 0..2, else 0 */
  int32_t PlainValue; /* 4..150, else 4 */
  int32_t OptionA4;
  int32_t BcdValue;    /* 0..10000, else 0; 0 also clears BcdValueOn */
  int32_t OptionA5Off; /* nonzero clears bit 5 of option byte A */
} UserSettings;

QUIBRA_STATIC_ASSERT(sizeof(UserSettings) == 136, "UserSettings is 136 bytes");
QUIBRA_STATIC_ASSERT(offsetof(UserSettings, Size) == 0, "UserSettings.Size");
QUIBRA_STATIC_ASSERT(offsetof(UserSettings, BirthDate) == 4, "UserSettings.BirthDate");
QUIBRA_STATIC_ASSERT(offsetof(UserSettings, Level) == 8, "UserSettings.Level");
QUIBRA_STATIC_ASSERT(offsetof(UserSettings, MaxHR) == 12, "UserSettings.MaxHR");
QUIBRA_STATIC_ASSERT(offsetof(UserSettings, Unused16) == 16, "UserSettings.Unused16");
QUIBRA_STATIC_ASSERT(offsetof(UserSettings, VO2max) == 20, "UserSettings.VO2max");
QUIBRA_STATIC_ASSERT(offsetof(UserSettings, Sex) == 24, "UserSettings.Sex");
QUIBRA_STATIC_ASSERT(offsetof(UserSettings, WeightKg) == 28, "UserSettings.WeightKg");
QUIBRA_STATIC_ASSERT(offsetof(UserSettings, WeightLb) == 32, "UserSettings.WeightLb");
QUIBRA_STATIC_ASSERT(offsetof(UserSettings, HeightCm) == 36, "UserSettings.HeightCm");
QUIBRA_STATIC_ASSERT(offsetof(UserSettings, HeightFeet) == 40, "UserSettings.HeightFeet");
QUIBRA_STATIC_ASSERT(offsetof(UserSettings, HeightInches) == 44, "UserSettings.HeightInches");
QUIBRA_STATIC_ASSERT(offsetof(UserSettings, Name) == 48, "UserSettings.Name");
QUIBRA_STATIC_ASSERT(offsetof(UserSettings, UserNumber) == 72, "UserSettings.UserNumber");
QUIBRA_STATIC_ASSERT(offsetof(UserSettings, OptionA0) == 76, "UserSettings.OptionA0");
QUIBRA_STATIC_ASSERT(offsetof(UserSettings, OptionA1) == 80, "UserSettings.OptionA1");
QUIBRA_STATIC_ASSERT(offsetof(UserSettings, OptionA2) == 84, "UserSettings.OptionA2");
QUIBRA_STATIC_ASSERT(offsetof(UserSettings, OptionA3) == 88, "UserSettings.OptionA3");
QUIBRA_STATIC_ASSERT(offsetof(UserSettings, OptionB0) == 92, "UserSettings.OptionB0");
QUIBRA_STATIC_ASSERT(offsetof(UserSettings, OptionB3) == 96, "UserSettings.OptionB3");
QUIBRA_STATIC_ASSERT(offsetof(UserSettings, OptionB2) == 100, "UserSettings.OptionB2");
QUIBRA_STATIC_ASSERT(offsetof(UserSettings, OptionB1) == 104, "UserSettings.OptionB1");
QUIBRA_STATIC_ASSERT(offsetof(UserSettings, BcdValueOn) == 108, "UserSettings.BcdValueOn");
QUIBRA_STATIC_ASSERT(offsetof(UserSettings, ChoiceHigh) == 112, "UserSettings.ChoiceHigh");
QUIBRA_STATIC_ASSERT(offsetof(UserSettings, ChoiceLow) == 116, "UserSettings.ChoiceLow");
QUIBRA_STATIC_ASSERT(offsetof(UserSettings, PlainValue) == 120, "UserSettings.PlainValue");
QUIBRA_STATIC_ASSERT(offsetof(UserSettings, OptionA4) == 124, "UserSettings.OptionA4");
QUIBRA_STATIC_ASSERT(offsetof(UserSettings, BcdValue) == 128, "UserSettings.BcdValue");
QUIBRA_STATIC_ASSERT(offsetof(UserSettings, OptionA5Off) == 132, "UserSettings.OptionA5Off");

/* Watch settings (messages 9001 write, 9002 read). Times are seconds since midnight. */
typedef struct WatchSettings {
  int32_t Size;             /* Prepare and UnPack set 36 */
  int32_t TimeOfDay;        /* 0..86399; -1 = the PC's local time */
  int32_t SecondTimeOfDay;  /* 0..86399; -1 = the PC's local time; sent in whole minutes */
  int32_t TwelveHour;       /* 0 or 1 */
  int32_t SecondTwelveHour; /* 0 or 1 */
  int32_t SecondTimeActive; /* 0 or 1: the second time is in use (the alarm follows its form) */
  int32_t Date;             /* yyyymmdd, 20000101..20351231; -1 = the PC's local date */
  int32_t OptionBit2;       /* 0 or 1 */
  int32_t AlarmTime;        /* 0..86399; sent in whole minutes */
} WatchSettings;

QUIBRA_STATIC_ASSERT(sizeof(WatchSettings) == 36, "WatchSettings is 36 bytes");
QUIBRA_STATIC_ASSERT(offsetof(WatchSettings, Size) == 0, "WatchSettings.Size");
QUIBRA_STATIC_ASSERT(offsetof(WatchSettings, TimeOfDay) == 4, "WatchSettings.TimeOfDay");
QUIBRA_STATIC_ASSERT(offsetof(WatchSettings, SecondTimeOfDay) == 8,
                     "WatchSettings.SecondTimeOfDay");
QUIBRA_STATIC_ASSERT(offsetof(WatchSettings, TwelveHour) == 12, "WatchSettings.TwelveHour");
QUIBRA_STATIC_ASSERT(offsetof(WatchSettings, SecondTwelveHour) == 16,
                     "WatchSettings.SecondTwelveHour");
QUIBRA_STATIC_ASSERT(offsetof(WatchSettings, SecondTimeActive) == 20,
                     "WatchSettings.SecondTimeActive");
QUIBRA_STATIC_ASSERT(offsetof(WatchSettings, Date) == 24, "WatchSettings.Date");
QUIBRA_STATIC_ASSERT(offsetof(WatchSettings, OptionBit2) == 28, "WatchSettings.OptionBit2");
QUIBRA_STATIC_ASSERT(offsetof(WatchSettings, AlarmTime) == 32, "WatchSettings.AlarmTime");

/* One of the six phases of an exercise profile. Durations in seconds, levels and limits in
 * beats per minute (limits in percent when the profile's LimitsInPercent is set). */
typedef struct ExercisePhase {
  int32_t PhaseOn;    /* 0 or 1; sent as 0 when Flag1 and Flag3 are both 0 */
  int32_t Flag2;      /* 0 or 1 */
  int32_t UpperLimit; /* 30..240, else 160; percent mode 50..100 */
  int32_t LowerLimit; /* 30..240, else 80; percent mode 50..100; below UpperLimit */
  int32_t Flag1;      /* 0 or 1 */
  int32_t Mode1;      /* 0..2, else 0; 0 whenever Flag1 is 0 */
  int32_t Count1;     /* 0..30, else 1 */
  int32_t Duration1;  /* 5..5999, else 120 */
  int32_t Level1;     /* 10..240, else 150 */
  int32_t Flag3;      /* 0 or 1 */
  int32_t Mode3;      /* 0..1, else 0 */
  int32_t Duration3;  /* 0..5999, else 120 */
  int32_t Level3;     /* 10..240, else 140 */
} ExercisePhase;

QUIBRA_STATIC_ASSERT(sizeof(ExercisePhase) == 52, "ExercisePhase is 52 bytes");
QUIBRA_STATIC_ASSERT(offsetof(ExercisePhase, PhaseOn) == 0, "ExercisePhase.PhaseOn");
QUIBRA_STATIC_ASSERT(offsetof(ExercisePhase, Flag2) == 4, "ExercisePhase.Flag2");
QUIBRA_STATIC_ASSERT(offsetof(ExercisePhase, UpperLimit) == 8, "ExercisePhase.UpperLimit");
QUIBRA_STATIC_ASSERT(offsetof(ExercisePhase, LowerLimit) == 12, "ExercisePhase.LowerLimit");
QUIBRA_STATIC_ASSERT(offsetof(ExercisePhase, Flag1) == 16, "ExercisePhase.Flag1");
QUIBRA_STATIC_ASSERT(offsetof(ExercisePhase, Mode1) == 20, "ExercisePhase.Mode1");
QUIBRA_STATIC_ASSERT(offsetof(ExercisePhase, Count1) == 24, "ExercisePhase.Count1");
QUIBRA_STATIC_ASSERT(offsetof(ExercisePhase, Duration1) == 28, "ExercisePhase.Duration1");
QUIBRA_STATIC_ASSERT(offsetof(ExercisePhase, Level1) == 32, "ExercisePhase.Level1");
QUIBRA_STATIC_ASSERT(offsetof(ExercisePhase, Flag3) == 36, "ExercisePhase.Flag3");
QUIBRA_STATIC_ASSERT(offsetof(ExercisePhase, Mode3) == 40, "ExercisePhase.Mode3");
QUIBRA_STATIC_ASSERT(offsetof(ExercisePhase, Duration3) == 44, "ExercisePhase.Duration3");
QUIBRA_STATIC_ASSERT(offsetof(ExercisePhase, Level3) == 48, "ExercisePhase.Level3");

/* Exercise profile 1..7 (messages 9017 write, 9018 read, the number as parameter). */
typedef struct ExerciseProfile {
  int32_t Size;            /* 0 becomes 340 */
  int32_t ProfileNumber;   /* 1..7, else 1 */
  int32_t ProfileOption;   /* 0 or 1 */
  char ProfileName[8];     /* need not be terminated; the unit keeps the first 7 */
  int32_t LimitsInPercent; /* nonzero: phase limits are percent of PercentBase */
  int32_t PercentBase;     /* 100..240 in the percent mode */
  ExercisePhase Phases[6];
} ExerciseProfile;

QUIBRA_STATIC_ASSERT(sizeof(ExerciseProfile) == 340, "ExerciseProfile is 340 bytes");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseProfile, Size) == 0, "ExerciseProfile.Size");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseProfile, ProfileNumber) == 4,
                     "ExerciseProfile.ProfileNumber");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseProfile, ProfileOption) == 8,
                     "ExerciseProfile.ProfileOption");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseProfile, ProfileName) == 12, "ExerciseProfile.ProfileName");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseProfile, LimitsInPercent) == 20,
                     "ExerciseProfile.LimitsInPercent");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseProfile, PercentBase) == 24, "ExerciseProfile.PercentBase");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseProfile, Phases) == 28, "ExerciseProfile.Phases");

/* Exercise limits (message 9037; sound upload or data file only). */
typedef struct ExerciseLimits {
  int32_t Size;       /* 0 becomes 16 */
  int32_t LimitsOn;   /* 0 or 1, else 0 */
  int32_t UpperLimit; /* 10..240, else 180 */
  int32_t LowerLimit; /* 10..240, else 135; below UpperLimit */
} ExerciseLimits;

QUIBRA_STATIC_ASSERT(sizeof(ExerciseLimits) == 16, "ExerciseLimits is 16 bytes");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseLimits, Size) == 0, "ExerciseLimits.Size");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseLimits, LimitsOn) == 4, "ExerciseLimits.LimitsOn");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseLimits, UpperLimit) == 8, "ExerciseLimits.UpperLimit");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseLimits, LowerLimit) == 12, "ExerciseLimits.LowerLimit");

/* Exercise set 1..5 (variant 0: messages 9003/9004; variant 1: 9068/9069). Timers in seconds,
 * distances in tenths of a kilometre or mile, windows in minutes of the day. */
typedef struct ExerciseSet {
  int32_t Size;      /* 0 becomes 216 */
  int32_t SetNumber; /* 0..5, else 1 */
  int32_t SetOption; /* 0 or 1 */
  char SetName[8];   /* need not be terminated; the unit keeps the first 7 */
  int32_t Timer1On;
  int32_t Timer1; /* 5..5999, else 120 */
  int32_t Timer2On;
  int32_t Timer2;
  int32_t Timer3On;
  int32_t Timer3;
  int32_t Limits1On;
  int32_t Upper1; /* 30..240, else 160; percent mode 50..100 */
  int32_t Lower1; /* 30..240, else 80; percent mode 50..100; not above Upper1 */
  int32_t Limits2On;
  int32_t Upper2;
  int32_t Lower2;
  int32_t Limits3On;
  int32_t Upper3;
  int32_t Lower3;
  int32_t LimitsInPercent;
  int32_t PercentBase; /* 100..240 in the percent mode */
  int32_t RepeatOn;
  int32_t RepeatMode;  /* 0..3, else 0 */
  int32_t RepeatCount; /* 0..30, else 1 */
  int32_t RepeatLevel; /* 10..240, else 150 */
  int32_t RepeatDistanceKm;
  int32_t RepeatDistanceMi;
  int32_t RecoveryOn;
  int32_t RecoveryMode;  /* 0..2, else 0 */
  int32_t RecoveryTime;  /* 0..5999, else 120 */
  int32_t RecoveryLevel; /* 10..240, else 140 */
  int32_t RecoveryDistanceKm;
  int32_t RecoveryDistanceMi;
  int32_t ExtraLow;      /* variant 1: 0..3 */
  int32_t ExtraBit;      /* variant 1: 0 or 1 */
  int32_t ExtraByteB;    /* variant 1: one byte */
  int32_t ExtraByteA;    /* variant 1: one byte */
  int32_t ExtraPairs[8]; /* variant 1: one byte each */
  int32_t Window1Start;  /* variant 1: four windows, start and end */
  int32_t Window1End;
  int32_t Window2Start;
  int32_t Window2End;
  int32_t Window3Start;
  int32_t Window3End;
  int32_t Window4Start;
  int32_t Window4End;
} ExerciseSet;

QUIBRA_STATIC_ASSERT(sizeof(ExerciseSet) == 216, "ExerciseSet is 216 bytes");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, Size) == 0, "ExerciseSet.Size");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, SetNumber) == 4, "ExerciseSet.SetNumber");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, SetOption) == 8, "ExerciseSet.SetOption");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, SetName) == 12, "ExerciseSet.SetName");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, Timer1On) == 20, "ExerciseSet.Timer1On");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, Timer1) == 24, "ExerciseSet.Timer1");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, Timer2On) == 28, "ExerciseSet.Timer2On");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, Timer2) == 32, "ExerciseSet.Timer2");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, Timer3On) == 36, "ExerciseSet.Timer3On");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, Timer3) == 40, "ExerciseSet.Timer3");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, Limits1On) == 44, "ExerciseSet.Limits1On");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, Upper1) == 48, "ExerciseSet.Upper1");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, Lower1) == 52, "ExerciseSet.Lower1");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, Limits2On) == 56, "ExerciseSet.Limits2On");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, Upper2) == 60, "ExerciseSet.Upper2");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, Lower2) == 64, "ExerciseSet.Lower2");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, Limits3On) == 68, "ExerciseSet.Limits3On");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, Upper3) == 72, "ExerciseSet.Upper3");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, Lower3) == 76, "ExerciseSet.Lower3");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, LimitsInPercent) == 80, "ExerciseSet.LimitsInPercent");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, PercentBase) == 84, "ExerciseSet.PercentBase");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, RepeatOn) == 88, "ExerciseSet.RepeatOn");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, RepeatMode) == 92, "ExerciseSet.RepeatMode");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, RepeatCount) == 96, "ExerciseSet.RepeatCount");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, RepeatLevel) == 100, "ExerciseSet.RepeatLevel");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, RepeatDistanceKm) == 104,
                     "ExerciseSet.RepeatDistanceKm");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, RepeatDistanceMi) == 108,
                     "ExerciseSet.RepeatDistanceMi");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, RecoveryOn) == 112, "ExerciseSet.RecoveryOn");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, RecoveryMode) == 116, "ExerciseSet.RecoveryMode");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, RecoveryTime) == 120, "ExerciseSet.RecoveryTime");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, RecoveryLevel) == 124, "ExerciseSet.RecoveryLevel");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, RecoveryDistanceKm) == 128,
                     "ExerciseSet.RecoveryDistanceKm");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, RecoveryDistanceMi) == 132,
                     "ExerciseSet.RecoveryDistanceMi");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, ExtraLow) == 136, "ExerciseSet.ExtraLow");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, ExtraBit) == 140, "ExerciseSet.ExtraBit");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, ExtraByteB) == 144, "ExerciseSet.ExtraByteB");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, ExtraByteA) == 148, "ExerciseSet.ExtraByteA");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, ExtraPairs) == 152, "ExerciseSet.ExtraPairs");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, Window1Start) == 184, "ExerciseSet.Window1Start");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, Window1End) == 188, "ExerciseSet.Window1End");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, Window2Start) == 192, "ExerciseSet.Window2Start");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, Window2End) == 196, "ExerciseSet.Window2End");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, Window3Start) == 200, "ExerciseSet.Window3Start");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, Window3End) == 204, "ExerciseSet.Window3End");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, Window4Start) == 208, "ExerciseSet.Window4Start");
QUIBRA_STATIC_ASSERT(offsetof(ExerciseSet, Window4End) == 212, "ExerciseSet.Window4End");

/* One bike of BikeSettings (48 bytes). The unit keeps 4 characters of the name. */
typedef struct BikeEntry {
  char BikeName[8];     /* need not be terminated; character table 0 */
  int32_t WheelSize;    /* millimetres, 1000..3999, else 2000 */
  int32_t BikeOption0;  /* 0 or 1 */
  int32_t BikeTotal;    /* 0..999999; the message-9108 layout only */
  int32_t BikeValue16;  /* 0..65535; the message-9108 layout only */
  int32_t BikeOption1;  /* 0 or 1 */
  int32_t BikeOption2;  /* 0 or 1 */
  int32_t BikeOption3;  /* 0 or 1 */
  int32_t BikeSettingA; /* 200..399, else 300 */
  int32_t BikeSettingB; /* 1000..1999, else 1400 */
  int32_t BikeSettingC; /* 300..599, else 420 */
} BikeEntry;

QUIBRA_STATIC_ASSERT(sizeof(BikeEntry) == 48, "BikeEntry is 48 bytes");
QUIBRA_STATIC_ASSERT(offsetof(BikeEntry, BikeName) == 0, "BikeEntry.BikeName");
QUIBRA_STATIC_ASSERT(offsetof(BikeEntry, WheelSize) == 8, "BikeEntry.WheelSize");
QUIBRA_STATIC_ASSERT(offsetof(BikeEntry, BikeOption0) == 12, "BikeEntry.BikeOption0");
QUIBRA_STATIC_ASSERT(offsetof(BikeEntry, BikeTotal) == 16, "BikeEntry.BikeTotal");
QUIBRA_STATIC_ASSERT(offsetof(BikeEntry, BikeValue16) == 20, "BikeEntry.BikeValue16");
QUIBRA_STATIC_ASSERT(offsetof(BikeEntry, BikeOption1) == 24, "BikeEntry.BikeOption1");
QUIBRA_STATIC_ASSERT(offsetof(BikeEntry, BikeOption2) == 28, "BikeEntry.BikeOption2");
QUIBRA_STATIC_ASSERT(offsetof(BikeEntry, BikeOption3) == 32, "BikeEntry.BikeOption3");
QUIBRA_STATIC_ASSERT(offsetof(BikeEntry, BikeSettingA) == 36, "BikeEntry.BikeSettingA");
QUIBRA_STATIC_ASSERT(offsetof(BikeEntry, BikeSettingB) == 40, "BikeEntry.BikeSettingB");
QUIBRA_STATIC_ASSERT(offsetof(BikeEntry, BikeSettingC) == 44, "BikeEntry.BikeSettingC");

/* Bike settings: messages 9019 (write) and 9020 (read), or 9108 (write only) for LayoutType 32.
 * The messages carry bikes 0 and 1. */
typedef struct BikeSettings {
  int32_t Size;          /* 0 becomes 160 */
  int32_t LayoutType;    /* 32: the message-9108 layout; else the message-9019 layout */
  int32_t BikeSelection; /* 0..3, else 0 */
  int32_t SendTwice;     /* 9108 layout: by sound the settings go twice, 1 s apart */
  BikeEntry Bikes[3];
} BikeSettings;

QUIBRA_STATIC_ASSERT(sizeof(BikeSettings) == 160, "BikeSettings is 160 bytes");
QUIBRA_STATIC_ASSERT(offsetof(BikeSettings, Size) == 0, "BikeSettings.Size");
QUIBRA_STATIC_ASSERT(offsetof(BikeSettings, LayoutType) == 4, "BikeSettings.LayoutType");
QUIBRA_STATIC_ASSERT(offsetof(BikeSettings, BikeSelection) == 8, "BikeSettings.BikeSelection");
QUIBRA_STATIC_ASSERT(offsetof(BikeSettings, SendTwice) == 12, "BikeSettings.SendTwice");
QUIBRA_STATIC_ASSERT(offsetof(BikeSettings, Bikes) == 16, "BikeSettings.Bikes");
QUIBRA_STATIC_ASSERT(offsetof(BikeSettings, Bikes[1]) == 64, "BikeSettings.Bikes[1]");
QUIBRA_STATIC_ASSERT(offsetof(BikeSettings, Bikes[2]) == 112, "BikeSettings.Bikes[2]");

/* Exercise settings of the VCQ units (message 9079, by sound or data file). Timers in seconds. */
typedef struct VcqExerciseSettings {
  int32_t VcqUnitType; /* 29 or 31; in place of a size field */
  int32_t VcqTimer1On; /* 0 or 1 */
  int32_t VcqTimer1;   /* 5..5999; else fails when on, or becomes 120 when off */
  int32_t VcqTimer2On;
  int32_t VcqTimer2;
  int32_t VcqMode;            /* 0..2 */
  int32_t VcqLimitsInPercent; /* 0 or 1 */
  int32_t VcqUpperLimit;      /* percent 50..100; else 30..240, default 160 */
  int32_t VcqLowerLimit;      /* percent 50..100; else 30..240, default 80; not above upper */
  int32_t VcqFlag3;           /* a flag: nonzero is sent as 1 */
  int32_t VcqBit0;            /* six flags: nonzero is sent as 1 */
  int32_t VcqBit1;
  int32_t VcqBit2;
  int32_t VcqBit3;
  int32_t VcqBit4;
  int32_t VcqBit5;
  int32_t VcqNibble0; /* six 4-bit values: the low 4 bits are sent */
  int32_t VcqNibble1;
  int32_t VcqNibble2;
  int32_t VcqNibble3;
  int32_t VcqNibble4;
  int32_t VcqNibble5;
} VcqExerciseSettings;

QUIBRA_STATIC_ASSERT(sizeof(VcqExerciseSettings) == 88, "VcqExerciseSettings is 88 bytes");
QUIBRA_STATIC_ASSERT(offsetof(VcqExerciseSettings, VcqUnitType) == 0,
                     "VcqExerciseSettings.VcqUnitType");
QUIBRA_STATIC_ASSERT(offsetof(VcqExerciseSettings, VcqTimer1On) == 4,
                     "VcqExerciseSettings.VcqTimer1On");
QUIBRA_STATIC_ASSERT(offsetof(VcqExerciseSettings, VcqTimer1) == 8,
                     "VcqExerciseSettings.VcqTimer1");
QUIBRA_STATIC_ASSERT(offsetof(VcqExerciseSettings, VcqTimer2On) == 12,
                     "VcqExerciseSettings.VcqTimer2On");
QUIBRA_STATIC_ASSERT(offsetof(VcqExerciseSettings, VcqTimer2) == 16,
                     "VcqExerciseSettings.VcqTimer2");
QUIBRA_STATIC_ASSERT(offsetof(VcqExerciseSettings, VcqMode) == 20, "VcqExerciseSettings.VcqMode");
QUIBRA_STATIC_ASSERT(offsetof(VcqExerciseSettings, VcqLimitsInPercent) == 24,
                     "VcqExerciseSettings.VcqLimitsInPercent");
QUIBRA_STATIC_ASSERT(offsetof(VcqExerciseSettings, VcqUpperLimit) == 28,
                     "VcqExerciseSettings.VcqUpperLimit");
QUIBRA_STATIC_ASSERT(offsetof(VcqExerciseSettings, VcqLowerLimit) == 32,
                     "VcqExerciseSettings.VcqLowerLimit");
QUIBRA_STATIC_ASSERT(offsetof(VcqExerciseSettings, VcqFlag3) == 36, "VcqExerciseSettings.VcqFlag3");
QUIBRA_STATIC_ASSERT(offsetof(VcqExerciseSettings, VcqBit0) == 40, "VcqExerciseSettings.VcqBit0");
QUIBRA_STATIC_ASSERT(offsetof(VcqExerciseSettings, VcqBit1) == 44, "VcqExerciseSettings.VcqBit1");
QUIBRA_STATIC_ASSERT(offsetof(VcqExerciseSettings, VcqBit2) == 48, "VcqExerciseSettings.VcqBit2");
QUIBRA_STATIC_ASSERT(offsetof(VcqExerciseSettings, VcqBit3) == 52, "VcqExerciseSettings.VcqBit3");
QUIBRA_STATIC_ASSERT(offsetof(VcqExerciseSettings, VcqBit4) == 56, "VcqExerciseSettings.VcqBit4");
QUIBRA_STATIC_ASSERT(offsetof(VcqExerciseSettings, VcqBit5) == 60, "VcqExerciseSettings.VcqBit5");
QUIBRA_STATIC_ASSERT(offsetof(VcqExerciseSettings, VcqNibble0) == 64,
                     "VcqExerciseSettings.VcqNibble0");
QUIBRA_STATIC_ASSERT(offsetof(VcqExerciseSettings, VcqNibble1) == 68,
                     "VcqExerciseSettings.VcqNibble1");
QUIBRA_STATIC_ASSERT(offsetof(VcqExerciseSettings, VcqNibble2) == 72,
                     "VcqExerciseSettings.VcqNibble2");
QUIBRA_STATIC_ASSERT(offsetof(VcqExerciseSettings, VcqNibble3) == 76,
                     "VcqExerciseSettings.VcqNibble3");
QUIBRA_STATIC_ASSERT(offsetof(VcqExerciseSettings, VcqNibble4) == 80,
                     "VcqExerciseSettings.VcqNibble4");
QUIBRA_STATIC_ASSERT(offsetof(VcqExerciseSettings, VcqNibble5) == 84,
                     "VcqExerciseSettings.VcqNibble5");

/* ---- running and cycling units: totals, odometers, displays, test results ------------------ */

/* Running totals of a running or cycling unit (types 33..38), each with the date (yyyymmdd) on
 * which it was last reset. Which totals a unit keeps depends on its type; the others read as 0
 * and are not written. The first field is the monitor type, not a size. Times are seconds
 * (0..35999999: up to 9999 h 59 min 59 s); counters hold 8 decimal digits (0..99999999), except
 * Counter8 (4 digits, 0..9999) and Counter30 (6 digits, 0..999999). A reset date read from the
 * unit that is no date of 2003..2099 reads as today; a date of 0 is written as today. */
typedef struct TotalsPRVC {
  int32_t MonitorType; /* the CommParams monitor type of the read */
  int32_t Reserved[3]; /* 0 */
  int32_t TotalTime;   /* every type */
  int32_t TotalTimeDate;
  int32_t Counter6; /* every type */
  int32_t Counter6Date;
  int32_t Counter8; /* every type */
  int32_t Counter8Date;
  int32_t Counter10; /* every type */
  int32_t Counter10Date;
  int32_t Counter12; /* 36, 37, 38 */
  int32_t Counter13; /* 36, 37, 38 */
  int32_t Counter14; /* 38 */
  int32_t Counter12Date;
  int32_t Counter13Date;
  int32_t Counter14Date;
  int32_t Counter18; /* 33, 34, 35, 38 */
  int32_t Counter19; /* 33, 34, 35, 38 */
  int32_t Counter20; /* 34, 35, 38 */
  int32_t Counter18Date;
  int32_t Counter19Date;
  int32_t Counter20Date;
  int32_t Counter24; /* 38 */
  int32_t Counter24Date;
  int32_t Counter26; /* 38 */
  int32_t Counter26Date;
  int32_t Counter28; /* 34, 38 */
  int32_t Counter28Date;
  int32_t Counter30; /* 33, 34, 35, 37, 38 */
  int32_t Counter30Date;
  int32_t Counter32; /* 33, 34, 35, 38 */
  int32_t Counter32Date;
  int32_t Bike1Total; /* 33, 34, 35 */
  int32_t Bike2Total; /* 33, 34, 35 */
  int32_t Bike3Total; /* 34, 35 */
  int32_t Bike1Date;
  int32_t Bike2Date;
  int32_t Bike3Date;
} TotalsPRVC;

QUIBRA_STATIC_ASSERT(sizeof(TotalsPRVC) == 160, "TotalsPRVC is 160 bytes");
QUIBRA_STATIC_ASSERT(offsetof(TotalsPRVC, MonitorType) == 0, "TotalsPRVC.MonitorType");
QUIBRA_STATIC_ASSERT(offsetof(TotalsPRVC, TotalTime) == 16, "TotalsPRVC.TotalTime");
QUIBRA_STATIC_ASSERT(offsetof(TotalsPRVC, Counter6) == 24, "TotalsPRVC.Counter6");
QUIBRA_STATIC_ASSERT(offsetof(TotalsPRVC, Counter12) == 48, "TotalsPRVC.Counter12");
QUIBRA_STATIC_ASSERT(offsetof(TotalsPRVC, Counter12Date) == 60, "TotalsPRVC.Counter12Date");
QUIBRA_STATIC_ASSERT(offsetof(TotalsPRVC, Counter18) == 72, "TotalsPRVC.Counter18");
QUIBRA_STATIC_ASSERT(offsetof(TotalsPRVC, Counter18Date) == 84, "TotalsPRVC.Counter18Date");
QUIBRA_STATIC_ASSERT(offsetof(TotalsPRVC, Counter24) == 96, "TotalsPRVC.Counter24");
QUIBRA_STATIC_ASSERT(offsetof(TotalsPRVC, Counter30) == 120, "TotalsPRVC.Counter30");
QUIBRA_STATIC_ASSERT(offsetof(TotalsPRVC, Counter32Date) == 132, "TotalsPRVC.Counter32Date");
QUIBRA_STATIC_ASSERT(offsetof(TotalsPRVC, Bike1Total) == 136, "TotalsPRVC.Bike1Total");
QUIBRA_STATIC_ASSERT(offsetof(TotalsPRVC, Bike1Date) == 148, "TotalsPRVC.Bike1Date");
QUIBRA_STATIC_ASSERT(offsetof(TotalsPRVC, Bike3Date) == 156, "TotalsPRVC.Bike3Date");

/* The two bike odometers of the older cycling-capable units (types 12, 22 and 23 over infrared;
 * 6 and 10 by sound), in the unit's distance unit, 0..999999 each. */
typedef struct OdometerSettings {
  int32_t Size;        /* 16, set by the unpack */
  int32_t Bike1;       /* 0..999999 */
  int32_t Bike2;       /* 0..999999 */
  int32_t MonitorType; /* the write's unit type: 6, 10, 12, 22 or 23; set by the read */
} OdometerSettings;

QUIBRA_STATIC_ASSERT(sizeof(OdometerSettings) == 16, "OdometerSettings is 16 bytes");
QUIBRA_STATIC_ASSERT(offsetof(OdometerSettings, Size) == 0, "OdometerSettings.Size");
QUIBRA_STATIC_ASSERT(offsetof(OdometerSettings, Bike1) == 4, "OdometerSettings.Bike1");
QUIBRA_STATIC_ASSERT(offsetof(OdometerSettings, Bike2) == 8, "OdometerSettings.Bike2");
QUIBRA_STATIC_ASSERT(offsetof(OdometerSettings, MonitorType) == 12, "OdometerSettings.MonitorType");

/* Display layouts of a type 38 unit. Switches are 0 or 1; identifiers are the library's display
 * identifiers (1..8 class 1, 101..141 class 2; fnQuibra_GetMonitorDisplayID), 0 for none. The
 * extra groups are kept by units of variant 3 or more only. */
typedef struct DisplaysPR9W {
  int32_t Unused[6];          /* not read or written by the transfer */
  int32_t SwitchSet1[6];      /* 0 or 1 each */
  int32_t SwitchSet2[6];      /* 0 or 1 each */
  int32_t Class1IDs[12];      /* two groups of six */
  int32_t Class2IDs[48];      /* eight groups of six */
  int32_t ExtraClass2IDs[24]; /* four groups of six (variant 3 or more) */
} DisplaysPR9W;

QUIBRA_STATIC_ASSERT(sizeof(DisplaysPR9W) == 408, "DisplaysPR9W is 408 bytes");
QUIBRA_STATIC_ASSERT(offsetof(DisplaysPR9W, Unused) == 0, "DisplaysPR9W.Unused");
QUIBRA_STATIC_ASSERT(offsetof(DisplaysPR9W, SwitchSet1) == 24, "DisplaysPR9W.SwitchSet1");
QUIBRA_STATIC_ASSERT(offsetof(DisplaysPR9W, SwitchSet2) == 48, "DisplaysPR9W.SwitchSet2");
QUIBRA_STATIC_ASSERT(offsetof(DisplaysPR9W, Class1IDs) == 72, "DisplaysPR9W.Class1IDs");
QUIBRA_STATIC_ASSERT(offsetof(DisplaysPR9W, Class2IDs) == 120, "DisplaysPR9W.Class2IDs");
QUIBRA_STATIC_ASSERT(offsetof(DisplaysPR9W, ExtraClass2IDs) == 312, "DisplaysPR9W.ExtraClass2IDs");

/* Display layouts of the other running and cycling units (types 33..37). */
typedef struct DisplaysOther {
  int32_t Switches[6];   /* 0 or 1 each */
  int32_t Class1IDs[6];  /* library display identifiers 1..8, 0 for none */
  int32_t Class2IDs[12]; /* two groups of six, identifiers 101..141, 0 for none */
} DisplaysOther;

QUIBRA_STATIC_ASSERT(sizeof(DisplaysOther) == 96, "DisplaysOther is 96 bytes");
QUIBRA_STATIC_ASSERT(offsetof(DisplaysOther, Switches) == 0, "DisplaysOther.Switches");
QUIBRA_STATIC_ASSERT(offsetof(DisplaysOther, Class1IDs) == 24, "DisplaysOther.Class1IDs");
QUIBRA_STATIC_ASSERT(offsetof(DisplaysOther, Class2IDs) == 48, "DisplaysOther.Class2IDs");

/* One stored LoadGauge result, filled by fnQuibra_GetLoadGaugeResult. The caller need not set
 * anything: the library clears the record and sets Size. Any Size is taken. */
typedef struct LoadGaugeResult {
  int32_t Size;       /* 24 */
  int32_t TestDate;   /* yyyymmdd */
  int32_t Rating;     /* 1..9 for a valid result */
  int32_t HeartRate1; /* 15..240 for a valid result */
  int32_t HeartRate2;
  int32_t HeartRate3;
} LoadGaugeResult;

QUIBRA_STATIC_ASSERT(sizeof(LoadGaugeResult) == 24, "LoadGaugeResult is 24 bytes");
QUIBRA_STATIC_ASSERT(offsetof(LoadGaugeResult, Size) == 0, "LoadGaugeResult.Size");
QUIBRA_STATIC_ASSERT(offsetof(LoadGaugeResult, TestDate) == 4, "LoadGaugeResult.TestDate");
QUIBRA_STATIC_ASSERT(offsetof(LoadGaugeResult, Rating) == 8, "LoadGaugeResult.Rating");
QUIBRA_STATIC_ASSERT(offsetof(LoadGaugeResult, HeartRate1) == 12, "LoadGaugeResult.HeartRate1");
QUIBRA_STATIC_ASSERT(offsetof(LoadGaugeResult, HeartRate2) == 16, "LoadGaugeResult.HeartRate2");
QUIBRA_STATIC_ASSERT(offsetof(LoadGaugeResult, HeartRate3) == 20, "LoadGaugeResult.HeartRate3");

/* The FitGauge results: the first and the second test, each a date (yyyymmdd) and a value.
 * Cleared by the read; the reserved words stay 0. */
typedef struct FitGaugeResults {
  int32_t FirstDate;
  int32_t Reserved1[15];
  int32_t FirstValue;
  int32_t Reserved2[15];
  int32_t SecondDate;
  int32_t SecondValue;
} FitGaugeResults;

QUIBRA_STATIC_ASSERT(sizeof(FitGaugeResults) == 136, "FitGaugeResults is 136 bytes");
QUIBRA_STATIC_ASSERT(offsetof(FitGaugeResults, FirstDate) == 0, "FitGaugeResults.FirstDate");
QUIBRA_STATIC_ASSERT(offsetof(FitGaugeResults, FirstValue) == 64, "FitGaugeResults.FirstValue");
QUIBRA_STATIC_ASSERT(offsetof(FitGaugeResults, SecondDate) == 128, "FitGaugeResults.SecondDate");
QUIBRA_STATIC_ASSERT(offsetof(FitGaugeResults, SecondValue) == 132, "FitGaugeResults.SecondValue");

/* ---- extension: the dialog observer ------------------------------------------------------ */

/* One change of a library dialog, reported to the observer installed with
 * fnQuibraExt_SetDialogObserver. Kind 1: a dialog opened; 2: a control changed (its whole state
 * is given); 3: the dialog closed with Result; 4: a message box with Text and Caption was shown
 * (Dialog "MESSAGE_BOX", Result 1: it has been dismissed with OK); 5: the transfer failed and
 * the dialog now waits for the user to press Retry (1005) or Cancel (2), Text holding what its
 * status line says. An observer answers kind 5 with fnQuibraExt_PressDialogButton, from inside
 * the callback or later; when no observer is installed the headless host presses Cancel itself,
 * so that nothing waits for a choice nobody can make. An icon control's Text is the icon it
 * shows, "#" and its resource number, once a procedure has chosen one. */
#define QUIBRA_DIALOG_OPENED 1
#define QUIBRA_DIALOG_CONTROL 2
#define QUIBRA_DIALOG_CLOSED 3
#define QUIBRA_DIALOG_MESSAGE_BOX 4
#define QUIBRA_DIALOG_AWAITING_CHOICE 5

typedef struct QuibraDialogEvent {
  int32_t Kind;
  char Dialog[32];  /* template name, e.g. "IR_CONNECTION" */
  int32_t Control;  /* control id (kind 2); 0 stands for the caption */
  int32_t Enabled;  /* kind 2: nonzero when the control is enabled */
  int32_t Visible;  /* kind 2: nonzero when the control is shown */
  int32_t Progress; /* kind 2: the position of a progress bar */
  int32_t Result;   /* kind 3: the dialog's result */
  char Text[112];   /* kind 2: the control's text; 4: the message box's; 5: the status line */
  char Caption[64]; /* kind 4: the message box's caption */
  int32_t Colour;   /* kind 2: a progress bar's colour as 0x00BBGGRR; -1 the default colour */
} QuibraDialogEvent;

QUIBRA_STATIC_ASSERT(sizeof(QuibraDialogEvent) == 236, "QuibraDialogEvent is 236 bytes");
QUIBRA_STATIC_ASSERT(offsetof(QuibraDialogEvent, Kind) == 0, "QuibraDialogEvent.Kind");
QUIBRA_STATIC_ASSERT(offsetof(QuibraDialogEvent, Dialog) == 4, "QuibraDialogEvent.Dialog");
QUIBRA_STATIC_ASSERT(offsetof(QuibraDialogEvent, Control) == 36, "QuibraDialogEvent.Control");
QUIBRA_STATIC_ASSERT(offsetof(QuibraDialogEvent, Enabled) == 40, "QuibraDialogEvent.Enabled");
QUIBRA_STATIC_ASSERT(offsetof(QuibraDialogEvent, Visible) == 44, "QuibraDialogEvent.Visible");
QUIBRA_STATIC_ASSERT(offsetof(QuibraDialogEvent, Progress) == 48, "QuibraDialogEvent.Progress");
QUIBRA_STATIC_ASSERT(offsetof(QuibraDialogEvent, Result) == 52, "QuibraDialogEvent.Result");
QUIBRA_STATIC_ASSERT(offsetof(QuibraDialogEvent, Text) == 56, "QuibraDialogEvent.Text");
QUIBRA_STATIC_ASSERT(offsetof(QuibraDialogEvent, Caption) == 168, "QuibraDialogEvent.Caption");
QUIBRA_STATIC_ASSERT(offsetof(QuibraDialogEvent, Colour) == 232, "QuibraDialogEvent.Colour");

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
