// Draws an exercise with cairo: the heart rate over time on the limit zones as bands, with a
// mark at each lap, and beneath it a panel for each of speed, altitude, cadence and power that
// the exercise recorded. Axes carry their units, times read h:mm, and a legend names the lines.
#pragma once

#include <string>
#include <vector>

#include "exercise_model.h"

namespace quibra::cli::formats {

// One panel: a value range drawn into a band of the picture.
struct PlotPanel {
  std::string label;  // the axis title with the unit, "Speed (km/h)"
  double top = 0;     // pixels
  double height = 0;
  double low = 0;  // the values at the bottom and the top
  double high = 0;
  double step = 1;  // between the value grid's lines
};

// Where everything lies; the drawing and the tests share it.
struct PlotLayout {
  int width = 0;
  int height = 0;
  double left = 0;  // the plotting area's x range, pixels
  double right = 0;
  double duration_s = 0;
  PlotPanel heart_rate;
  std::vector<PlotPanel> below;

  double X(double seconds) const;
  static double Y(const PlotPanel& panel, double value);
};

PlotLayout LayoutPlot(const ExerciseModel& model);

enum class PlotKind { kPng, kSvg };

// Draws into a new file at `path`. False with the reason in `error`.
bool DrawPlot(const ExerciseModel& model, PlotKind kind, const std::string& path,
              std::string& error);

}  // namespace quibra::cli::formats
