// The hostile-argument sweep: every export of the public header called with null pointers,
// records of impossible sizes, extreme integers and unusable texts. The table of exports, their
// argument kinds, the numbers each argument takes and the failure result of a refused call is
// generated at build time from the header (tools/exports/hostile.py); the storage each kind takes
// is chosen here.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quibra::testing::sweep {

enum class Kind {
  Int,      // int32_t
  Word,     // uint32_t (window handles)
  Text,     // const char*
  TextBuf,  // char* the export may rewrite
  Record,   // record that begins with its Size: a negative Size or one of 1..3 is refused
  Table,    // other struct the caller fills in
  Array,    // integers, no count given: a generous buffer or null
  ArrayN,   // buffer whose element count is another argument (BufLen)
  BufLen,   // that count
  Opaque,   // callbacks and context pointers: null only
};

// A number an argument takes (a Record's Size), and whether the export must refuse it.
struct Number {
  int64_t value;
  bool refused;
};

struct ArgShape {
  Kind kind;
  const char* name;
  const char* type;             // the pointee's type for pointer kinds
  size_t element_size;          // sizeof the pointee for pointer kinds
  std::vector<Number> numbers;  // Int, BufLen, Word: the values; Record: the Sizes
  int count_index = -1;         // ArrayN: the argument that holds its element count
  bool null_accepted = false;   // a pointer the export takes null for
};

struct Outcome {
  enum class Type { None, Number, Pointer } type = Type::None;
  int64_t number = 0;
  const void* pointer = nullptr;
  static Outcome Number(int64_t n) { return {Type::Number, n, nullptr}; }
  static Outcome Pointer(const void* p) { return {Type::Pointer, 0, p}; }
};

// One value an argument takes.
struct Value {
  int64_t number = 0;
  enum class Storage { Null, Bytes, Text } storage = Storage::Null;
  int64_t size_field = 0;  // Record kinds: the Size written into the record
  uint32_t link_type = 0;  // CommParams: its LinkType
  std::string text;        // Text kinds: the content
  bool refuse = false;     // the call must do nothing and return its failure result
  bool bad_size = false;   // and set error code 104
  std::string label;
};

// The values of one argument; the first is the well-formed one every other argument keeps
// while one argument runs through its values.
std::vector<Value> ValuesOf(const ArgShape& shape, const std::string& missing_path);

// The arguments of one call, materialised: records and buffers live on the heap at their exact
// size, so a read or write past them is an address-sanitizer error.
class Call {
 public:
  Call(const std::vector<ArgShape>& shapes, const std::vector<const Value*>& values);
  int64_t number(size_t i) const { return values_[i]->number; }
  void* pointer(size_t i) const { return pointers_[i]; }

 private:
  std::vector<const Value*> values_;
  std::vector<void*> pointers_;
  std::vector<std::unique_ptr<unsigned char[]>> storage_;
};

struct ExportCase {
  const char* name;
  std::vector<ArgShape> args;
  Outcome (*invoke)(Call&);
  Outcome failure;    // what a refused call returns (None: a void export)
  bool returns_text;  // the result is a text: null or terminated
};

// Generated from the header.
const std::vector<ExportCase>& AllExports();

}  // namespace quibra::testing::sweep
