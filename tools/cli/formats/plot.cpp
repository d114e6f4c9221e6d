#include "plot.h"

#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <numbers>
#include <optional>

#include "activity_from_model.h"
#include "summary.h"

namespace quibra::cli::formats {
namespace {

constexpr int kWidth = 1200;
constexpr double kLeft = 80;
constexpr double kRight = 30;
constexpr double kTop = 56;  // the title and the legend
constexpr double kHeartRateHeight = 340;
constexpr double kPanelGap = 34;
constexpr double kPanelHeight = 140;
constexpr double kBottom = 46;  // the time axis's labels and title
constexpr double kFontSize = 13;

struct Rgb {
  double r, g, b;
};
constexpr Rgb kHeartRateColour = {0.80, 0.05, 0.10};
constexpr Rgb kAxisColour = {0.20, 0.20, 0.20};
constexpr Rgb kGridColour = {0.88, 0.88, 0.88};
constexpr Rgb kLapColour = {0.25, 0.25, 0.65};
constexpr Rgb kZoneColours[3] = {{0.20, 0.70, 0.25}, {0.95, 0.60, 0.10}, {0.30, 0.55, 0.95}};
constexpr double kZoneAlpha = 0.22;

// The panels below the heart rate, in order, each with its value and unit names.
struct Channel {
  const char* name;
  const char* metric_unit;
  const char* imperial_unit;
  bool (*recorded)(const ExerciseModel&);
  Rgb colour;
};
constexpr Channel kChannels[] = {
    {"Speed",
     "km/h",
     "mph",
     [](const ExerciseModel& m) { return m.has_speed(); },
     {0.10, 0.45, 0.80}},
    {"Altitude",
     "m",
     "ft",
     [](const ExerciseModel& m) { return m.has_altitude(); },
     {0.45, 0.35, 0.20}},
    {"Cadence",
     "rpm",
     "rpm",
     [](const ExerciseModel& m) { return m.has_cadence(); },
     {0.55, 0.20, 0.65}},
    {"Power", "W", "W", [](const ExerciseModel& m) { return m.has_power(); }, {0.85, 0.45, 0.05}},
};

// The value of a sample in a panel, in the unit the axis names (the unit's own system).
std::optional<double> ChannelValue(size_t channel, const Sample& s) {
  switch (channel) {
    case 0:
      return s.speed / 10.0;
    case 1:
      return s.altitude;
    case 2:
      return s.cadence;
    case 3:
      return s.power;
  }
  return std::nullopt;
}

// A step of 1, 2 or 5 times a power of ten that cuts the range into about `parts`.
double NiceStep(double range, int parts) {
  const double raw = std::max(range / parts, 1e-9);
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0}) {
    if (m * power >= raw) return m * power;
  }
  return 10 * power;
}

// Widens the range to whole steps; returns the step.
double Widen(double& low, double& high, int parts) {
  if (high - low < 1) {
    low -= 1;
    high += 1;
  }
  const double step = NiceStep(high - low, parts);
  low = std::floor(low / step) * step;
  high = std::ceil(high / step) * step;
  return step;
}

// Time ticks: a whole number of minutes or hours, at most about ten.
double TimeStep(double duration) {
  for (double step : {60.0, 120.0, 300.0, 600.0, 900.0, 1800.0, 3600.0, 7200.0, 10800.0}) {
    if (duration / step <= 10) return step;
  }
  return 21600;
}

std::string HourMinutes(double seconds) {
  const auto minutes = static_cast<long long>(std::llround(seconds / 60));
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld", minutes / 60, minutes % 60);
  return text;
}

std::string Number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", std::abs(v) < 1e-9 ? 0.0 : v);
  return text;
}

class Painter {
 public:
  Painter(cairo_t* cr, const ExerciseModel& m, const PlotLayout& layout)
      : cr_(cr), m_(m), l_(layout), activity_(ActivityFromModel(m)) {}

