#include "protocol/batch_table.h"

#include <algorithm>

namespace quibra::protocol {
namespace {

// Rows come in runs: a message with consecutive parameters, or two messages alternating with
// each parameter taken twice (the two halves of an exercise set).
struct RowRun {
  int first_row;
  int16_t message;
  int16_t alternate;  // 0, or the second message of an alternating run
  int8_t first_param;
  int8_t count;  // rows in the run
};

constexpr RowRun kRowRuns[] = {
    {1, 9021, 0, 1, 1},      {2, 9006, 0, 1, 1},      {3, 9002, 0, 1, 1},   {4, 9016, 0, 1, 1},
    {5, 9020, 0, 1, 1},      {6, 9004, 0, 1, 5},      {11, 9014, 0, 0, 7},  {18, 9018, 0, 1, 7},
    {25, 9028, 9029, 1, 14}, {39, 9041, 0, 1, 1},     {40, 9043, 0, 1, 1},  {41, 9046, 0, 1, 1},
    {42, 9048, 0, 1, 1},     {43, 9056, 0, 1, 1},     {44, 9053, 0, 1, 5},  {49, 9045, 0, 0, 20},
    {69, 9051, 0, 0, 2},     {71, 9069, 0, 1, 5},     {76, 9005, 0, 1, 1},  {77, 9001, 0, 1, 1},
    {78, 9015, 0, 1, 1},     {79, 9019, 0, 1, 1},     {80, 9003, 0, 1, 5},  {85, 9013, 0, 0, 7},
    {92, 9017, 0, 1, 7},     {99, 9026, 9027, 1, 14}, {113, 9040, 0, 1, 1}, {114, 9042, 0, 1, 1},
    {115, 9047, 0, 1, 1},    {116, 9049, 0, 1, 1},    {117, 9068, 0, 1, 5},
};

constexpr std::array<BatchRow, kBatchRows + 1> kRows = [] {
  std::array<BatchRow, kBatchRows + 1> rows{};
  for (const RowRun& run : kRowRuns) {
    for (int i = 0; i < run.count; ++i) {
      BatchRow& row = rows[static_cast<size_t>(run.first_row + i)];
      if (run.alternate != 0) {
        row.message = (i % 2 == 0) ? run.message : run.alternate;
        row.param = static_cast<int8_t>(run.first_param + i / 2);
      } else {
        row.message = run.message;
        row.param = static_cast<int8_t>(run.first_param + i);
      }
    }
  }
  return rows;
}();

// Requests; 8006 on IrDA sockets reads the exercise sets in their two halves instead.
constexpr BatchRequest kRequests[] = {
    {8000, 9021, 1, 75},  {8001, 9014, 11, 17}, {8003, 9018, 18, 38}, {8004, 9001, 76, 121},
    {8005, 9013, 85, 91}, {8006, 9017, 92, 98}, {8007, 9003, 80, 84}, {8008, 9068, 117, 121},
};
constexpr BatchRequest kRequest8006OnIrda = {8006, 9026, 99, 112};

enum class Link : uint8_t { Any, NotIrda, Irda };

// A run of settings rows and the unit types that take it.
struct SelectionRule {
  int first_row;
  int last_row;
  std::array<int8_t, 6> types;  // 0 ends the list
  Link link;
};

constexpr SelectionRule kSelectionRules[] = {
    {1, 4, {11, 12, 13, 15, 22, 23}, Link::Any},
    {5, 5, {12, 22, 23}, Link::Any},
    {6, 6, {11, 12, 13, 15}, Link::Any},
    {7, 10, {11, 12, 15}, Link::Any},
    {71, 75, {22, 23}, Link::Any},
    {11, 17, {11, 12, 13, 22, 23}, Link::Any},
    {18, 24, {13}, Link::NotIrda},
    {25, 38, {13}, Link::Irda},
    {1, 1, {20, 21}, Link::Any},
    {39, 42, {20, 21}, Link::Any},
    {44, 48, {20, 21}, Link::Any},
    {49, 68, {20, 21}, Link::Any},
    {69, 70, {20, 21}, Link::Any},
};

struct DeviceCode {
  int16_t code;
  int8_t type;
};

constexpr DeviceCode kDeviceCodes[] = {
    {17, 11},  {18, 11},  {19, 22},  {38, 22},  {34, 12},  {35, 12},  {36, 12},  {37, 23},
    {51, 13},  {52, 13},  {53, 13},  {68, 15},  {69, 15},  {85, 20},  {102, 21}, {148, 27},
    {164, 33}, {166, 35}, {167, 34}, {172, 36}, {173, 37}, {174, 38},
};

}  // namespace

BatchRow GetBatchRow(int row) {
  if (row < 1 || row > kBatchRows) return {0, 0};
  return kRows[static_cast<size_t>(row)];
}

std::optional<BatchRequest> FindBatchRequest(int32_t request, bool irda_sockets) {
  if (request == 8006 && irda_sockets) return kRequest8006OnIrda;
  for (const BatchRequest& r : kRequests) {
    if (r.request == request) return r;
  }
  return std::nullopt;
}

std::array<bool, kLastSettingsRow + 1> SelectSettingsRows(int32_t type, bool irda_sockets) {
  std::array<bool, kLastSettingsRow + 1> selected{};
  for (const SelectionRule& rule : kSelectionRules) {
    if (rule.link == Link::Irda && !irda_sockets) continue;
    if (rule.link == Link::NotIrda && irda_sockets) continue;
    if (std::find(rule.types.begin(), rule.types.end(), type) == rule.types.end() || type == 0) {
      continue;
    }
    for (int row = rule.first_row; row <= rule.last_row; ++row) {
      selected[static_cast<size_t>(row)] = true;
    }
  }
  return selected;
}

std::optional<int32_t> UnitTypeOfDeviceCode(int32_t code) {
  for (const DeviceCode& d : kDeviceCodes) {
    if (d.code == code) return d.type;
  }
  return std::nullopt;
}

}  // namespace quibra::protocol
