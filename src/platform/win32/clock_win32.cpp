// win32 backend of the clock: GetTickCount, QueryPerformanceCounter, GetLocalTime, Sleep.
#include <windows.h>

#include "platform/clock.h"

namespace quibra::platform {
namespace {

class Win32Clock final : public Clock {
 public:
  uint32_t tick_ms() override { return GetTickCount(); }

  uint64_t performance_counter() override {
    LARGE_INTEGER value{};
    QueryPerformanceCounter(&value);
    return static_cast<uint64_t>(value.QuadPart);
  }

  uint64_t performance_frequency() override {
    LARGE_INTEGER value{};
    QueryPerformanceFrequency(&value);
    return static_cast<uint64_t>(value.QuadPart);
  }

  LocalDateTime local_now() override {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    LocalDateTime now;
    now.year = st.wYear;
    now.month = st.wMonth;
    now.day = st.wDay;
    now.weekday = st.wDayOfWeek;
    now.hour = st.wHour;
    now.minute = st.wMinute;
    now.second = st.wSecond;
    now.millisecond = st.wMilliseconds;
    return now;
  }

  void sleep_ms(uint32_t ms) override { Sleep(ms); }

  // A wakeable pause waits on its signal's condition (posix threads of the mingw runtime).
  bool sleep_ms_unless(uint32_t ms, WakeSignal& wake) override {
    return wake.wait_for(std::chrono::milliseconds(ms));
  }
};

}  // namespace

Clock& system_clock() {
  static Win32Clock instance;
  return instance;
}

}  // namespace quibra::platform
