// The tool's TCX files as GPSBabel reads them: the same track points (time, heart rate,
// altitude, cadence, speed, power), in the laps they belong to.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "support/test_folder.h"
#include "tcx_activity.h"
#include "tools/formats/format_check.h"

namespace {

using namespace quibra::cli::formats;

using Row = std::map<std::string, std::string>;

// GPSBabel's CSV of a file's tracks ("-t") or waypoints ("-w", the laps), one map per row.
std::vector<Row> ReadByGpsBabel(const std::string& tcx, const std::string& name, const char* what) {
  // GPSBabel keeps only track points with a position, and the wrist units record none: each
  // point gets one here, before the altitude where the format places it.
  constexpr std::string_view kTimeEnd = "</Time>";
  std::string placed = tcx;
  for (size_t at = placed.find(kTimeEnd); at != std::string::npos;
       at = placed.find(kTimeEnd, at + 1))
    placed.insert(at + kTimeEnd.size(),
                  "<Position><LatitudeDegrees>1</LatitudeDegrees>"
                  "<LongitudeDegrees>1</LongitudeDegrees></Position>");
  const std::string path = quibra::testing::TestFolder() + "/" + name + ".tcx";
  quibra::testing::WriteFile(path, placed);
  std::istringstream csv(quibra::testing::OutputOf(std::string("gpsbabel ") + what +
                                                   " -i gtrnctr -f " + path + " -o unicsv -F -"));
  std::vector<std::string> columns;
  std::vector<Row> rows;
  for (std::string line; std::getline(csv, line);) {
    line.erase(line.find_last_not_of('\r') + 1);  // CSV lines end in CR LF
    std::istringstream in(line);
    std::vector<std::string> cells;
    for (std::string cell; std::getline(in, cell, ',');)
      cells.push_back(cell);
    if (columns.empty()) {
      columns = cells;  // the first line names them
    } else {
      Row& row = rows.emplace_back();
      for (size_t i = 0; i < std::min(cells.size(), columns.size()); ++i)
        row[columns[i]] = cells[i];
    }
  }
  return rows;
}

// The time of day of a row, in seconds after the start (07:15:00) of the sample exercises.
double SecondsIn(const Row& row) {
  EXPECT_EQ(row.at("Date"), "2026/11/28");
  const std::string& t = row.at("Time");
  return std::stoi(t.substr(0, 2)) * 3600 + std::stoi(t.substr(3, 2)) * 60 +
         std::stod(t.substr(6)) - (7 * 3600 + 15 * 60);
}

template <typename T>
void ExpectCell(const Row& row, const char* column, const std::optional<T>& value,
                double resolution) {
  const auto cell = row.find(column);
  if (!value) {
    EXPECT_TRUE(cell == row.end() || cell->second.empty()) << column;
    return;
  }
  ASSERT_NE(cell, row.end()) << column;
  EXPECT_NEAR(std::stod(cell->second), double(*value), resolution) << column;
}

void ExpectSameTrack(const Activity& a, const std::string& name) {
  const std::string tcx = EncodeTcxActivity(a);
  const std::vector<Row> rows = ReadByGpsBabel(tcx, name, "-t");
  ASSERT_EQ(rows.size(), a.points.size()) << tcx;
  for (size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE("point " + std::to_string(i));
    const ActivityPoint& p = a.points[i];
    EXPECT_NEAR(SecondsIn(rows[i]), p.time_s, 0.0005);
    ExpectCell(rows[i], "Heartrate", p.heart_rate, 0);
    ExpectCell(rows[i], "Altitude", p.altitude_m, 0.005);
    ExpectCell(rows[i], "Cadence", p.cadence_rpm, 0);
    ExpectCell(rows[i], "Speed", p.speed_mps, 0.006);  // printed to 0.01
    ExpectCell(rows[i], "Power", p.power_w, 0);
  }
  // A lap comes back as a waypoint at its first point.
  const std::vector<Row> laps = ReadByGpsBabel(tcx, name + "_laps", "-w");
  const size_t lap_count = std::max<size_t>(a.laps.size(), 1);
  ASSERT_EQ(laps.size(), lap_count);
  for (size_t i = 0; i < lap_count; ++i) {
    const double start = a.laps.empty() ? 0 : a.laps[i].start_s;
    const auto first = std::find_if(a.points.begin(), a.points.end(),
                                    [&](const ActivityPoint& p) { return p.time_s >= start; });
    ASSERT_NE(first, a.points.end());
    EXPECT_NEAR(SecondsIn(laps[i]), first->time_s, 0.0005) << "lap " << i;
  }
}

TEST(TcxActivity, ReadsBackThroughGpsBabelWithTheSameTrackPoints) {
  if (!quibra::testing::Installed("gpsbabel"))
    GTEST_SKIP() << "gpsbabel is not installed: nothing can read the TCX files back";
  ExpectSameTrack(quibra::testing::RrActivity(), "rr");
  ExpectSameTrack(quibra::testing::RideActivity(), "ride");
}

}  // namespace
