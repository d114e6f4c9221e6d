// quibra live: records heart beats as a unit streams them (online mode) over a serial or USB
// infrared adapter or the wireless link. Shows the heart rate and the last intervals as they
// arrive (one status line on a terminal, or one JSON object per beat with --json), marks a lap
// on Enter, pauses and resumes on "p" (then Enter), and on Ctrl-C, SIGTERM or --timeout ends
// the recording and saves it as an HRM file with R-R data when --out names one.
#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "library_session.h"
#include "output_file.h"
#include "quibra/quibra.h"
#include "stop_control.h"

namespace quibra::cli {
namespace {

constexpr int32_t kOptionNoRecoding = 0x01;
constexpr int32_t kOptionMissedBeats = 0x04;
constexpr int32_t kOptionUsb = 0x10;
constexpr int32_t kOptionOnline = 0x80;
constexpr int32_t kOptionWireless = 0x100;
constexpr int32_t kEngineStopped = 20;
constexpr int32_t kLinkOpenedAbove = 18000;
constexpr int kRingWords = 601;
constexpr int kEntryWords = 6;
constexpr size_t kShownIntervals = 8;
constexpr int kPollMs = 100;
constexpr size_t kPathCapacity = 260;

enum class LiveLink { Serial, Usb, Wireless };

struct Options {
  std::string port;
  LiveLink link = LiveLink::Serial;
  int link_type = 1;
  bool correct_missed = false;
  std::string out;
  bool json = false;
};

// What the user typed since the last look: Enter alone marks a lap, "p" pauses or resumes.
struct Keys {
  int laps = 0;
  int pause_toggles = 0;
};

class Input {
 public:
  Keys poll_keys() {
    Keys keys;
    if (closed_) return keys;
    pollfd p{STDIN_FILENO, POLLIN, 0};
    while (::poll(&p, 1, 0) > 0 && (p.revents & (POLLIN | POLLHUP)) != 0) {
      char c = 0;
      if (::read(STDIN_FILENO, &c, 1) != 1) {
        closed_ = true;  // no more input: the recording goes on until it is stopped
        break;
      }
      if (c == '\n') {
        if (line_.empty()) ++keys.laps;
        if (line_ == "p" || line_ == "P") ++keys.pause_toggles;
        line_.clear();
      } else if (c != '\r') {
        line_ += c;
      }
    }
    return keys;
  }

 private:
  std::string line_;
  bool closed_ = false;
};

class LiveView {
 public:
  explicit LiveView(bool json) : json_(json), terminal_(isatty(STDOUT_FILENO) != 0) {}
  ~LiveView() {
    if (drawn_) std::printf("\n");
  }
  LiveView(const LiveView&) = delete;
  LiveView& operator=(const LiveView&) = delete;

  void beat(int32_t time_ms, int32_t interval, bool recorded) {
    last_.push_back(interval);
    if (last_.size() > kShownIntervals) last_.pop_front();
    ++beats_;
    if (json_) {
      std::printf("{\"time_ms\":%d,\"rr_ms\":%d,\"hr\":%d,\"recorded\":%s}\n", time_ms, interval,
                  60000 / interval, recorded ? "true" : "false");
      std::fflush(stdout);
    }
  }
  void status(bool paused, int laps) {
    if (json_ || last_.empty()) return;
    std::string line = "HR " + std::to_string(60000 / last_.back()) + "  R-R";
    for (int32_t v : last_)
      line += " " + std::to_string(v);
    line += "  beats " + std::to_string(beats_) + "  laps " + std::to_string(laps);
    if (paused) line += "  [paused]";
    if (terminal_) {
      std::printf("\r%-78s", line.c_str());
      drawn_ = true;
    } else if (line != logged_) {
      std::printf("%s\n", line.c_str());
      logged_ = line;
    }
    std::fflush(stdout);
  }

