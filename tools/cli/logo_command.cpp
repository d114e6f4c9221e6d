#include "logo_command.h"

#include <png.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <sstream>
#include <system_error>

#include "commands.h"
#include "destination.h"
#include "failure.h"
#include "identify.h"
#include "library_session.h"
#include "output_file.h"
#include "pipcast_receiver.h"
#include "quibra/quibra.h"
#include "terminal_view.h"

namespace quibra::cli {
namespace {

// Larger pictures cannot be a logo; the bound keeps a hostile header from asking for gigabytes.
constexpr int32_t kMaxSide = 4096;
constexpr int32_t kMaxSlot = 255;
// A PNG pixel is set when it is opaque and dark.
constexpr uint8_t kHalf = 128;
constexpr size_t kBytesPerLine = 16;
// The widest logo display has 64 columns; the library reads as many as the unit type has.
constexpr size_t kWidestLogo = 64;
// The upload sound carries a message image between two zero bytes on either side.
constexpr size_t kSoundPadding = 2;
// The library's error code for a file it could not create.
constexpr int32_t kErrorFile = 2;

struct Options {
  std::string image;
  int32_t type = 0;
  int32_t slot = 0;
  Destination to;
  bool dry_run = false;
};

// A whole decimal number within low..high and nothing after it.
bool ParseNumber(const std::string& text, int32_t low, int32_t high, int32_t& out) {
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (end == text.c_str() || *end != '\0' || value < low || value > high) return false;
  out = static_cast<int32_t>(value);
  return true;
}

// The header tokens of a PBM: whitespace separates them, '#' starts a comment to the line's end.
class PbmHeader {
 public:
  explicit PbmHeader(const std::string& bytes) : bytes_(bytes) {}
  std::string token() {
    skip_space();
    std::string out;
    while (pos_ < bytes_.size() && !std::isspace(static_cast<unsigned char>(bytes_[pos_])) &&
           bytes_[pos_] != '#')
      out += bytes_[pos_++];
    return out;
  }
  size_t pos() const { return pos_; }

 private:
  void skip_space() {
    while (pos_ < bytes_.size()) {
      if (bytes_[pos_] == '#') {
        while (pos_ < bytes_.size() && bytes_[pos_] != '\n')
          ++pos_;
      } else if (std::isspace(static_cast<unsigned char>(bytes_[pos_]))) {
        ++pos_;
      } else {
        break;
      }
    }
  }
  const std::string& bytes_;
  size_t pos_ = 0;
};

std::optional<Bitmap> ReadPng(const std::string& path, std::string& error) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
    error = image.message;
    return std::nullopt;
  }
  if (image.width == 0 || image.height == 0 || image.width > kMaxSide || image.height > kMaxSide) {
    png_image_free(&image);
    error = "the picture is too large for a logo";
    return std::nullopt;
  }
  image.format = PNG_FORMAT_GA;  // gray and alpha: two bytes a pixel
  std::vector<uint8_t> buffer(PNG_IMAGE_SIZE(image));
  if (png_image_finish_read(&image, nullptr, buffer.data(), 0, nullptr) == 0) {
    error = image.message;
    return std::nullopt;
  }
  Bitmap bitmap{static_cast<int32_t>(image.width), static_cast<int32_t>(image.height), {}};
  bitmap.pixels.resize(size_t{image.width} * image.height);
  for (size_t i = 0; i < bitmap.pixels.size(); ++i)
    bitmap.pixels[i] = buffer[2 * i] < kHalf && buffer[2 * i + 1] >= kHalf ? 1 : 0;
  return bitmap;
}

std::optional<Bitmap> ReadPicture(const std::string& path, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = "cannot open " + path;
    return std::nullopt;
  }
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (bytes.size() >= 2 && bytes[0] == 'P' && (bytes[1] == '1' || bytes[1] == '4'))
    return ParsePbm(bytes, error);
  if (bytes.size() >= 8 && png_sig_cmp(reinterpret_cast<png_const_bytep>(bytes.data()), 0, 8) == 0)
    return ReadPng(path, error);
  error = path + " is neither a PBM nor a PNG picture";
  return std::nullopt;
}

