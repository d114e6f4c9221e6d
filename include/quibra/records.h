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

/* ---- settings of the outdoor units (types 19..21) -------------------------------------------- */

/* The outdoor records are bounded by their Size as every settings record is; a shorter one's
 * missing fields take the record's Reset values (zeros for the records without a Reset). Texts
 * hold 8 characters of which the unit keeps 7; they need not be terminated. */

/* Watch settings (messages 9040 write, 9041 read). Times are seconds since midnight. */
typedef struct OutdoorWatchSettings {
  int32_t Size;            /* Prepare and UnPack set 76 */
  int32_t TimeOfDay;       /* 0..86399; -1 = the PC's local time */
  int32_t SecondTimeOfDay; /* 0..86399; -1 = the PC's local time; sent in whole minutes */
  int32_t OutdoorFlag4;    /* 0 or 1 */
  int32_t OutdoorFlag7;    /* 0 or 1 */
  int32_t OutdoorFlag0;    /* 0 or 1 */
  int32_t Date;            /* yyyymmdd, 20000101..20991231; -1 = the PC's local date */
  int32_t Alarm1On;        /* 0 or 1 */
  int32_t Alarm2On;
  int32_t Alarm3On;
  int32_t Alarm1Time; /* 0..86399; sent in whole minutes */
  int32_t Alarm2Time;
  int32_t Alarm3Time;
  char Alarm1Text[8]; /* capitals, digits, space, ? . / * : = ! (small letters: capitals) */
  char Alarm2Text[8];
  char Alarm3Text[8];
} OutdoorWatchSettings;

QUIBRA_STATIC_ASSERT(sizeof(OutdoorWatchSettings) == 76, "OutdoorWatchSettings is 76 bytes");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorWatchSettings, Size) == 0, "OutdoorWatchSettings.Size");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorWatchSettings, TimeOfDay) == 4,
                     "OutdoorWatchSettings.TimeOfDay");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorWatchSettings, SecondTimeOfDay) == 8,
                     "OutdoorWatchSettings.SecondTimeOfDay");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorWatchSettings, OutdoorFlag4) == 12,
                     "OutdoorWatchSettings.OutdoorFlag4");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorWatchSettings, OutdoorFlag7) == 16,
                     "OutdoorWatchSettings.OutdoorFlag7");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorWatchSettings, OutdoorFlag0) == 20,
                     "OutdoorWatchSettings.OutdoorFlag0");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorWatchSettings, Date) == 24, "OutdoorWatchSettings.Date");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorWatchSettings, Alarm1On) == 28,
                     "OutdoorWatchSettings.Alarm1On");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorWatchSettings, Alarm2On) == 32,
                     "OutdoorWatchSettings.Alarm2On");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorWatchSettings, Alarm3On) == 36,
                     "OutdoorWatchSettings.Alarm3On");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorWatchSettings, Alarm1Time) == 40,
                     "OutdoorWatchSettings.Alarm1Time");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorWatchSettings, Alarm2Time) == 44,
                     "OutdoorWatchSettings.Alarm2Time");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorWatchSettings, Alarm3Time) == 48,
                     "OutdoorWatchSettings.Alarm3Time");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorWatchSettings, Alarm1Text) == 52,
                     "OutdoorWatchSettings.Alarm1Text");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorWatchSettings, Alarm2Text) == 60,
                     "OutdoorWatchSettings.Alarm2Text");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorWatchSettings, Alarm3Text) == 68,
                     "OutdoorWatchSettings.Alarm3Text");

/* One of the five dated reminders (messages 9052 write, 9053 read). */
typedef struct OutdoorReminder {
  int32_t Size;           /* 0 becomes 28 */
  int32_t ReminderNumber; /* 0..4, else 0 */
  int32_t ReminderOn;     /* 0 or 1, else 0 */
  int32_t ReminderDate;   /* yyyymmdd, 20030101..20891231, else today */
  int32_t ReminderTime;   /* 0..86399, else 43200; sent in whole minutes */
  char ReminderText[8];   /* sent in capitals; punctuation other than ! is sent as a space */
} OutdoorReminder;

QUIBRA_STATIC_ASSERT(sizeof(OutdoorReminder) == 28, "OutdoorReminder is 28 bytes");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorReminder, Size) == 0, "OutdoorReminder.Size");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorReminder, ReminderNumber) == 4,
                     "OutdoorReminder.ReminderNumber");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorReminder, ReminderOn) == 8, "OutdoorReminder.ReminderOn");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorReminder, ReminderDate) == 12, "OutdoorReminder.ReminderDate");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorReminder, ReminderTime) == 16, "OutdoorReminder.ReminderTime");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorReminder, ReminderText) == 20, "OutdoorReminder.ReminderText");

/* User settings (messages 9042 write, 9043 read). Of two fields that hold one value in two
 * units, the first that is nonzero (pounds, centimetres, feet of altitude) is kept and the other
 * derived from it. */
typedef struct TrkUserSettings {
  int32_t Size;         /* 0 becomes 164 */
  int32_t BirthDate;    /* yyyymmdd, 19210101..20201231 (an earlier year becomes 1921) */
  int32_t Level;        /* 0..3, else 1 */
  int32_t MaxHR;        /* 100..240, else computed from the age */
  int32_t UserValue;    /* 15..120, else 60 */
  int32_t VO2max;       /* 10..95, else 36 (Sex nonzero) or 45 */
  int32_t Sex;          /* 0 or 1, else the check fails */
  int32_t WeightKg;     /* 20..199, else 70; used when WeightLb is 0 */
  int32_t WeightLb;     /* when nonzero 44..499, else 140 */
  int32_t HeightCm;     /* when nonzero 90..210, else 170 */
  int32_t HeightFeet;   /* 2..7, else 5; used when HeightCm is 0 */
  int32_t HeightInches; /* 0..11, else 8; used when HeightCm is 0 */
  int32_t OptionA1;     /* the options and flags are 0 or 1, else the check fails */
  int32_t OptionA2;
  int32_t OptionA3;
  int32_t LimitsInBpm; /* nonzero: limits in beats per minute; 0: in percent */
  int32_t LimitFlagA1;
  int32_t LimitFlagA2;
  int32_t LimitFlagA3;
  int32_t LimitFlagB1;
  int32_t LimitFlagB2;
  int32_t LimitFlagB3;
  int32_t UpperLimit1; /* checked when both flags of the set are 1: bpm 30..240 (else 160), */
  int32_t UpperLimit2; /* percent 50..100 (else 60); a lower limit above the upper fails */
  int32_t UpperLimit3;
  int32_t LowerLimit1; /* bpm 30..240 (else 80), percent 50..100 (else 75) */
  int32_t LowerLimit2;
  int32_t LowerLimit3;
  int32_t ChoiceA;    /* 0..3, else 0 */
  int32_t ChoiceB;    /* 0..3, else 0 */
  int32_t TimerValue; /* seconds 0..359999, else 0 */
  int32_t OptionD4;
  int32_t OptionD5;
  int32_t OptionD6;
  int32_t OptionD7;
  int32_t AltitudeFt1; /* when nonzero -1800..29500, else 0 */
  int32_t AltitudeFt2;
  int32_t AltitudeM1; /* used when the feet value is 0: -548..8990, else 0 */
  int32_t AltitudeM2;
  int32_t ChoiceC;     /* 0..2, else 0 */
  int32_t SignedValue; /* -99..99, else 0 */
} TrkUserSettings;