  void Draw() {
    Fill(0, 0, l_.width, l_.height, {1, 1, 1}, 1);
    cairo_select_font_face(cr_, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr_, kFontSize);
    Zones();
    Axes(l_.heart_rate);
    HeartRate();
    size_t panel = 0;
    for (size_t c = 0; c < std::size(kChannels); ++c) {
      if (!kChannels[c].recorded(m_)) continue;
      const PlotPanel& p = l_.below[panel++];
      Axes(p);
      ChannelLine(c, p);
    }
    Laps();
    TimeAxis();
    TitleAndLegend();
  }

 private:
  void Colour(const Rgb& c, double alpha = 1) { cairo_set_source_rgba(cr_, c.r, c.g, c.b, alpha); }

  void Fill(double x, double y, double w, double h, const Rgb& c, double alpha) {
    Colour(c, alpha);
    cairo_rectangle(cr_, x, y, w, h);
    cairo_fill(cr_);
  }

  void Text(double x, double y, const std::string& text, double align = 0) {
    cairo_text_extents_t e;
    cairo_text_extents(cr_, text.c_str(), &e);
    cairo_move_to(cr_, x - align * e.x_advance, y);
    cairo_show_text(cr_, text.c_str());
  }

  void Line(double x0, double y0, double x1, double y1, const Rgb& c, double width) {
    Colour(c);
    cairo_set_line_width(cr_, width);
    cairo_move_to(cr_, x0, y0);
    cairo_line_to(cr_, x1, y1);
    cairo_stroke(cr_);
  }

  // The limit pairs that are set, as bands across the heart-rate panel.
  void Zones() {
    const PlotPanel& p = l_.heart_rate;
    cairo_save(cr_);
    cairo_rectangle(cr_, l_.left, p.top, l_.right - l_.left, p.height);
    cairo_clip(cr_);
    for (size_t k = 0; k < 3; ++k) {
      const auto pair = m_.params.limits(k);
      if (!pair) continue;
      const double y0 = PlotLayout::Y(p, pair->second);
      Fill(l_.left, y0, l_.right - l_.left, PlotLayout::Y(p, pair->first) - y0, kZoneColours[k],
           kZoneAlpha);
    }
    cairo_restore(cr_);
  }

  // The frame, the value grid and labels, and the panel's title along its left side.
  void Axes(const PlotPanel& p) {
    for (double v = p.low; v <= p.high + p.step / 2; v += p.step) {
      const double y = PlotLayout::Y(p, v);
      Line(l_.left, y, l_.right, y, kGridColour, 1);
      Colour(kAxisColour);
      Text(l_.left - 6, y + 4, Number(v), 1);
    }
    const double step_s = TimeStep(l_.duration_s);
    for (double t = 0; t <= l_.duration_s; t += step_s)
      Line(l_.X(t), p.top, l_.X(t), p.top + p.height, kGridColour, 1);
    Colour(kAxisColour);
    cairo_set_line_width(cr_, 1);
    cairo_rectangle(cr_, l_.left, p.top, l_.right - l_.left, p.height);
    cairo_stroke(cr_);
    cairo_save(cr_);
    cairo_move_to(cr_, 0, 0);
    cairo_translate(cr_, 18, p.top + p.height / 2);
    cairo_rotate(cr_, -std::numbers::pi / 2);
    Text(0, 0, p.label, 0.5);
    cairo_restore(cr_);
  }

  // A line through the values, broken where a value is missing.
  template <typename Value>
  void Series(const PlotPanel& p, const Rgb& colour, Value value) {
    cairo_save(cr_);
    cairo_rectangle(cr_, l_.left, p.top, l_.right - l_.left, p.height);
    cairo_clip(cr_);
    Colour(colour);
    cairo_set_line_width(cr_, 1.5);
    cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
    bool drawing = false;
    for (size_t i = 0; i < activity_.points.size(); ++i) {
      const std::optional<double> v = value(i);
      if (!v) {
        drawing = false;
        continue;
      }
      const double x = l_.X(activity_.points[i].time_s);
      const double y = PlotLayout::Y(p, *v);
      if (drawing) {
        cairo_line_to(cr_, x, y);
      } else {
        cairo_move_to(cr_, x, y);
        drawing = true;
      }
    }
    cairo_stroke(cr_);
    cairo_restore(cr_);
  }