// Column c of the logo: bit r set when the pixel in row r is.
std::vector<int32_t> ToColumns(const Bitmap& bitmap) {
  std::vector<int32_t> columns(kWidestLogo, 0);
  for (int32_t r = 0; r < bitmap.height; ++r) {
    for (int32_t c = 0; c < bitmap.width; ++c) {
      if (bitmap.pixels[static_cast<size_t>(r) * bitmap.width + c] != 0)
        columns[static_cast<size_t>(c)] |= 1 << r;
    }
  }
  return columns;
}

// Prints the message images a unit hears in an upload sound; false when the file is not one.
bool PrintImages(const std::string& wave) {
  const std::optional<std::vector<uint8_t>> heard = sim::ListenToPipcastFile(wave);
  if (!heard || heard->size() < 2 * kSoundPadding) {
    std::fprintf(stderr, "quibra: %s does not hold a logo the unit could hear\n", wave.c_str());
    return false;
  }
  const std::vector<uint8_t> image(heard->begin() + kSoundPadding, heard->end() - kSoundPadding);
  std::printf("message %d, %zu bytes:", image.size() > 1 ? 9000 + image[1] : 0, image.size());
  for (size_t i = 0; i < image.size(); ++i)
    std::printf("%s%02X", i % kBytesPerLine == 0 ? "\n  " : " ", image[i]);
  std::printf("\n");
  return true;
}

// Packs the logo into its upload sound, written to `wave` (a logo of two parts writes its second
// part to a file of its own), and prints the images the sound carries. The names of the files
// go to `written`. The exit code: 0, 1 when a file cannot be written, 2 when the logo does not
// fit the unit.
int WriteLogoSound(const Options& o, std::vector<int32_t>& columns, const std::string& wave,
                   std::vector<std::string>& written) {
  CommParams params{};
  Destination to;
  to.sound_file = wave;
  if (!SoundFileParams(to, params)) {
    std::fprintf(stderr, "quibra: the file name %s is too long\n", wave.c_str());
    return kExitUsage;
  }
  const int32_t result = fnQuibra_SendMonitorLogo(&params, o.type, columns.data(), o.slot);
  // A two-part logo names the file of its second part in FilePath. Both names are handed back
  // also after a failure, so that the caller can clear away a part that was written.
  written.push_back(wave);
  if (wave != params.FilePath) written.emplace_back(params.FilePath);
  if (result != 1) {
    if (fnQuibra_GetErrorCode() == kErrorFile) {
      std::fprintf(stderr, "quibra: cannot write %s\n", params.FilePath);
      return 1;
    }
    std::fprintf(stderr, "quibra: the logo does not fit monitor type %d\n", o.type);
    return 2;
  }
  for (const std::string& file : written) {
    if (!PrintImages(file)) return 1;
  }
  std::fflush(stdout);
  return 0;
}

// A name for a wave file of the tool's own in the temporary directory.
std::string TemporaryWave() {
  std::random_device random;
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
  return (folder / ("quibra-logo-" + std::to_string(random()) + ".wav")).string();
}

int SendOverInfrared(const Options& o, std::vector<int32_t>& columns) {
  TerminalView view;
  if (!OpenLink(o.to.port, o.to.link)) return 1;
  CommParams params{};
  params.Size = QUIBRA_COMM_PARAMS_SIZE;
  params.LinkType = 1;
  params.ShowDialog = 1;
  const int32_t result = fnQuibra_SendMonitorLogo(&params, o.type, columns.data(), o.slot);
  fnQuibra_EndIRCommunication(0);
  if (result != 1) {
    std::fprintf(stderr, "quibra: the logo could not be sent\n");
    return 1;
  }
  return 0;
}

}  // namespace