QUIBRA_STATIC_ASSERT(sizeof(TrkUserSettings) == 164, "TrkUserSettings is 164 bytes");
QUIBRA_STATIC_ASSERT(offsetof(TrkUserSettings, BirthDate) == 4, "TrkUserSettings.BirthDate");
QUIBRA_STATIC_ASSERT(offsetof(TrkUserSettings, UserValue) == 16, "TrkUserSettings.UserValue");
QUIBRA_STATIC_ASSERT(offsetof(TrkUserSettings, WeightKg) == 28, "TrkUserSettings.WeightKg");
QUIBRA_STATIC_ASSERT(offsetof(TrkUserSettings, HeightInches) == 44, "TrkUserSettings.HeightInches");
QUIBRA_STATIC_ASSERT(offsetof(TrkUserSettings, OptionA1) == 48, "TrkUserSettings.OptionA1");
QUIBRA_STATIC_ASSERT(offsetof(TrkUserSettings, LimitsInBpm) == 60, "TrkUserSettings.LimitsInBpm");
QUIBRA_STATIC_ASSERT(offsetof(TrkUserSettings, LimitFlagA1) == 64, "TrkUserSettings.LimitFlagA1");
QUIBRA_STATIC_ASSERT(offsetof(TrkUserSettings, LimitFlagB1) == 76, "TrkUserSettings.LimitFlagB1");
QUIBRA_STATIC_ASSERT(offsetof(TrkUserSettings, UpperLimit1) == 88, "TrkUserSettings.UpperLimit1");
QUIBRA_STATIC_ASSERT(offsetof(TrkUserSettings, LowerLimit1) == 100, "TrkUserSettings.LowerLimit1");
QUIBRA_STATIC_ASSERT(offsetof(TrkUserSettings, ChoiceA) == 112, "TrkUserSettings.ChoiceA");
QUIBRA_STATIC_ASSERT(offsetof(TrkUserSettings, TimerValue) == 120, "TrkUserSettings.TimerValue");
QUIBRA_STATIC_ASSERT(offsetof(TrkUserSettings, OptionD4) == 124, "TrkUserSettings.OptionD4");
QUIBRA_STATIC_ASSERT(offsetof(TrkUserSettings, AltitudeFt1) == 140, "TrkUserSettings.AltitudeFt1");
QUIBRA_STATIC_ASSERT(offsetof(TrkUserSettings, AltitudeM1) == 148, "TrkUserSettings.AltitudeM1");
QUIBRA_STATIC_ASSERT(offsetof(TrkUserSettings, ChoiceC) == 156, "TrkUserSettings.ChoiceC");
QUIBRA_STATIC_ASSERT(offsetof(TrkUserSettings, SignedValue) == 160, "TrkUserSettings.SignedValue");

/* One of the twenty points of the altitude calibration route (messages 9044 write, 9045 read,
 * the point number as parameter): a named place whose altitude the unit calibrates to. */
typedef struct OutdoorCalibPoint {
  int32_t Size;        /* 0 becomes 28 */
  int32_t PointNumber; /* 0..19, else the point is refused */
  int32_t PointOn;     /* 0 or 1: the point is part of the route; an unused point is sent blank */
  int32_t AltitudeFt;  /* when nonzero -1800..29500, else refused */
  int32_t AltitudeM;   /* used when AltitudeFt is 0: -548..8990, else refused */
  char PointName[8];   /* as an alarm text: capitals, digits, space and ? . / * : = ! */
} OutdoorCalibPoint;

QUIBRA_STATIC_ASSERT(sizeof(OutdoorCalibPoint) == 28, "OutdoorCalibPoint is 28 bytes");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorCalibPoint, PointNumber) == 4,
                     "OutdoorCalibPoint.PointNumber");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorCalibPoint, PointOn) == 8, "OutdoorCalibPoint.PointOn");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorCalibPoint, AltitudeFt) == 12, "OutdoorCalibPoint.AltitudeFt");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorCalibPoint, AltitudeM) == 16, "OutdoorCalibPoint.AltitudeM");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorCalibPoint, PointName) == 20, "OutdoorCalibPoint.PointName");

/* The info text the unit shows on two display lines (message 9055; the unit cannot be asked for
 * it). Each line holds up to 7 characters of the unit's text table (letters, digits, space and
 * ? ! . + : / -), which always fit its 47-pixel display; fnSplitInfoText makes such lines from a
 * longer text. */
typedef struct OutdoorInfoTexts {
  int32_t Size; /* 0 becomes 20 */
  char Line1[8];
  char Line2[8];
} OutdoorInfoTexts;

QUIBRA_STATIC_ASSERT(sizeof(OutdoorInfoTexts) == 20, "OutdoorInfoTexts is 20 bytes");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorInfoTexts, Line1) == 4, "OutdoorInfoTexts.Line1");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorInfoTexts, Line2) == 12, "OutdoorInfoTexts.Line2");

/* The season totals the unit counts since they were last cleared (message 9046 reads them,
 * message 9047 clears them). Filled by the library only. */
