#include "program.h"

#include <pthread.h>
#include <signal.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "serial_link.h"
#include "unit.h"

namespace quibra::sim {
namespace {

int Usage(const char* name) {
  std::fprintf(stderr,
               "usage: %s --type N [--variant V] [--product-code C] [--paced | --irda]\n"
               "  N: 11, 12, 13, 15, 20..23, 25..27, 30..38; V: 0..15 (default 0);\n"
               "  C: 0..255, the product code the unit reports (default: the type's own);\n"
               "  --irda: the line carries the short form of an IrDA link (quibra --link irda)\n",
               name);
  return 2;
}

bool ParseInt(const char* text, int& out) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < -1000000 || value > 1000000) return false;
  out = static_cast<int>(value);
  return true;
}

}  // namespace

int RunSimProgram(const char* name, int argc, char** argv) {
  int type = -1;
  int variant = 0;
  int product_code = -1;
  bool paced = false;
  bool irda = false;
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--type" && i + 1 < argc) {
      if (!ParseInt(argv[++i], type)) return Usage(name);
    } else if (arg == "--variant" && i + 1 < argc) {
      if (!ParseInt(argv[++i], variant)) return Usage(name);
    } else if (arg == "--product-code" && i + 1 < argc) {
      if (!ParseInt(argv[++i], product_code)) return Usage(name);
    } else if (arg == "--paced") {
      paced = true;
    } else if (arg == "--irda") {
      irda = true;
    } else {
      return Usage(name);
    }
  }
  if (!Unit::SupportsType(type) || (paced && irda)) return Usage(name);

  // Block the stop signals before the unit's thread starts, so that only sigwait below takes
  // them and the thread is stopped and joined in order.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);

  try {
    Unit unit(type, variant, product_code < 0 ? DefaultProductCode(type) : product_code);
    SerialLink link(unit, paced, SerialLink::kDefaultTurnaround,
                    irda ? SerialLink::Framing::ShortFormBlocks : SerialLink::Framing::Serial);
    const std::string path = link.start();
    if (path.empty()) {
      std::fprintf(stderr, "%s: no pseudo-terminal: %s\n", name, std::strerror(errno));
      return 1;
    }
    std::printf("%s\n", path.c_str());
    std::fflush(stdout);
    int signal_number = 0;
    sigwait(&stop_signals, &signal_number);
    link.stop();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s: %s\n", name, error.what());
    return 1;
  }
  return 0;
}

}  // namespace quibra::sim