std::optional<Bitmap> ParsePbm(const std::string& bytes, std::string& error) {
  PbmHeader header(bytes);
  const std::string magic = header.token();
  int32_t width = 0;
  int32_t height = 0;
  const std::string w = header.token();
  const std::string h = header.token();
  if ((magic != "P1" && magic != "P4") || !ParseNumber(w, 1, kMaxSide, width) ||
      !ParseNumber(h, 1, kMaxSide, height)) {
    error = "not a PBM picture of a sensible size";
    return std::nullopt;
  }
  Bitmap bitmap{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height, 0)};
  size_t pos = header.pos();
  if (magic == "P4") {
    // One whitespace byte, then each row packed eight pixels a byte, the first in the top bit.
    const size_t row_bytes = (static_cast<size_t>(width) + 7) / 8;
    ++pos;
    if (pos > bytes.size() || bytes.size() - pos < row_bytes * height) {
      error = "the PBM raster is short";
      return std::nullopt;
    }
    for (int32_t r = 0; r < height; ++r) {
      for (int32_t c = 0; c < width; ++c) {
        const auto byte = static_cast<uint8_t>(bytes[pos + r * row_bytes + c / 8]);
        bitmap.pixels[static_cast<size_t>(r) * width + c] = (byte >> (7 - c % 8)) & 1;
      }
    }
    return bitmap;
  }
  size_t filled = 0;
  for (; pos < bytes.size() && filled < bitmap.pixels.size(); ++pos) {
    const char ch = bytes[pos];
    if (ch == '0' || ch == '1') {
      bitmap.pixels[filled++] = ch == '1' ? 1 : 0;
    } else if (ch == '#') {
      while (pos < bytes.size() && bytes[pos] != '\n')
        ++pos;
    } else if (!std::isspace(static_cast<unsigned char>(ch))) {
      error = "the PBM raster holds something other than 0 and 1";
      return std::nullopt;
    }
  }
  if (filled < bitmap.pixels.size()) {
    error = "the PBM raster is short";
    return std::nullopt;
  }
  return bitmap;
}