typedef struct OutdoorSeasonTotals {
  int32_t Size;                /* UnPack sets 48 */
  int32_t SeasonStartDate;     /* yyyymmdd: the day the totals were last cleared; 0 = never */
  int32_t ExerciseCount;       /* 0..65535 */
  int32_t ExerciseTime;        /* seconds, up to 65535 hours */
  int32_t AscentFt;            /* 0..16777215 */
  int32_t AscentM;             /* AscentFt in metres */
  int32_t DescentFt;           /* 0..16777215 */
  int32_t DescentM;            /* DescentFt in metres */
  int32_t EnergyKcal;          /* 0..16777215 */
  int32_t HighestAltitudeFt;   /* -8192..24575 */
  int32_t HighestAltitudeM;    /* HighestAltitudeFt in metres */
  int32_t HighestAltitudeDate; /* yyyymmdd; 0 = none yet */
} OutdoorSeasonTotals;

QUIBRA_STATIC_ASSERT(sizeof(OutdoorSeasonTotals) == 48, "OutdoorSeasonTotals is 48 bytes");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorSeasonTotals, SeasonStartDate) == 4,
                     "OutdoorSeasonTotals.SeasonStartDate");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorSeasonTotals, ExerciseTime) == 12,
                     "OutdoorSeasonTotals.ExerciseTime");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorSeasonTotals, EnergyKcal) == 32,
                     "OutdoorSeasonTotals.EnergyKcal");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorSeasonTotals, HighestAltitudeDate) == 44,
                     "OutdoorSeasonTotals.HighestAltitudeDate");

/* The last three fitness test results the unit keeps (message 9048 reads them, message 9049
 * clears them). Filled by the library only. */
typedef struct OutdoorTestResults {
  int32_t Size;        /* UnPack sets 32 */
  int32_t ResultCount; /* 0..3: the results after it are 0 */
  int32_t TestDate1;   /* yyyymmdd, the latest first */
  int32_t TestValue1;  /* the fitness value the test gave, 0..255 */
  int32_t TestDate2;
  int32_t TestValue2;
  int32_t TestDate3;
  int32_t TestValue3;
} OutdoorTestResults;

QUIBRA_STATIC_ASSERT(sizeof(OutdoorTestResults) == 32, "OutdoorTestResults is 32 bytes");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorTestResults, ResultCount) == 4,
                     "OutdoorTestResults.ResultCount");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorTestResults, TestDate1) == 8, "OutdoorTestResults.TestDate1");
QUIBRA_STATIC_ASSERT(offsetof(OutdoorTestResults, TestValue3) == 28,
                     "OutdoorTestResults.TestValue3");

/* ---- running and cycling units: bikes, shoes ----------------------------------------------- */

/* One bike of a newer cycling unit (or of the running unit of type 38). */
typedef struct PrvcBike {
  char Name[12];         /* up to 10 characters of device table 5; empty becomes "Bike" */
  int32_t WheelSize;     /* wheel circumference in millimetres, 1000..3999, else 2105 */
  int32_t SpeedSensor;   /* 0 or 1: a speed sensor is fitted; any other value is refused */
  int32_t CadenceSensor; /* 0 or 1, likewise */
  int32_t PowerSensor;   /* 0 or 1, likewise */
} PrvcBike;

QUIBRA_STATIC_ASSERT(sizeof(PrvcBike) == 28, "PrvcBike is 28 bytes");
QUIBRA_STATIC_ASSERT(offsetof(PrvcBike, WheelSize) == 12, "PrvcBike.WheelSize");
QUIBRA_STATIC_ASSERT(offsetof(PrvcBike, SpeedSensor) == 16, "PrvcBike.SpeedSensor");
QUIBRA_STATIC_ASSERT(offsetof(PrvcBike, CadenceSensor) == 20, "PrvcBike.CadenceSensor");
QUIBRA_STATIC_ASSERT(offsetof(PrvcBike, PowerSensor) == 24, "PrvcBike.PowerSensor");

/* The bikes a newer unit keeps in its bike area: types 33 and 38 keep two, 34 and 35 three; the
 * bikes past a unit's count are not sent and read back cleared. */
typedef struct PrvcBikeSettings {
  int32_t Size;      /* 92; 0 becomes 92 */
  int32_t BikeInUse; /* 1..the unit's bike count, else 1 */
  PrvcBike Bikes[3];
} PrvcBikeSettings;

QUIBRA_STATIC_ASSERT(sizeof(PrvcBikeSettings) == 92, "PrvcBikeSettings is 92 bytes");
QUIBRA_STATIC_ASSERT(offsetof(PrvcBikeSettings, BikeInUse) == 4, "PrvcBikeSettings.BikeInUse");
QUIBRA_STATIC_ASSERT(offsetof(PrvcBikeSettings, Bikes) == 8, "PrvcBikeSettings.Bikes");

/* One running shoe of a newer running unit. */
typedef struct PrvcShoe {
  char Name[12];        /* up to 10 characters of device table 5; empty becomes "Shoe" */
  int32_t Calibration;  /* stride-sensor calibration in thousandths, 500..1500, else 1000 */
  int32_t StrideSensor; /* 0 or 1: the shoe carries a stride sensor; any other value is refused */
} PrvcShoe;

QUIBRA_STATIC_ASSERT(sizeof(PrvcShoe) == 20, "PrvcShoe is 20 bytes");
QUIBRA_STATIC_ASSERT(offsetof(PrvcShoe, Calibration) == 12, "PrvcShoe.Calibration");
QUIBRA_STATIC_ASSERT(offsetof(PrvcShoe, StrideSensor) == 16, "PrvcShoe.StrideSensor");

/* The shoes a newer running unit keeps: types 36 and 37 keep two, 38 three; the shoes past a
 * unit's count are not sent and read back cleared. */
typedef struct PrvcShoeSettings {
  int32_t Size;      /* 68; 0 becomes 68 */
  int32_t ShoeInUse; /* 1..the unit's shoe count, else 1 */
  PrvcShoe Shoes[3];
} PrvcShoeSettings;

QUIBRA_STATIC_ASSERT(sizeof(PrvcShoeSettings) == 68, "PrvcShoeSettings is 68 bytes");
QUIBRA_STATIC_ASSERT(offsetof(PrvcShoeSettings, ShoeInUse) == 4, "PrvcShoeSettings.ShoeInUse");
QUIBRA_STATIC_ASSERT(offsetof(PrvcShoeSettings, Shoes) == 8, "PrvcShoeSettings.Shoes");

/* ---- running and cycling units: user settings, watch settings, reminders ------------------ */

/* User settings of the newer running and cycling units (types 33..38), kept in two areas of the
 * unit's memory. The check repairs every field but UnitType and BirthDate in place. */
