#include "frame/trace.h"

#include <cstdarg>

namespace quibra::frame {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

}  // namespace

Trace::~Trace() {
  close();
}

bool Trace::open(const std::string& path) {
  close();
  std::FILE* file = std::fopen(path.c_str(), "a");
  if (file == nullptr) return false;
  {
    std::lock_guard guard(lock_);
    file_ = file;
    path_ = path;
    start_ = std::chrono::steady_clock::now();
    // The time of day once (UTC), so that a trace can be matched with what the user did.
    namespace c = std::chrono;
    const auto now = c::floor<c::seconds>(c::system_clock::now());
    const auto day = c::floor<c::days>(now);
    const c::year_month_day date{day};
    const c::hh_mm_ss time{now - day};
    std::fprintf(file_, "# quibra trace begins %04d-%02u-%02u %02d:%02d:%02d UTC\n",
                 static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                 static_cast<unsigned>(date.day()), static_cast<int>(time.hours().count()),
                 static_cast<int>(time.minutes().count()),
                 static_cast<int>(time.seconds().count()));
    std::fflush(file_);
  }
  on_.store(true, std::memory_order_relaxed);
  return true;
}

void Trace::close() {
  on_.store(false, std::memory_order_relaxed);
  std::lock_guard guard(lock_);
  flush_received_locked();
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  path_.clear();
}

std::string Trace::path() const {
  std::lock_guard guard(lock_);
  return path_;
}

double Trace::seconds() const {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
}

void Trace::event(const char* format, ...) {
  if (!on()) return;
  char text[256];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  write_line(text);
}

void Trace::write_bytes(const char* link, TraceDirection direction, const uint8_t* data,
                        size_t count) {
  std::string hex;
  hex.reserve(3 * count);
  for (size_t i = 0; i < count; ++i) {
    hex += ' ';
    hex += kHex[data[i] >> 4];
    hex += kHex[data[i] & 15];
  }
  std::lock_guard guard(lock_);
  if (direction == TraceDirection::Received) {
    if (!received_.empty() && received_link_ != link) flush_received_locked();
    if (received_.empty()) {
      received_link_ = link;
      received_at_ = seconds();
    }
    received_ += hex;
    received_count_ += count;
    return;
  }
  flush_received_locked();
  const std::string line = std::string("sent ") + link + ' ' + std::to_string(count) + ':' + hex;
  put_locked(seconds(), line.c_str());
}

void Trace::write_line(const char* text) {
  std::lock_guard guard(lock_);
  flush_received_locked();
  put_locked(seconds(), text);
}

void Trace::end_received() {
  std::lock_guard guard(lock_);
  flush_received_locked();
}

void Trace::flush_received_locked() {
  if (received_.empty()) return;
  const std::string line =
      "received " + received_link_ + ' ' + std::to_string(received_count_) + ':' + received_;
  received_.clear();
  received_count_ = 0;
  put_locked(received_at_, line.c_str());
}

void Trace::put_locked(double at, const char* text) {
  if (file_ == nullptr) return;
  // Flushed line by line: the trace matters most when the program hangs or dies.
  std::fprintf(file_, "%11.6f %s\n", at, text);
  std::fflush(file_);
}

}  // namespace quibra::frame
