// The FIT messages and fields the tool writes, with their numbers, base types and scales, and
// the enumerated values it uses. A decoder shows a field as raw / scale - offset, so the writer
// stores (value + offset) * scale.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "fit_encoder.h"

namespace quibra::cli::formats::fit {

// Global message numbers.
enum class Message : uint16_t {
  kFileId = 0,     // what the file is and who made it; the first message of every file
  kSession = 18,   // the summary of one sport's part of the activity
  kLap = 19,       // the summary of one lap
  kRecord = 20,    // one sample of the recorded channels
  kEvent = 21,     // the timer starting and stopping
  kActivity = 34,  // the activity as a whole; the last message
  kHrv = 78,       // beat-to-beat intervals, in the order the beats came
};

enum class Field {
  kFileIdType,
  kFileIdManufacturer,
  kFileIdTimeCreated,
  kEventTimestamp,
  kEventEvent,
  kEventType,
  kRecordTimestamp,
  kRecordHeartRate,
  kRecordSpeed,
  kRecordDistance,
  kRecordAltitude,
  kRecordCadence,
  kRecordPower,
  kHrvTime,
  kLapMessageIndex,
  kLapTimestamp,
  kLapEvent,
  kLapEventType,
  kLapStartTime,
  kLapTotalElapsedTime,
  kLapTotalTimerTime,
  kLapTotalDistance,
  kLapAverageHeartRate,
  kLapMaximumHeartRate,
  kLapTotalAscent,
  kLapIntensity,
  kLapTrigger,
  kLapSport,
  kSessionMessageIndex,
  kSessionTimestamp,
  kSessionEvent,
  kSessionEventType,
  kSessionStartTime,
  kSessionSport,
  kSessionSubSport,
  kSessionTotalElapsedTime,
  kSessionTotalTimerTime,
  kSessionTotalDistance,
  kSessionAverageHeartRate,
  kSessionMaximumHeartRate,
  kSessionTotalAscent,
  kSessionFirstLapIndex,
  kSessionNumberOfLaps,
  kSessionTrigger,
  kActivityTimestamp,
  kActivityTotalTimerTime,
  kActivityNumberOfSessions,
  kActivityType,
  kActivityEvent,
  kActivityEventType,
  kActivityLocalTimestamp,
};

struct FieldSpec {
  Field field;
  Message message;
  uint8_t number;  // within the message
  BaseType type;
  uint8_t count;  // values in the field (an array holds more than one)
  double scale;
  double offset;
};

// Times ("date_time") are seconds since the FIT epoch; durations are seconds x 1000.
inline constexpr std::array kFields{
    FieldSpec{Field::kFileIdType, Message::kFileId, 0, BaseType::kEnum, 1, 1, 0},  // file type
    FieldSpec{Field::kFileIdManufacturer, Message::kFileId, 1, BaseType::kUint16, 1, 1, 0},
    FieldSpec{Field::kFileIdTimeCreated, Message::kFileId, 4, BaseType::kUint32, 1, 1, 0},

    FieldSpec{Field::kEventTimestamp, Message::kEvent, 253, BaseType::kUint32, 1, 1, 0},
    FieldSpec{Field::kEventEvent, Message::kEvent, 0, BaseType::kEnum, 1, 1, 0},  // what happened
    FieldSpec{Field::kEventType, Message::kEvent, 1, BaseType::kEnum, 1, 1, 0},   // start, stop...

    FieldSpec{Field::kRecordTimestamp, Message::kRecord, 253, BaseType::kUint32, 1, 1, 0},
    FieldSpec{Field::kRecordHeartRate, Message::kRecord, 3, BaseType::kUint8, 1, 1, 0},    // bpm
    FieldSpec{Field::kRecordSpeed, Message::kRecord, 6, BaseType::kUint16, 1, 1000, 0},    // m/s
    FieldSpec{Field::kRecordDistance, Message::kRecord, 5, BaseType::kUint32, 1, 100, 0},  // m
    FieldSpec{Field::kRecordAltitude, Message::kRecord, 2, BaseType::kUint16, 1, 5, 500},  // m
    FieldSpec{Field::kRecordCadence, Message::kRecord, 4, BaseType::kUint8, 1, 1, 0},      // rpm
    FieldSpec{Field::kRecordPower, Message::kRecord, 7, BaseType::kUint16, 1, 1, 0},       // W

    // Seconds, five beats a message.
    FieldSpec{Field::kHrvTime, Message::kHrv, 0, BaseType::kUint16, 5, 1000, 0},

    // A lap's timestamp is its end; its trigger says what ended it.
    FieldSpec{Field::kLapMessageIndex, Message::kLap, 254, BaseType::kUint16, 1, 1, 0},
    FieldSpec{Field::kLapTimestamp, Message::kLap, 253, BaseType::kUint32, 1, 1, 0},  // its end
    FieldSpec{Field::kLapEvent, Message::kLap, 0, BaseType::kEnum, 1, 1, 0},
    FieldSpec{Field::kLapEventType, Message::kLap, 1, BaseType::kEnum, 1, 1, 0},
    FieldSpec{Field::kLapStartTime, Message::kLap, 2, BaseType::kUint32, 1, 1, 0},
    FieldSpec{Field::kLapTotalElapsedTime, Message::kLap, 7, BaseType::kUint32, 1, 1000, 0},
    FieldSpec{Field::kLapTotalTimerTime, Message::kLap, 8, BaseType::kUint32, 1, 1000, 0},
    FieldSpec{Field::kLapTotalDistance, Message::kLap, 9, BaseType::kUint32, 1, 100, 0},   // m
    FieldSpec{Field::kLapAverageHeartRate, Message::kLap, 15, BaseType::kUint8, 1, 1, 0},  // bpm
    FieldSpec{Field::kLapMaximumHeartRate, Message::kLap, 16, BaseType::kUint8, 1, 1, 0},  // bpm
    FieldSpec{Field::kLapTotalAscent, Message::kLap, 21, BaseType::kUint16, 1, 1, 0},      // m
    FieldSpec{Field::kLapIntensity, Message::kLap, 23, BaseType::kEnum, 1, 1, 0},
    FieldSpec{Field::kLapTrigger, Message::kLap, 24, BaseType::kEnum, 1, 1, 0},
    FieldSpec{Field::kLapSport, Message::kLap, 25, BaseType::kEnum, 1, 1, 0},

    // The session's timestamp is its end; distances in m, heart rates in bpm, ascent in m.
    FieldSpec{Field::kSessionMessageIndex, Message::kSession, 254, BaseType::kUint16, 1, 1, 0},
    FieldSpec{Field::kSessionTimestamp, Message::kSession, 253, BaseType::kUint32, 1, 1, 0},
    FieldSpec{Field::kSessionEvent, Message::kSession, 0, BaseType::kEnum, 1, 1, 0},
    FieldSpec{Field::kSessionEventType, Message::kSession, 1, BaseType::kEnum, 1, 1, 0},
    FieldSpec{Field::kSessionStartTime, Message::kSession, 2, BaseType::kUint32, 1, 1, 0},
    FieldSpec{Field::kSessionSport, Message::kSession, 5, BaseType::kEnum, 1, 1, 0},
    FieldSpec{Field::kSessionSubSport, Message::kSession, 6, BaseType::kEnum, 1, 1, 0},
    FieldSpec{Field::kSessionTotalElapsedTime, Message::kSession, 7, BaseType::kUint32, 1, 1000, 0},
    FieldSpec{Field::kSessionTotalTimerTime, Message::kSession, 8, BaseType::kUint32, 1, 1000, 0},
    FieldSpec{Field::kSessionTotalDistance, Message::kSession, 9, BaseType::kUint32, 1, 100, 0},
    FieldSpec{Field::kSessionAverageHeartRate, Message::kSession, 16, BaseType::kUint8, 1, 1, 0},
    FieldSpec{Field::kSessionMaximumHeartRate, Message::kSession, 17, BaseType::kUint8, 1, 1, 0},
    FieldSpec{Field::kSessionTotalAscent, Message::kSession, 22, BaseType::kUint16, 1, 1, 0},
    FieldSpec{Field::kSessionFirstLapIndex, Message::kSession, 25, BaseType::kUint16, 1, 1, 0},
    FieldSpec{Field::kSessionNumberOfLaps, Message::kSession, 26, BaseType::kUint16, 1, 1, 0},
    FieldSpec{Field::kSessionTrigger, Message::kSession, 28, BaseType::kEnum, 1, 1, 0},

    FieldSpec{Field::kActivityTimestamp, Message::kActivity, 253, BaseType::kUint32, 1, 1, 0},
    FieldSpec{Field::kActivityTotalTimerTime, Message::kActivity, 0, BaseType::kUint32, 1, 1000, 0},
    FieldSpec{Field::kActivityNumberOfSessions, Message::kActivity, 1, BaseType::kUint16, 1, 1, 0},
    FieldSpec{Field::kActivityType, Message::kActivity, 2, BaseType::kEnum, 1, 1, 0},
    FieldSpec{Field::kActivityEvent, Message::kActivity, 3, BaseType::kEnum, 1, 1, 0},
    FieldSpec{Field::kActivityEventType, Message::kActivity, 4, BaseType::kEnum, 1, 1, 0},
    // The same clock time: the units keep local time, and the files say it as UTC.
    FieldSpec{Field::kActivityLocalTimestamp, Message::kActivity, 5, BaseType::kUint32, 1, 1, 0},
};

constexpr bool FieldsInOrder() {
  for (size_t i = 0; i < kFields.size(); ++i)
    if (static_cast<size_t>(kFields[i].field) != i) return false;
  return true;
}
static_assert(FieldsInOrder(), "kFields is indexed by Field");

constexpr const FieldSpec& SpecOf(Field field) {
  return kFields[static_cast<size_t>(field)];
}

// Enumerated values.
inline constexpr int kFileTypeActivity = 4;
inline constexpr int kManufacturerDevelopment = 255;  // for software of no registered maker
inline constexpr int kEventTimer = 0;
inline constexpr int kEventSession = 8;
inline constexpr int kEventLap = 9;
inline constexpr int kEventActivity = 26;
inline constexpr int kEventTypeStart = 0;
inline constexpr int kEventTypeStop = 1;
inline constexpr int kEventTypeStopAll = 4;
inline constexpr int kSportGeneric = 0;
inline constexpr int kSportRunning = 1;
inline constexpr int kSportCycling = 2;
inline constexpr int kSubSportGeneric = 0;
inline constexpr int kIntensityActive = 0;
inline constexpr int kLapTriggerManual = 0;
inline constexpr int kLapTriggerSessionEnd = 7;
inline constexpr int kSessionTriggerActivityEnd = 0;
inline constexpr int kActivityTypeManual = 0;

}  // namespace quibra::cli::formats::fit