typedef struct PrvcUserSettings {
  int32_t UnitType;     /* 33..38, else the send fails; the read sets it from CommParams */
  int32_t UserNumber;   /* 0..99, else 1 */
  char Text1[11];       /* up to 10 characters of device table 5; empty becomes "-" */
  char Text2[11];       /* likewise */
  int32_t BirthDate;    /* yyyymmdd, valid; a year before 1921 becomes 1921; to 20201231. The
                         * unit keeps the year in one byte counted from 1900 (2000 as 0): a
                         * year 2001..2020 reads back from the unit as 1901..1920 */
  int32_t Level;        /* 0..3, else 1 */
  int32_t MaxHR;        /* 100..240, else 220 minus the age */
  int32_t UserValue;    /* 15..99, else 50 */
  int32_t VO2max;       /* 10..95, else 36 when Sex is nonzero, else 45 */
  int32_t Sex;          /* 0 or 1; other values become 1 */
  int32_t WeightKg;     /* 20..199, else 70; used only when WeightLb is 0 */
  int32_t WeightLb;     /* when nonzero 44..499, else 140 */
  int32_t HeightCm;     /* when nonzero 90..211, else 170 */
  int32_t HeightFeet;   /* 2..7, else 5; used only when HeightCm is 0 */
  int32_t HeightInches; /* 0..11, else 8; used only when HeightCm is 0 */
} PrvcUserSettings;

QUIBRA_STATIC_ASSERT(sizeof(PrvcUserSettings) == 76, "PrvcUserSettings is 76 bytes");
QUIBRA_STATIC_ASSERT(offsetof(PrvcUserSettings, UnitType) == 0, "PrvcUserSettings.UnitType");
QUIBRA_STATIC_ASSERT(offsetof(PrvcUserSettings, UserNumber) == 4, "PrvcUserSettings.UserNumber");
QUIBRA_STATIC_ASSERT(offsetof(PrvcUserSettings, Text1) == 8, "PrvcUserSettings.Text1");
QUIBRA_STATIC_ASSERT(offsetof(PrvcUserSettings, Text2) == 19, "PrvcUserSettings.Text2");
QUIBRA_STATIC_ASSERT(offsetof(PrvcUserSettings, BirthDate) == 32, "PrvcUserSettings.BirthDate");
QUIBRA_STATIC_ASSERT(offsetof(PrvcUserSettings, Level) == 36, "PrvcUserSettings.Level");
QUIBRA_STATIC_ASSERT(offsetof(PrvcUserSettings, MaxHR) == 40, "PrvcUserSettings.MaxHR");
QUIBRA_STATIC_ASSERT(offsetof(PrvcUserSettings, UserValue) == 44, "PrvcUserSettings.UserValue");
QUIBRA_STATIC_ASSERT(offsetof(PrvcUserSettings, VO2max) == 48, "PrvcUserSettings.VO2max");
QUIBRA_STATIC_ASSERT(offsetof(PrvcUserSettings, Sex) == 52, "PrvcUserSettings.Sex");
QUIBRA_STATIC_ASSERT(offsetof(PrvcUserSettings, WeightKg) == 56, "PrvcUserSettings.WeightKg");
QUIBRA_STATIC_ASSERT(offsetof(PrvcUserSettings, WeightLb) == 60, "PrvcUserSettings.WeightLb");
QUIBRA_STATIC_ASSERT(offsetof(PrvcUserSettings, HeightCm) == 64, "PrvcUserSettings.HeightCm");
QUIBRA_STATIC_ASSERT(offsetof(PrvcUserSettings, HeightFeet) == 68, "PrvcUserSettings.HeightFeet");
QUIBRA_STATIC_ASSERT(offsetof(PrvcUserSettings, HeightInches) == 72,
                     "PrvcUserSettings.HeightInches");

/* Watch settings of the running and cycling units: the clock is set from the PC's, the alarm
 * and an event date with a name from the record. The older units (28..32) take message 9077 or
 * 9084, the newer ones (33..38) messages 9091 and 9092 and are read from their memory. */
typedef struct PrvcWatchSettings {
  int32_t UnitType;    /* older units: the type, which chooses the message; the read sets 0 */
  int32_t WatchOption; /* newer units: bit 0 is sent; the read gives the unit's whole byte */
  int32_t OptionBit0;  /* filled by the read only */
  int32_t Unused;      /* not read or written */
  int32_t AlarmMode;   /* one byte, sent unchanged; newer units: 0 when AlarmOn is 0 */
  int32_t AlarmTime;   /* seconds since midnight, 0..86399, sent in whole minutes */
  int32_t AlarmOn;     /* 0 or 1 */
  int32_t OffsetValue; /* signed, one byte; read back as -48..207 */
  int32_t ModeValue;   /* newer units: the high nibble of the flag byte */
  int32_t EventOn;     /* 0 or 1: an event date with a name is set */
  int32_t EventDate;   /* yyyymmdd, 20000101..20991231; newer units: after today */
  char EventName[12];  /* older units keep 8 characters of table 3, newer ones 10 of table 5 */
} PrvcWatchSettings;

QUIBRA_STATIC_ASSERT(sizeof(PrvcWatchSettings) == 56, "PrvcWatchSettings is 56 bytes");
QUIBRA_STATIC_ASSERT(offsetof(PrvcWatchSettings, UnitType) == 0, "PrvcWatchSettings.UnitType");
QUIBRA_STATIC_ASSERT(offsetof(PrvcWatchSettings, WatchOption) == 4,
                     "PrvcWatchSettings.WatchOption");
QUIBRA_STATIC_ASSERT(offsetof(PrvcWatchSettings, OptionBit0) == 8, "PrvcWatchSettings.OptionBit0");
QUIBRA_STATIC_ASSERT(offsetof(PrvcWatchSettings, Unused) == 12, "PrvcWatchSettings.Unused");
QUIBRA_STATIC_ASSERT(offsetof(PrvcWatchSettings, AlarmMode) == 16, "PrvcWatchSettings.AlarmMode");
QUIBRA_STATIC_ASSERT(offsetof(PrvcWatchSettings, AlarmTime) == 20, "PrvcWatchSettings.AlarmTime");
QUIBRA_STATIC_ASSERT(offsetof(PrvcWatchSettings, AlarmOn) == 24, "PrvcWatchSettings.AlarmOn");
QUIBRA_STATIC_ASSERT(offsetof(PrvcWatchSettings, OffsetValue) == 28,
                     "PrvcWatchSettings.OffsetValue");