namespace {

int SendLogo(const Options& o) {
  const LibrarySession library;
  const int32_t rows = fnQuibra_GetLogoRowCount(o.type);
  const int32_t cols = fnQuibra_GetLogoColCount(o.type);
  if (rows == 0) {
    std::fprintf(stderr, "quibra: monitor type %d has no logo\n", o.type);
    return 2;
  }
  std::string error;
  const std::optional<Bitmap> bitmap = ReadPicture(o.image, error);
  if (!bitmap) {
    std::fprintf(stderr, "quibra: %s\n", error.c_str());
    return 2;
  }
  if (bitmap->width > cols || bitmap->height > rows) {
    std::fprintf(stderr,
                 "quibra: the picture is %dx%d; a logo of monitor type %d is at most %dx%d\n",
                 bitmap->width, bitmap->height, o.type, cols, rows);
    return 2;
  }
  std::vector<int32_t> columns = ToColumns(*bitmap);
  std::vector<std::string> written;
  if (!o.to.sound_file.empty()) {
    const int status = WriteLogoSound(o, columns, o.to.sound_file, written);
    if (status != 0) return status;
    for (const std::string& file : written)
      std::printf("%s\n", file.c_str());
    return 0;
  }
  // The bytes are shown as the upload sound carries them, the same images that go over
  // infrared; the sound itself is not kept.
  const int status = WriteLogoSound(o, columns, TemporaryWave(), written);
  for (const std::string& file : written) {
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
  }
  if (status != 0 || o.dry_run) return status;
  return SendOverInfrared(o, columns);
}

// ---- logo get ----------------------------------------------------------------------------

// The types whose logo the library reads back: the older units that answer their logo image,
// the outdoor units (in two parts) and the running and cycling units (from a slot).
constexpr int32_t kReadableLogoTypes[] = {11, 12, 13, 20, 21, 22, 33, 34, 35, 36, 37, 38};
constexpr uint8_t kDark = 0;
constexpr uint8_t kLight = 255;

struct GetOptions {
  int32_t type = 0;
  int32_t slot = 0;
  Destination from;
  std::string out;
};

bool ReadsLogo(int32_t type) {
  return std::find(std::begin(kReadableLogoTypes), std::end(kReadableLogoTypes), type) !=
         std::end(kReadableLogoTypes);
}

// Writes the columns as a gray PNG of the display's size, set pixels dark.
bool WritePng(const std::string& path, const std::vector<int32_t>& columns, int32_t rows,
              int32_t cols) {
  std::vector<uint8_t> pixels(static_cast<size_t>(rows) * cols, kLight);
  for (int32_t r = 0; r < rows; ++r) {
    for (int32_t c = 0; c < cols; ++c) {
      if ((columns[static_cast<size_t>(c)] >> r & 1) != 0)
        pixels[static_cast<size_t>(r) * cols + c] = kDark;
    }
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(cols);
  image.height = static_cast<png_uint_32>(rows);
  image.format = PNG_FORMAT_GRAY;
  return png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr) != 0;
}

int GetLogo(const GetOptions& o) {
  const LibrarySession library;
  const int32_t rows = fnQuibra_GetLogoRowCount(o.type);
  const int32_t cols = fnQuibra_GetLogoColCount(o.type);
  if (!ReadsLogo(o.type) || rows == 0) {
    std::fprintf(stderr, "quibra: the logo of monitor type %d cannot be read\n", o.type);
    return kExitUsage;
  }
  TerminalView view;
  if (!OpenLink(o.from.port, o.from.link)) return kExitFailure;
  CommParams params{};
  params.Size = QUIBRA_COMM_PARAMS_SIZE;
  params.LinkType = 1;
  params.ShowDialog = 1;
  params.MonitorType = static_cast<uint32_t>(o.type);
  std::vector<int32_t> columns(kWidestLogo, 0);
  const int32_t result = fnQuibra_ReadMonitorLogo(&params, o.type, columns.data(), o.slot);
  fnQuibra_EndIRCommunication(0);
  if (result != 1) {
    std::fprintf(stderr, "quibra: the logo could not be read%s\n", LibraryErrorCause().c_str());
    return kExitFailure;
  }
  OutputFile file(o.out);
  std::string error;
  if (!WritePng(file.partial(), columns, rows, cols) || !file.Commit(true, error)) {
    std::fprintf(stderr, "quibra: cannot write %s%s\n", o.out.c_str(),
                 error.empty() ? "" : (": " + error).c_str());
    return kExitFailure;
  }
  std::printf("%s\n", o.out.c_str());
  return 0;
}

void AddGetVerb(CLI::App* logo, CommandRun& run) {
  auto o = std::make_shared<GetOptions>();
  CLI::App* sub = logo->add_subcommand(
      "get", "read the unit's logo and write it as a PNG picture (set pixels dark)");
  sub->add_option("--type", o->type, "the unit's monitor type")
      ->required()
      ->check(CLI::Range(1, 99));
  sub->add_option("--slot", o->slot, "the logo slot")->check(CLI::Range(0, kMaxSlot));
  sub->add_option("--out", o->out, "the picture to write")->required()->option_text("FILE.png");
  AddDestinationOptions(sub, o->from, false);
  sub->callback([o, &run] {
    CheckDestination(o->from, false);
    run = [o] { return GetLogo(*o); };
  });
}

}  // namespace

void AddLogoCommand(CLI::App& app, CommandRun& run) {
  CLI::App* logo = app.add_subcommand("logo", "send a logo to a unit, or read it");
  logo->require_subcommand(1);
  AddGetVerb(logo, run);
  auto o = std::make_shared<Options>();
  CLI::App* sub = logo->add_subcommand(
      "send",
      "check a PBM or PNG picture against the unit's logo display, pack it (the bytes "
      "are printed) and send it; dark pixels are set, the picture may be smaller than "
      "the display");
  sub->add_option("picture", o->image, "FILE.pbm or FILE.png")->required();
  sub->add_option("--type", o->type, "the unit's monitor type")
      ->required()
      ->check(CLI::Range(1, 99));
  sub->add_option("--slot", o->slot, "the logo slot")->check(CLI::Range(0, kMaxSlot));
  AddDestinationOptions(sub, o->to, true);
  sub->add_flag("--dry-run", o->dry_run, "only check and pack the picture");
  sub->callback([o, &run] {
    if (!o->dry_run) CheckDestination(o->to, true);
    run = [o] { return SendLogo(*o); };
  });
}

}  // namespace quibra::cli
