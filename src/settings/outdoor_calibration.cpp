#include "settings/outdoor_calibration.h"

#include <cstring>

#include "frame/comm_params.h"
#include "protocol/message_image.h"
#include "protocol/seal.h"
#include "settings/image_bytes.h"
#include "settings/outdoor_messages.h"
#include "settings/outdoor_text.h"
#include "settings/outdoor_user.h"
#include "settings/transfer_pattern.h"

namespace quibra::settings {
namespace {

// The 9044 image of point p (sub-image p), from index 5; the 9045 answer, like an image loaded
// from the data file, carries each byte one index later.
//
//   index    content
//   5        the point number p (the bank keeps it, so a read request names its point too)
//   6..12    PointName: 7 codes of table 2, in capitals, end-marked (spaces for an unused point)
//   13, 14   AltitudeFt + 8192, low byte first; 0, 0 for an unused point
enum PointByte : int32_t {
  kNumber = 5,
  kName = 6,
  kAltitude = 13,
};

constexpr int32_t kLowestFeet = -1800;
constexpr int32_t kHighestFeet = 29500;
constexpr int32_t kLowestMetres = -548;
constexpr int32_t kHighestMetres = 8990;

bool CheckAndComplete(OutdoorCalibPoint& r) {
  if (r.Size == 0) r.Size = kCalibPointSize;
  if (!InRange(r.PointNumber, 0, kCalibPoints - 1) || !IsFlag(r.PointOn)) return false;
  if (r.PointOn == 0) {
    r.AltitudeFt = 0;
    r.AltitudeM = 0;
    std::memset(r.PointName, 0, sizeof r.PointName);
    return true;
  }
  if (r.AltitudeFt != 0) {
    if (!InRange(r.AltitudeFt, kLowestFeet, kHighestFeet)) return false;
    r.AltitudeM = FeetToMetres(r.AltitudeFt);
  } else {
    if (!InRange(r.AltitudeM, kLowestMetres, kHighestMetres)) return false;
    r.AltitudeFt = MetresToFeet(r.AltitudeM);
  }
  CapitalizeText(r.PointName);
  return TextFitsTable(r.PointName, kOutdoorTextField, kClockTable);
}

void Pack(const OutdoorCalibPoint& r) {
  const ImageWriter image(outdoor::kCalibWrite, r.PointNumber);
  image.byte(kNumber, r.PointNumber);
  PackMarkedCodes(image, kName, ToDeviceCodes(r.PointName, kClockTable));
  const int32_t biased = r.PointOn != 0 ? r.AltitudeFt + kAltitudeBias : 0;
  image.byte(kAltitude, biased);
  image.byte(kAltitude + 1, biased >> 8);
}

}  // namespace

bool PrepareCalibPoint(OutdoorCalibPoint& record) {
  if (!CheckAndComplete(record)) return false;
  Pack(record);
  protocol::SealMessageImage(outdoor::kCalibWrite, record.PointNumber, 0);
  return true;
}

bool UnPackCalibPoint(int32_t point, OutdoorCalibPoint& r) {
  if (!InRange(point, 0, kCalibPoints - 1)) return false;
  std::memset(&r, 0, sizeof r);
  r.Size = kCalibPointSize;
  r.PointNumber = point;
  const ImageReader image(outdoor::kCalibRead, point);
  auto at = [](int32_t write_index) { return write_index + outdoor::kReadShift; };
  const int32_t biased = image.byte(at(kAltitude)) + 256 * (image.byte(at(kAltitude + 1)) & 0x7F);
  if (biased == 0) return true;  // an unused point
  r.PointOn = 1;
  r.AltitudeFt = biased - kAltitudeBias;
  r.AltitudeM = FeetToMetres(r.AltitudeFt);
  UnpackMarkedText(image, at(kName), r.PointName, kClockTable);
  return true;
}

int32_t SendCalibPoint(CommParams& params, OutdoorCalibPoint& record) {
  frame::SetErrorCode(frame::kErrorTransferStarted);
  SendSteps steps;
  steps.write_message = outdoor::kCalibWrite;
  steps.prepare = [&] { return PrepareCalibPoint(record); };
  // Read from the data file the record is not prepared: a point number outside the route
  // fails, as no image of it can be loaded.
  steps.param = [&] { return record.PointNumber; };
  steps.unpack_loaded = [&] { return UnPackCalibPoint(record.PointNumber, record) ? 1 : 0; };
  if (params.ReadFromDataFile != 0 && !InRange(record.PointNumber, 0, kCalibPoints - 1)) return 0;
  return SendSettings(params, steps);
}

int32_t ReadCalibPoint(CommParams& params, int32_t point, OutdoorCalibPoint& record) {
  if (!InRange(point, 0, kCalibPoints - 1)) {
    frame::SetErrorCode(frame::kErrorTransferStarted);
    return 0;
  }
  // The request names its point in its first payload byte, which the image keeps from the
  // last write or answer: it is set afresh.
  protocol::SetMessageByte(outdoor::kCalibRead, point, 5, static_cast<uint8_t>(point));
  return ReadSettings(params, outdoor::kCalibRead, point, [&] { UnPackCalibPoint(point, record); });
}

}  // namespace quibra::settings