QUIBRA_STATIC_ASSERT(offsetof(PrvcWatchSettings, ModeValue) == 32, "PrvcWatchSettings.ModeValue");
QUIBRA_STATIC_ASSERT(offsetof(PrvcWatchSettings, EventOn) == 36, "PrvcWatchSettings.EventOn");
QUIBRA_STATIC_ASSERT(offsetof(PrvcWatchSettings, EventDate) == 40, "PrvcWatchSettings.EventDate");
QUIBRA_STATIC_ASSERT(offsetof(PrvcWatchSettings, EventName) == 44, "PrvcWatchSettings.EventName");

/* One reminder of the units that take a reminder per message (9013 write, 9014 read; the
 * message parameter is the slot). The check before sending repairs all but the text. */
typedef struct Reminder {
  int32_t Size;       /* 36; 0 becomes 36 */
  int32_t Slot;       /* 0..6, else 0 */
  int32_t Flag;       /* 0 or 1, else 0 */
  int32_t Date;       /* yyyymmdd, 20000101..20891231, else today */
  int32_t Time;       /* seconds of the day, 0..86399, else 43200 */
  int32_t UpperValue; /* 0..5, else 0 */
  int32_t LowerValue; /* 0..8, else 0 */
  char Text[8];       /* 7 characters of device table 0, zero-terminated when shorter */
} Reminder;

QUIBRA_STATIC_ASSERT(sizeof(Reminder) == 36, "Reminder is 36 bytes");
QUIBRA_STATIC_ASSERT(offsetof(Reminder, Size) == 0, "Reminder.Size");
QUIBRA_STATIC_ASSERT(offsetof(Reminder, Slot) == 4, "Reminder.Slot");
QUIBRA_STATIC_ASSERT(offsetof(Reminder, Flag) == 8, "Reminder.Flag");
QUIBRA_STATIC_ASSERT(offsetof(Reminder, Date) == 12, "Reminder.Date");
QUIBRA_STATIC_ASSERT(offsetof(Reminder, Time) == 16, "Reminder.Time");
QUIBRA_STATIC_ASSERT(offsetof(Reminder, UpperValue) == 20, "Reminder.UpperValue");
QUIBRA_STATIC_ASSERT(offsetof(Reminder, LowerValue) == 24, "Reminder.LowerValue");
QUIBRA_STATIC_ASSERT(offsetof(Reminder, Text) == 28, "Reminder.Text");

/* One entry of the reminder list of the newer running and cycling units. */
typedef struct PrvcReminder {
  int32_t Size;        /* 52; 0 becomes 52 */
  int32_t Slot;        /* 0..6, else 0 */
  int32_t Enabled;     /* 0 or 1, else 0 */
  int32_t Flag;        /* 0 or 1, else 0 */
  int32_t Advance;     /* 1 none, 2 ten minutes, 4 thirty minutes, 8 one hour, 16 one day;
                          any other value: that many seconds */
  int32_t Code;        /* -1, 16, 0..9, or 10 and above */
  int32_t Date;        /* yyyymmdd, 20000101..20891231, else today */
  int32_t Time;        /* seconds of the day, 0..86399, else 43200 */
  int32_t EnableValue; /* 0..6, else 0 */
  int32_t HighBits;    /* bits 5..7 of the entry's last byte, kept in place */
  char Text[10];       /* 10 characters of device table 5 */
  char Unused[2];
} PrvcReminder;

QUIBRA_STATIC_ASSERT(sizeof(PrvcReminder) == 52, "PrvcReminder is 52 bytes");
QUIBRA_STATIC_ASSERT(offsetof(PrvcReminder, Size) == 0, "PrvcReminder.Size");
QUIBRA_STATIC_ASSERT(offsetof(PrvcReminder, Slot) == 4, "PrvcReminder.Slot");
QUIBRA_STATIC_ASSERT(offsetof(PrvcReminder, Enabled) == 8, "PrvcReminder.Enabled");
QUIBRA_STATIC_ASSERT(offsetof(PrvcReminder, Flag) == 12, "PrvcReminder.Flag");
QUIBRA_STATIC_ASSERT(offsetof(PrvcReminder, Advance) == 16, "PrvcReminder.Advance");
QUIBRA_STATIC_ASSERT(offsetof(PrvcReminder, Code) == 20, "PrvcReminder.Code");
QUIBRA_STATIC_ASSERT(offsetof(PrvcReminder, Date) == 24, "PrvcReminder.Date");
QUIBRA_STATIC_ASSERT(offsetof(PrvcReminder, Time) == 28, "PrvcReminder.Time");
QUIBRA_STATIC_ASSERT(offsetof(PrvcReminder, EnableValue) == 32, "PrvcReminder.EnableValue");
QUIBRA_STATIC_ASSERT(offsetof(PrvcReminder, HighBits) == 36, "PrvcReminder.HighBits");
QUIBRA_STATIC_ASSERT(offsetof(PrvcReminder, Text) == 40, "PrvcReminder.Text");

/* The reminder list of the newer running and cycling units: seven entries kept in the unit's
 * reminders area. */
typedef struct PrvcReminderList {
  int32_t Reserved; /* not read or written */
  int32_t UnitType; /* 33..38: the write command is this type's */
  PrvcReminder Reminders[7];
} PrvcReminderList;

QUIBRA_STATIC_ASSERT(sizeof(PrvcReminderList) == 372, "PrvcReminderList is 372 bytes");
QUIBRA_STATIC_ASSERT(offsetof(PrvcReminderList, UnitType) == 4, "PrvcReminderList.UnitType");
QUIBRA_STATIC_ASSERT(offsetof(PrvcReminderList, Reminders) == 8, "PrvcReminderList.Reminders");

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

/* ---- running and cycling units: monitor and exercise settings, targets, sport zones -------- */

/* General settings of the newer running and cycling units (types 33..38), kept in the settings,
 * sensor and display areas that the unit's identification announces. UnitType must be the type
 * of the unit identified last. Switches must be 0 or 1; any other value refuses the record.
 * Other fields out of range take their default. */