 private:
  const bool json_;
  const bool terminal_;
  std::deque<int32_t> last_;
  int beats_ = 0;
  bool drawn_ = false;
  std::string logged_;
};

int32_t LinkOptions(const Options& o) {
  int32_t options = kOptionOnline | (o.correct_missed ? kOptionMissedBeats : 0);
  if (o.link == LiveLink::Usb) options |= kOptionUsb;
  if (o.link == LiveLink::Wireless) options |= kOptionWireless;
  if (o.link == LiveLink::Serial) options |= kOptionNoRecoding;  // nothing is sent anyway
  return options;
}

bool Open(const Options& o) {
  if (o.link != LiveLink::Wireless) {
    return fnQuibra_StartIRCommunication(LinkOptions(o), o.link == LiveLink::Usb ? nullptr
                                                                            : o.port.c_str()) == 1;
  }
  int32_t device = static_cast<int32_t>(std::strtoul(o.port.c_str(), nullptr, 0));
  if (o.port == "any") {
    std::vector<uint8_t> list(4 + 32 * 4, 0);
    fnQuibra_GetDeviceList(o.link_type, list.data());
    if (list[0] < 1 || list[0] > 32) return false;
    device = list[4] | (list[5] << 8) | (list[6] << 16) | (list[7] << 24);
  }
  return fnQuibra_OpenConnection(LinkOptions(o), o.link_type, device) > kLinkOpenedAbove;
}

bool Save(const std::string& out) {
  if (out.size() >= kPathCapacity) return false;
  OutputFile file(out);
  std::vector<char> path(kPathCapacity, 0);
  file.partial().copy(path.data(), kPathCapacity - 1);
  std::string error;
  if (fnQuibra_SaveExerciseHRM(0, path.data(), 0) != 1) return false;
  if (!file.Commit(true, error)) {
    std::fprintf(stderr, "quibra: %s\n", error.c_str());
    return false;
  }
  return true;
}

int Live(const Options& o) {
  TakeStopAsEnd();
  LibrarySession library;
  if (!Open(o)) {
    std::fprintf(stderr, "quibra: cannot open %s for online recording\n", o.port.c_str());
    return kExitFailure;
  }
  fnQuibra_PauseOnline(0);  // the recording begins
  LiveView view(o.json);
  Input input;
  bool paused = false;
  bool link_ended = false;
  std::vector<int32_t> ring(kRingWords);
  while (!StopRequested()) {
    if (fnQuibra_GetRealOnlineData(0, ring.data()) == 0) {
      for (int i = 0; i < ring[0]; ++i) {
        const int32_t* e = ring.data() + 1 + i * kEntryWords;
        if (e[3] > 0) view.beat(e[1], e[3], e[0] != 0);
      }
    }
    const Keys keys = input.poll_keys();
    for (int i = 0; i < keys.laps; ++i)
      fnQuibra_AddOnlineLaptime(0);
    if (keys.pause_toggles % 2 == 1) {
      paused = !paused;
      fnQuibra_PauseOnline(paused ? 1 : 0);
    }
    view.status(paused, fnQuibra_GetNbrOfOnlineIntTimes(0));
    // The online thread ends by itself when the link fails or the device is lost.
    if (fnQuibra_GetCurrentMessageStatus() == kEngineStopped) {
      link_ended = true;
      break;
    }
    usleep(kPollMs * 1000);
  }
  fnQuibra_EndIRCommunication(0);
  if (link_ended) std::fprintf(stderr, "quibra: the link ended\n");
  const int32_t samples = fnQuibra_GetNbrOfOnlineSamples(0);
  if (!o.out.empty()) {
    if (!Save(o.out)) {
      std::fprintf(stderr, "quibra: cannot write %s\n", o.out.c_str());
      return kExitFailure;
    }
    if (!Global().quiet)
      std::fprintf(stderr, "%s  %d beats, %d laps\n", o.out.c_str(), samples,
                   fnQuibra_GetNbrOfOnlineIntTimes(0));
  }
  return link_ended ? kExitFailure : 0;
}

}  // namespace

void AddLiveCommand(CLI::App& app, CommandRun& run) {
  auto o = std::make_shared<Options>();
  CLI::App* live = app.add_subcommand(
      "live", "record heart beats live (Enter: lap, p: pause/resume, Ctrl-C: stop and save)");
  live->add_option("--port", o->port,
                   "the adapter's tty; on the wireless link the device id, or \"any\" for the "
                   "first found")
      ->option_text("DEV")
      ->required();
  static const std::map<std::string, LiveLink> kLinks = {
      {"serial", LiveLink::Serial}, {"usb", LiveLink::Usb}, {"wireless", LiveLink::Wireless}};
  live->add_option_function<std::string>(
          "--link", [o](const std::string& name) { o->link = kLinks.at(name); },
          "serial: an infrared adapter on a tty (the default); usb: the USB infrared adapter; "
          "wireless: the wireless link")
      ->check(CLI::IsMember({"serial", "usb", "wireless"}))
      ->option_text("serial|usb|wireless");
  live->add_option("--link-type", o->link_type,
                   "wireless link: 1 delivers intervals, 10 heart rates (default 1)")
      ->check(CLI::IsMember({1, 10}));
  live->add_flag("--correct-missed", o->correct_missed,
                 "store an interval of two or three beats the unit missed as those beats");
  live->add_option("--out", o->out, "save the recording as this HRM file")->option_text("FILE.hrm");
  live->add_flag("--json", o->json, "one JSON object per beat on standard output");
  live->callback([o, &run] { run = [o] { return Live(*o); }; });
}

}  // namespace quibra::cli
