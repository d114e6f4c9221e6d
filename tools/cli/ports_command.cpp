// quibra ports: the device files a unit may be reached through on this system.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "commands.h"

namespace quibra::cli {
namespace {

namespace fs = std::filesystem;

// The serial lines an infrared adapter is found on: the built-in ports, USB serial converters
// and modem-class USB devices.
constexpr const char* kSerialPrefixes[] = {"ttyS", "ttyUSB", "ttyACM"};
constexpr int kUsbAdapterFiles = 4;  // /dev/orvekusb0 .. /dev/orvekusb3

std::vector<std::string> SerialPorts() {
  std::vector<std::string> ports;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator("/sys/class/tty", error)) {
    const std::string name = entry.path().filename().string();
    bool wanted = false;
    for (const char* prefix : kSerialPrefixes)
      wanted = wanted || name.rfind(prefix, 0) == 0;
    // The kernel lists every possible built-in port; only those with a device behind them (a
    // driver bound to it) are real.
    std::error_code ignored;
    const bool backed =
        name.rfind("ttyS", 0) != 0 || fs::exists(entry.path() / "device/driver", ignored);
    const std::string dev = "/dev/" + name;
    if (wanted && backed && fs::exists(dev, ignored)) ports.push_back(dev);
  }
  std::sort(ports.begin(), ports.end());
  return ports;
}

int Ports() {
  const std::vector<std::string> serial = SerialPorts();
  for (const std::string& port : serial)
    std::printf("%s  serial (--port %s)\n", port.c_str(), port.c_str());
  int usb = 0;
  for (int n = 0; n < kUsbAdapterFiles; ++n) {
    const std::string dev = "/dev/orvekusb" + std::to_string(n);
    std::error_code ignored;
    if (!fs::exists(dev, ignored)) continue;
    std::printf("%s  USB infrared adapter (--link usb)\n", dev.c_str());
    ++usb;
  }
  if (serial.empty() && usb == 0) std::printf("no serial ports and no USB infrared adapter\n");
  return 0;
}

}  // namespace

void AddPortsCommand(CLI::App& app, CommandRun& run) {
  CLI::App* sub = app.add_subcommand("ports",
                                     "list the serial ports and the USB infrared adapter's device "
                                     "files that exist");
  sub->callback([&run] { run = Ports; });
}

}  // namespace quibra::cli
