#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "commands.h"
#include "stop_control.h"

namespace quibra::cli {
namespace {

constexpr int kPollMs = 100;  // how often a pending answer looks for Ctrl-C

}  // namespace

bool Confirmed(const std::string& question, bool yes) {
  if (yes) return true;
  if (isatty(STDIN_FILENO) == 0) {
    std::fprintf(stderr, "quibra: %s: no terminal to ask on; add --yes to go ahead\n",
                 question.c_str());
    return false;
  }
  std::fprintf(stderr, "%s [y/N] ", question.c_str());
  std::fflush(stderr);
  std::string answer;
  pollfd input{STDIN_FILENO, POLLIN, 0};
  for (;;) {
    if (StopRequested()) return false;
    if (poll(&input, 1, kPollMs) <= 0) continue;
    char c = 0;
    if (read(STDIN_FILENO, &c, 1) != 1 || c == '\n') break;
    answer += c;
  }
  return answer == "y" || answer == "Y" || answer == "yes";
}

}  // namespace quibra::cli