typedef struct PrvcMonitorSettings {
  int32_t Size;              /* 68 */
  int32_t UnitType;          /* 33..38; the read sets it from CommParams */
  int32_t Imperial;          /* switch: miles, feet and pounds instead of metric units */
  int32_t ButtonSound;       /* switch */
  int32_t KeyLock;           /* switch */
  int32_t AutoScroll;        /* switch */
  int32_t HeartRateView;     /* 0 beats per minute, 1 percent of maximum, 2 percent of reserve;
                                else 0 */
  int32_t SpeedView;         /* 0 speed, 1 pace; else 0 */
  int32_t Language;          /* 0..5, else 0 */
  int32_t AutoLapOn;         /* switch */
  int32_t AutoLapDistance;   /* metres, 100..50000, kept in tens of metres; else 1000 */
  int32_t RecordingInterval; /* seconds: 1, 5, 15 or 60; else 5 */
  int32_t Contrast;          /* 1..7, else 4 */
  int32_t SpeedSensorOn;     /* switch */
  int32_t CadenceSensorOn;   /* switch */
  int32_t StrideSensorOn;    /* switch */
  int32_t PowerSensorOn;     /* switch */
} PrvcMonitorSettings;

QUIBRA_STATIC_ASSERT(sizeof(PrvcMonitorSettings) == 68, "PrvcMonitorSettings is 68 bytes");
QUIBRA_STATIC_ASSERT(offsetof(PrvcMonitorSettings, UnitType) == 4, "PrvcMonitorSettings.UnitType");
QUIBRA_STATIC_ASSERT(offsetof(PrvcMonitorSettings, HeartRateView) == 24,
                     "PrvcMonitorSettings.HeartRateView");
QUIBRA_STATIC_ASSERT(offsetof(PrvcMonitorSettings, AutoLapDistance) == 40,
                     "PrvcMonitorSettings.AutoLapDistance");
QUIBRA_STATIC_ASSERT(offsetof(PrvcMonitorSettings, Contrast) == 48, "PrvcMonitorSettings.Contrast");
QUIBRA_STATIC_ASSERT(offsetof(PrvcMonitorSettings, PowerSensorOn) == 64,
                     "PrvcMonitorSettings.PowerSensorOn");

/* The exercise settings of the newer running and cycling units (types 33..38): a name, two
 * timers, three heart-rate zones and the recovery rate, kept in exercise areas 1, 2 and 3. */
typedef struct PrvcExerciseSettings {
  int32_t Size;       /* 72 */
  int32_t UnitType;   /* 33..38, the type of the unit identified last; the read sets it */
  char Name[12];      /* up to 10 characters of device table 5; empty becomes "-" */
  int32_t Timer1On;   /* switch */
  int32_t Timer1;     /* seconds, 5..5999, else 120 */
  int32_t Timer2On;   /* switch */
  int32_t Timer2;     /* seconds, 5..5999, else 120 */
  int32_t ZoneMode;   /* 0 no zones, 1 beats per minute, 2 percent of maximum; else 0 */
  int32_t Lower1;     /* zone limits: 30..240 beats per minute or 30..100 percent; a limit */
  int32_t Upper1;     /* out of range takes the zone's default, a lower limit not below its */
  int32_t Lower2;     /* upper one refuses the record */
  int32_t Upper2;
  int32_t Lower3;
  int32_t Upper3;
  int32_t RecoveryOn; /* switch */
  int32_t RecoveryHR; /* beats per minute, 60..200, else 100 */
} PrvcExerciseSettings;

QUIBRA_STATIC_ASSERT(sizeof(PrvcExerciseSettings) == 72, "PrvcExerciseSettings is 72 bytes");
QUIBRA_STATIC_ASSERT(offsetof(PrvcExerciseSettings, Name) == 8, "PrvcExerciseSettings.Name");
QUIBRA_STATIC_ASSERT(offsetof(PrvcExerciseSettings, Timer1On) == 20,
                     "PrvcExerciseSettings.Timer1On");
QUIBRA_STATIC_ASSERT(offsetof(PrvcExerciseSettings, ZoneMode) == 36,
                     "PrvcExerciseSettings.ZoneMode");
QUIBRA_STATIC_ASSERT(offsetof(PrvcExerciseSettings, Lower1) == 40, "PrvcExerciseSettings.Lower1");
QUIBRA_STATIC_ASSERT(offsetof(PrvcExerciseSettings, RecoveryHR) == 68,
                     "PrvcExerciseSettings.RecoveryHR");

/* Daily training targets of the newer running and cycling units (types 33..38), Monday first,
 * kept in the daily targets area. A value out of range becomes 0: no target that day. */
typedef struct PrvcDailyTargets {
  int32_t Size;        /* 92 */
  int32_t UnitType;    /* 33..38, the type of the unit identified last */
  int32_t Minutes[7];  /* exercise minutes, 0..999 */
  int32_t Zone[7];     /* heart-rate zone to train in, 0..5 (0: any) */
  int32_t Distance[7]; /* hundreds of metres, 0..9999 */
} PrvcDailyTargets;

QUIBRA_STATIC_ASSERT(sizeof(PrvcDailyTargets) == 92, "PrvcDailyTargets is 92 bytes");
QUIBRA_STATIC_ASSERT(offsetof(PrvcDailyTargets, Minutes) == 8, "PrvcDailyTargets.Minutes");
QUIBRA_STATIC_ASSERT(offsetof(PrvcDailyTargets, Zone) == 36, "PrvcDailyTargets.Zone");
QUIBRA_STATIC_ASSERT(offsetof(PrvcDailyTargets, Distance) == 64, "PrvcDailyTargets.Distance");

/* Weekly training targets of the newer running and cycling units (types 33..38), kept in the
 * weekly targets area; whether the unit follows them is a bit of exercise area 3. A value out of
 * range becomes 0: no target. */
typedef struct PrvcWeeklyTargets {
  int32_t Size;           /* 44 */
  int32_t UnitType;       /* 33..38, the type of the unit identified last */
  int32_t TargetsOn;      /* switch: 0 or 1, any other value refuses the record */
  int32_t TotalMinutes;   /* 0..9999 */
  int32_t Sessions;       /* 0..99 */
  int32_t Distance;       /* hundreds of metres, 0..9999 */
  int32_t ZoneMinutes[5]; /* minutes in heart-rate zones 1..5, 0..9999 each */
} PrvcWeeklyTargets;