  void HeartRate() {
    Series(l_.heart_rate, kHeartRateColour, [&](size_t i) -> std::optional<double> {
      const auto& hr = activity_.points[i].heart_rate;
      return hr ? std::optional<double>(*hr) : std::nullopt;
    });
  }

  // The activity drops the samples of an R-R recording without a beat; the panels follow the
  // samples that became points, which are all of them otherwise.
  void ChannelLine(size_t channel, const PlotPanel& p) {
    if (m_.rr()) return;
    Series(p, kChannels[channel].colour, [&](size_t i) -> std::optional<double> {
      return i < m_.samples.size() ? ChannelValue(channel, m_.samples[i]) : std::nullopt;
    });
  }

  // A dashed line through every panel at each lap mark, numbered above the heart rate.
  void Laps() {
    const double dashes[] = {5, 4};
    const double bottom = l_.below.empty() ? l_.heart_rate.top + l_.heart_rate.height
                                           : l_.below.back().top + l_.below.back().height;
    int n = 0;
    for (const Lap& lap : m_.laps) {
      ++n;
      const double t = lap.split_tenths() / 10.0;
      if (t <= 0 || t > l_.duration_s) continue;
      const double x = l_.X(t);
      cairo_set_dash(cr_, dashes, 2, 0);
      Line(x, l_.heart_rate.top, x, bottom, kLapColour, 1.2);
      cairo_set_dash(cr_, nullptr, 0, 0);
      Colour(kLapColour);
      Text(x, l_.heart_rate.top - 4, std::to_string(n), 0.5);
    }
  }

  void TimeAxis() {
    const double bottom = l_.below.empty() ? l_.heart_rate.top + l_.heart_rate.height
                                           : l_.below.back().top + l_.below.back().height;
    Colour(kAxisColour);
    const double step = TimeStep(l_.duration_s);
    for (double t = 0; t <= l_.duration_s; t += step)
      Text(l_.X(t), bottom + 16, HourMinutes(t), 0.5);
    Text((l_.left + l_.right) / 2, bottom + 36, "Time (h:mm)", 0.5);
  }

  void TitleAndLegend() {
    const int32_t d = m_.params.date;
    const int32_t start = m_.params.start_tenths / 10;
    char title[96];
    std::snprintf(title, sizeof title, "%04d-%02d-%02d %02d:%02d, %s", d / 10000, d / 100 % 100,
                  d % 100, start / 3600, start / 60 % 60,
                  ClockText(m_.params.length_tenths / 10.0).c_str());
    Colour(kAxisColour);
    cairo_set_font_size(cr_, kFontSize + 3);
    Text(l_.left, 22, title);
    cairo_set_font_size(cr_, kFontSize);
    // The legend runs right to left from the right edge: lap mark, zones, heart rate.
    double x = l_.right;
    const double y = 22;
    const auto entry = [&](const std::string& text, auto swatch) {
      cairo_text_extents_t e;
      cairo_text_extents(cr_, text.c_str(), &e);
      x -= e.x_advance;
      Colour(kAxisColour);
      Text(x, y, text);
      x -= 26;
      swatch(x);
      x -= 18;
    };
    entry("lap", [&](double at) {
      const double dashes[] = {4, 3};
      cairo_set_dash(cr_, dashes, 2, 0);
      Line(at + 10, y - 12, at + 10, y + 2, kLapColour, 1.2);
      cairo_set_dash(cr_, nullptr, 0, 0);
    });
    for (int k = 2; k >= 0; --k) {
      const auto i = static_cast<size_t>(k);
      const auto pair = m_.params.limits(i);
      if (!pair) continue;
      entry("limits " + std::to_string(k + 1) + " (" + std::to_string(pair->first) + "-" +
                std::to_string(pair->second) + " bpm)",
            [&](double at) { Fill(at, y - 10, 20, 12, kZoneColours[i], kZoneAlpha * 2); });
    }
    entry(m_.rr() ? "heart rate from R-R" : "heart rate",
          [&](double at) { Line(at, y - 4, at + 20, y - 4, kHeartRateColour, 2); });
  }

