// What every seed writer shares: a seed is one file DIRECTORY/seed-N holding a target's input,
// its selector bytes first and the body after them. A seed writer's main is then only its list
// of seeds. Seeds are not cut to a target's longest input: the fuzzer cuts what it loads.
// Usage of every seed writer: NAME_seeds DIRECTORY
#pragma once

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace quibra::fuzz {

using Bytes = std::vector<uint8_t>;

class SeedWriter {
 public:
  explicit SeedWriter(std::string dir) : dir_(std::move(dir)) {}

  void write(std::initializer_list<uint8_t> head, const Bytes& body) {
    Bytes input(head);
    input.insert(input.end(), body.begin(), body.end());
    std::ofstream out(dir_ + "/seed-" + std::to_string(written_++), std::ios::binary);
    out.write(reinterpret_cast<const char*>(input.data()),
              static_cast<std::streamsize>(input.size()));
  }

  int written() const { return written_; }

 private:
  std::string dir_;
  int written_ = 0;
};

// The main of a seed writer: checks its one argument and reports how many seeds `seeds` wrote.
template <typename Seeds>
int SeedMain(int argc, char** argv, Seeds seeds) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
    return 2;
  }
  SeedWriter writer(argv[1]);
  seeds(writer);
  std::printf("%d seeds written to %s\n", writer.written(), argv[1]);
  return 0;
}

// A length-prefixed piece of an input (two bytes, low first, then the bytes), the way the
// targets that take several answers or packets in one input read them.
inline void AppendPiece(Bytes& input, const Bytes& piece) {
  input.push_back(static_cast<uint8_t>(piece.size() & 0xFF));
  input.push_back(static_cast<uint8_t>((piece.size() >> 8) & 0xFF));
  input.insert(input.end(), piece.begin(), piece.end());
}

}  // namespace quibra::fuzz