QUIBRA_STATIC_ASSERT(sizeof(PrvcWeeklyTargets) == 44, "PrvcWeeklyTargets is 44 bytes");
QUIBRA_STATIC_ASSERT(offsetof(PrvcWeeklyTargets, TargetsOn) == 8, "PrvcWeeklyTargets.TargetsOn");
QUIBRA_STATIC_ASSERT(offsetof(PrvcWeeklyTargets, Distance) == 20, "PrvcWeeklyTargets.Distance");
QUIBRA_STATIC_ASSERT(offsetof(PrvcWeeklyTargets, ZoneMinutes) == 24,
                     "PrvcWeeklyTargets.ZoneMinutes");

/* The five sport zones of a type 30 unit, in percent of the maximum heart rate: each zone's
 * lower limit below its upper one, each zone starting at or above the end of the one before,
 * every limit 30..100; anything else refuses the record. */
typedef struct PR3SportZones {
  int32_t Size;     /* 48 */
  int32_t UnitType; /* 30 */
  int32_t Lower[5];
  int32_t Upper[5];
} PR3SportZones;

QUIBRA_STATIC_ASSERT(sizeof(PR3SportZones) == 48, "PR3SportZones is 48 bytes");
QUIBRA_STATIC_ASSERT(offsetof(PR3SportZones, Lower) == 8, "PR3SportZones.Lower");
QUIBRA_STATIC_ASSERT(offsetof(PR3SportZones, Upper) == 28, "PR3SportZones.Upper");

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

/* ---- fitness units ----------------------------------------------------------------------- */

/* User data of the fitness units (messages 9060, or 9078 for unit types 30 and 32). */
typedef struct FitnessUserSettings {
  int32_t Size;         /* 0 becomes 52 */
  int32_t UnitType;     /* 30 or 32: message 9078; any other value 9060 */
  int32_t BirthDate;    /* yyyymmdd, 19210101..20201231 (an earlier year becomes 1921) */
  int32_t Level;        /* 0..3, else 1 */
  int32_t MaxHR;        /* 100..240, else computed from the age */
  int32_t SecondaryHR;  /* 30..90, default 60 */
  int32_t VO2max;       /* 10..95, else 36 (Sex set) or 45 */
  int32_t Sex;          /* 0 or 1, else Prepare fails */
  int32_t WeightKg;     /* 20..199, default 70; 0 = not given */
  int32_t WeightLb;     /* 44..439, default 140; 0 = not given */
  int32_t HeightCm;     /* 90..210, default 170; 0 = not given */
  int32_t HeightFeet;   /* 2..7, default 5 */
  int32_t HeightInches; /* 0..11, default 8 */
} FitnessUserSettings;

QUIBRA_STATIC_ASSERT(sizeof(FitnessUserSettings) == 52, "FitnessUserSettings is 52 bytes");
QUIBRA_STATIC_ASSERT(offsetof(FitnessUserSettings, UnitType) == 4, "FitnessUserSettings.UnitType");
QUIBRA_STATIC_ASSERT(offsetof(FitnessUserSettings, BirthDate) == 8,
                     "FitnessUserSettings.BirthDate");
QUIBRA_STATIC_ASSERT(offsetof(FitnessUserSettings, Level) == 12, "FitnessUserSettings.Level");
QUIBRA_STATIC_ASSERT(offsetof(FitnessUserSettings, MaxHR) == 16, "FitnessUserSettings.MaxHR");
QUIBRA_STATIC_ASSERT(offsetof(FitnessUserSettings, SecondaryHR) == 20,
                     "FitnessUserSettings.SecondaryHR");
QUIBRA_STATIC_ASSERT(offsetof(FitnessUserSettings, VO2max) == 24, "FitnessUserSettings.VO2max");
QUIBRA_STATIC_ASSERT(offsetof(FitnessUserSettings, Sex) == 28, "FitnessUserSettings.Sex");
QUIBRA_STATIC_ASSERT(offsetof(FitnessUserSettings, WeightKg) == 32, "FitnessUserSettings.WeightKg");
QUIBRA_STATIC_ASSERT(offsetof(FitnessUserSettings, WeightLb) == 36, "FitnessUserSettings.WeightLb");
QUIBRA_STATIC_ASSERT(offsetof(FitnessUserSettings, HeightCm) == 40, "FitnessUserSettings.HeightCm");
QUIBRA_STATIC_ASSERT(offsetof(FitnessUserSettings, HeightFeet) == 44,
                     "FitnessUserSettings.HeightFeet");
QUIBRA_STATIC_ASSERT(offsetof(FitnessUserSettings, HeightInches) == 48,
                     "FitnessUserSettings.HeightInches");

/* Exercise heart-rate limits of the fitness units (message 9064). */
typedef struct FitnessExerciseSettings {
  int32_t Size;            /* 0 becomes 32 */
  int32_t UnitType;        /* 24, 25, 26 or 40, else Prepare fails */
  int32_t LimitsInPercent; /* nonzero: the limits are percentages, 0..100 each */
  int32_t UpperLimit;      /* beats per minute 30..240, default 160 */
  int32_t LowerLimit;      /* beats per minute 30..240, default 80; not above the upper */
  int32_t FitnessValueA;
  int32_t FitnessValueB;
  int32_t FitnessValueC;
} FitnessExerciseSettings;

QUIBRA_STATIC_ASSERT(sizeof(FitnessExerciseSettings) == 32, "FitnessExerciseSettings is 32 bytes");
QUIBRA_STATIC_ASSERT(offsetof(FitnessExerciseSettings, UnitType) == 4,
                     "FitnessExerciseSettings.UnitType");
QUIBRA_STATIC_ASSERT(offsetof(FitnessExerciseSettings, LimitsInPercent) == 8,
                     "FitnessExerciseSettings.LimitsInPercent");
QUIBRA_STATIC_ASSERT(offsetof(FitnessExerciseSettings, UpperLimit) == 12,
                     "FitnessExerciseSettings.UpperLimit");
QUIBRA_STATIC_ASSERT(offsetof(FitnessExerciseSettings, LowerLimit) == 16,
                     "FitnessExerciseSettings.LowerLimit");
QUIBRA_STATIC_ASSERT(offsetof(FitnessExerciseSettings, FitnessValueA) == 20,
                     "FitnessExerciseSettings.FitnessValueA");
QUIBRA_STATIC_ASSERT(offsetof(FitnessExerciseSettings, FitnessValueB) == 24,
                     "FitnessExerciseSettings.FitnessValueB");