  cairo_t* cr_;
  const ExerciseModel& m_;
  const PlotLayout& l_;
  Activity activity_;
};

}  // namespace

double PlotLayout::X(double seconds) const {
  return left + (right - left) * (duration_s > 0 ? seconds / duration_s : 0);
}

double PlotLayout::Y(const PlotPanel& p, double value) {
  return p.top + p.height * (p.high - value) / (p.high - p.low);
}

PlotLayout LayoutPlot(const ExerciseModel& m) {
  const Activity a = ActivityFromModel(m);
  PlotLayout l;
  l.width = kWidth;
  l.left = kLeft;
  l.right = kWidth - kRight;
  l.duration_s = std::max(a.duration_s, a.points.empty() ? 0.0 : a.points.back().time_s);
  if (l.duration_s <= 0) l.duration_s = 60;
  // The heart-rate range holds every heart rate and every limit that is set.
  double low = 1e9;
  double high = -1e9;
  for (const ActivityPoint& p : a.points) {
    if (!p.heart_rate) continue;
    low = std::min<double>(low, *p.heart_rate);
    high = std::max<double>(high, *p.heart_rate);
  }
  for (size_t k = 0; k < 3; ++k) {
    if (const auto pair = m.params.limits(k)) {
      low = std::min<double>(low, pair->first);
      high = std::max<double>(high, pair->second);
    }
  }
  if (low > high) {
    low = 60;
    high = 180;
  }
  low -= 5;
  high += 5;
  const double step = Widen(low, high, 6);
  l.heart_rate = {"Heart rate (bpm)", kTop, kHeartRateHeight, low, high, step};
  double top = kTop + kHeartRateHeight + kPanelGap;
  for (size_t c = 0; c < std::size(kChannels); ++c) {
    if (!kChannels[c].recorded(m)) continue;
    double lo = 1e18;
    double hi = -1e18;
    for (const Sample& s : m.samples) {
      const double v = *ChannelValue(c, s);
      lo = std::min(lo, v);
      hi = std::max(hi, v);
    }
    if (lo > hi) lo = hi = 0;
    const double panel_step = Widen(lo, hi, 4);
    const Channel& ch = kChannels[c];
    l.below.push_back(
        {std::string(ch.name) + " (" + (m.imperial() ? ch.imperial_unit : ch.metric_unit) + ")",
         top, kPanelHeight, lo, hi, panel_step});
    top += kPanelHeight + kPanelGap;
  }
  l.height = static_cast<int>(top - kPanelGap + kBottom);
  return l;
}

bool DrawPlot(const ExerciseModel& m, PlotKind kind, const std::string& path, std::string& error) {
  const PlotLayout layout = LayoutPlot(m);
  using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
  Surface surface(
      kind == PlotKind::kSvg
          ? cairo_svg_surface_create(path.c_str(), layout.width, layout.height)
          : cairo_image_surface_create(CAIRO_FORMAT_ARGB32, layout.width, layout.height),
      cairo_surface_destroy);
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
    error = cairo_status_to_string(cairo_surface_status(surface.get()));
    return false;
  }
  {
    std::unique_ptr<cairo_t, decltype(&cairo_destroy)> cr(cairo_create(surface.get()),
                                                          cairo_destroy);
    Painter(cr.get(), m, layout).Draw();
    if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) {
      error = cairo_status_to_string(cairo_status(cr.get()));
      return false;
    }
  }
  cairo_status_t status = CAIRO_STATUS_SUCCESS;
  if (kind == PlotKind::kPng) {
    status = cairo_surface_write_to_png(surface.get(), path.c_str());
  } else {
    cairo_surface_finish(surface.get());
    status = cairo_surface_status(surface.get());
  }
  if (status != CAIRO_STATUS_SUCCESS) {
    error = cairo_status_to_string(status);
    return false;
  }
  return true;
}

}  // namespace quibra::cli::formats
