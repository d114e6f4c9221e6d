#include "ui/dialog_templates.h"

#include <cstdio>
#include <iterator>
#include <string>

#include "ui/dialog_window.h"

namespace quibra::ui {
namespace {

using K = ControlKind;

// The four icons lie on the same spot; the procedures show the ones the state asks for.
constexpr ControlTemplate kConnection[] = {
    {kStatusText, K::Text, 30, 10, 100, 20, nullptr, true, true},
    {kIconWaitConnect, K::Icon, 5, 5, 20, 20, "IR_WAITCONNECT", true, true},
    {kIconConnecting1, K::Icon, 5, 5, 20, 20, "IR_CONNECTING1", true, true},
    {kIconNoAnswer, K::Icon, 5, 5, 20, 20, "IR_NOANSWER", true, true},
    {kButtonRetry, K::Button, 13, 50, 50, 14, "Retry", false, true},
    {kButtonCancel, K::Button, 68, 50, 50, 14, "Cancel", true, true},
    {kProgressBar, K::ProgressBar, 5, 35, 120, 10, nullptr, true, true},
    {kIconConnecting2, K::Icon, 5, 5, 20, 20, "IR_CONNECTING2", true, false},
};

constexpr ControlTemplate kConnectionNoWait[] = {
    {kStatusText, K::Text, 30, 10, 100, 20, nullptr, true, true},
    {kIconConnecting1, K::Icon, 5, 5, 20, 20, "IR_CONNECTING1", true, true},
};

constexpr ControlTemplate kConnectionNew[] = {
    {kStatusText, K::CenteredText, 8, 50, 155, 10, nullptr, true, true},
    {kAnimation, K::Animation, 21, 5, 129, 38, nullptr, true, true},
};

constexpr ControlTemplate kPipcast[] = {
    {kStatusText, K::Text, 30, 10, 100, 20, nullptr, true, true},
    {kIconConnecting1, K::Icon, 5, 5, 20, 20, "PIPCAST_CONNECTION1", true, true},
};

// One icon place shows the waiting, receiving or failed icon; the level bar stands on the right.
constexpr ControlTemplate kTonvox[] = {
    {kIconPlace, K::Icon, 5, 5, 20, 20, "#111", true, true},
    {kStatusText, K::Text, 30, 10, 100, 20, nullptr, true, true},
    {kProgressBar, K::ProgressBar, 5, 35, 125, 10, nullptr, true, true},
    {kButtonRetry, K::Button, 18, 50, 50, 14, "Retry", false, true},
    {kButtonCancel, K::Button, 78, 50, 50, 14, "Cancel", true, true},
    {kLevelBar, K::LevelBar, 140, 5, 10, 59, nullptr, true, true},
};

constexpr DialogTemplate kTemplates[] = {
    {"IR_CONNECTION", 130, 70, kConnection},
    {"IR_CONNECTION_NOWAIT", 130, 35, kConnectionNoWait},
    {"IR_CONNECTION_NEW", 172, 66, kConnectionNew},
    {"PIPCAST_CONNECTION", 130, 35, kPipcast},
    {"TONVOX_CONNECTION", 160, 70, kTonvox},
};

}  // namespace

std::string IconName(int32_t resource) {
  char name[16];
  std::snprintf(name, sizeof name, "#%d", static_cast<int>(resource));
  return name;
}

const DialogTemplate& Template(DialogId id) {
  return kTemplates[static_cast<size_t>(id)];
}

}  // namespace quibra::ui