QUIBRA_STATIC_ASSERT(offsetof(FitnessExerciseSettings, FitnessValueC) == 28,
                     "FitnessExerciseSettings.FitnessValueC");

/* The monitor options byte of the fitness units (message 9059). No field is checked. */
typedef struct FitnessMonitorSettings {
  int32_t Size;           /* 0 becomes 24 */
  int32_t UnitType;       /* not used by the library */
  int32_t FitnessOption0; /* bit 0 */
  int32_t FitnessOption1; /* bit 1 */
  int32_t FitnessOption3; /* bit 3 */
  int32_t FitnessOption4; /* bit 4 */
} FitnessMonitorSettings;

QUIBRA_STATIC_ASSERT(sizeof(FitnessMonitorSettings) == 24, "FitnessMonitorSettings is 24 bytes");
QUIBRA_STATIC_ASSERT(offsetof(FitnessMonitorSettings, FitnessOption0) == 8,
                     "FitnessMonitorSettings.FitnessOption0");
QUIBRA_STATIC_ASSERT(offsetof(FitnessMonitorSettings, FitnessOption1) == 12,
                     "FitnessMonitorSettings.FitnessOption1");
QUIBRA_STATIC_ASSERT(offsetof(FitnessMonitorSettings, FitnessOption3) == 16,
                     "FitnessMonitorSettings.FitnessOption3");
QUIBRA_STATIC_ASSERT(offsetof(FitnessMonitorSettings, FitnessOption4) == 20,
                     "FitnessMonitorSettings.FitnessOption4");

/* The summary of a training programme read from a fitness unit: twelve values in the order of
 * the programme image. */
typedef struct FitnessProgramSummary {
  int32_t Value1;   /* 16-bit */
  int32_t Value2;   /* 16-bit */
  int32_t FactorA;  /* 16-bit */
  int32_t FactorB;  /* 16-bit */
  int32_t FactorC;  /* 16-bit */
  int32_t Byte158;  /* one byte */
  int32_t Value159; /* 16-bit */
  int32_t Value161; /* 16-bit */
  int32_t ScaledA;  /* rate A x FactorA / 512, truncated */
  int32_t ScaledB;  /* rate B x FactorB / 512, truncated */
  int32_t ScaledC;  /* rate C x FactorC / 512, truncated */
  int32_t RunState; /* 1, or -1 when the programme is off; -1677216 when the image has none */
} FitnessProgramSummary;

QUIBRA_STATIC_ASSERT(sizeof(FitnessProgramSummary) == 48, "FitnessProgramSummary is 48 bytes");
QUIBRA_STATIC_ASSERT(offsetof(FitnessProgramSummary, Byte158) == 20,
                     "FitnessProgramSummary.Byte158");
QUIBRA_STATIC_ASSERT(offsetof(FitnessProgramSummary, ScaledA) == 32,
                     "FitnessProgramSummary.ScaledA");
QUIBRA_STATIC_ASSERT(offsetof(FitnessProgramSummary, RunState) == 44,
                     "FitnessProgramSummary.RunState");

/* One of the seven entries of a programme read from a fitness unit. The caller need not set
 * anything: the library clears the record and sets Size. Any Size is taken. */
typedef struct FitnessProgramFile {
  uint32_t Size;  /* 40 */
  int32_t Value1; /* five 16-bit values */
  int32_t Value2;
  int32_t Value3;
  int32_t Value4;
  int32_t Value5;
  char Name[12]; /* at most 8 characters, terminated */
  int32_t Last;  /* one byte */
} FitnessProgramFile;

QUIBRA_STATIC_ASSERT(sizeof(FitnessProgramFile) == 40, "FitnessProgramFile is 40 bytes");
QUIBRA_STATIC_ASSERT(offsetof(FitnessProgramFile, Value1) == 4, "FitnessProgramFile.Value1");
QUIBRA_STATIC_ASSERT(offsetof(FitnessProgramFile, Name) == 24, "FitnessProgramFile.Name");
QUIBRA_STATIC_ASSERT(offsetof(FitnessProgramFile, Last) == 36, "FitnessProgramFile.Last");

/* An entry of a cardio programme as the caller gives it (CardioProgram below). */
typedef struct CardioProgramEntry {
  int32_t Value1; /* five values 0..65535 */
  int32_t Value2;
  int32_t Value3;
  int32_t Value4;
  int32_t Value5;
  char Name[12]; /* at most 8 characters of character table 0, terminated */
  int32_t Last;  /* 0..255 */
} CardioProgramEntry;

QUIBRA_STATIC_ASSERT(sizeof(CardioProgramEntry) == 36, "CardioProgramEntry is 36 bytes");
QUIBRA_STATIC_ASSERT(offsetof(CardioProgramEntry, Name) == 20, "CardioProgramEntry.Name");
QUIBRA_STATIC_ASSERT(offsetof(CardioProgramEntry, Last) == 32, "CardioProgramEntry.Last");

/* A cardio programme for the fitness units of types 26 and 27 (message 9065). Its values are
 * what a programme read back gives: FitnessProgramSummary (Value1 .. Value161, and ScaledA ..
 * ScaledC from RateA .. RateC) and FitnessProgramFile for each entry. Prepare fails for a unit
 * type other than 26 and 27, a value outside its range or a name character that table 0 lacks;
 * nothing is packed then. */
typedef struct CardioProgram {
  int32_t UnitType; /* 26 or 27; in place of a size field */
  int32_t Value1;   /* 0..65535 each */
  int32_t Value2;
  int32_t FactorA;
  int32_t FactorB;
  int32_t FactorC;
  CardioProgramEntry Entries[7];
  int32_t Byte158;  /* 0..255 */
  int32_t Value159; /* 0..65535 each */
  int32_t Value161;
  int32_t RateA;
  int32_t RateB;
  int32_t RateC;
} CardioProgram;

QUIBRA_STATIC_ASSERT(sizeof(CardioProgram) == 300, "CardioProgram is 300 bytes");
QUIBRA_STATIC_ASSERT(offsetof(CardioProgram, Entries) == 24, "CardioProgram.Entries");
QUIBRA_STATIC_ASSERT(offsetof(CardioProgram, Byte158) == 276, "CardioProgram.Byte158");
QUIBRA_STATIC_ASSERT(offsetof(CardioProgram, RateC) == 296, "CardioProgram.RateC");

#ifdef __cplusplus
}
#endif

#endif /* QUIBRA_RECORDS_H */
