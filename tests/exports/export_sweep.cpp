#include "exports/export_sweep.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstring>

#include "quibra/records.h"

namespace quibra::testing::sweep {
namespace {

// Pointer kinds without a count get a buffer larger than any the header asks for.
constexpr size_t kArrayElements = 65536;
// The longest text: far past every fixed field and path buffer of the library.
constexpr size_t kLongText = 5000;
// A Size far past any layout.
constexpr int64_t kHugeSize = 0x7FFFFFF0;
// The largest count a counted buffer is swept with (the buffer is allocated at that size).
constexpr int64_t kLargestCount = 65536;

Value Number(int64_t n) {
  Value v;
  v.number = n;
  v.label = std::to_string(n);
  return v;
}

Value Null(bool refuse, bool must_fail) {
  Value v;
  v.refuse = refuse;
  v.must_fail = must_fail;
  v.label = "nullptr";
  return v;
}

Value Bytes(const char* label) {
  Value v;
  v.storage = Value::Storage::Bytes;
  v.label = label;
  return v;
}

Value Text(std::string text, std::string label) {
  Value v;
  v.storage = Value::Storage::Text;
  v.text = std::move(text);
  v.label = std::move(label);
  return v;
}

std::vector<int64_t> Integers(const ArgShape& shape) {
  std::vector<int64_t> all{0, -1, 1, INT32_MIN, INT32_MAX};
  for (int64_t end : shape.range_ends) {
    for (int64_t n : {end - 1, end, end + 1}) {
      if (n >= INT32_MIN && n <= INT32_MAX && std::find(all.begin(), all.end(), n) == all.end()) {
        all.push_back(n);
      }
    }
  }
  return all;
}

std::vector<Value> Records(const ArgShape& shape) {
  const bool sized = shape.kind == Kind::SizedRecord;
  std::vector<Value> all;
  Value full = Bytes("{Size=sizeof}");
  full.size_field = static_cast<int64_t>(shape.element_size);
  all.push_back(full);
  if (shape.type == std::string("CommParams")) {
    // The well-formed parameters go over infrared; these take the sound link instead.
    all.front().label = "{Size=sizeof, infrared}";
    all.front().link_type = 1;
    full.label = "{Size=sizeof, sound}";
    all.push_back(full);
  }
  all.push_back(Null(true, true));
  for (int64_t size : {int64_t{0}, int64_t{-1}, int64_t{1}, int64_t{2}, int64_t{3}, kHugeSize}) {
    Value v = Bytes("");
    v.size_field = size;
    v.label = "{Size=" + std::to_string(size) + "}";
    // A negative Size or one that cannot hold the Size field itself must fail a settings call.
    v.bad_size = sized && size != 0 && size < 4;
    v.refuse = v.must_fail = v.bad_size;
    all.push_back(v);
  }
  return all;
}

}  // namespace

std::vector<Value> ValuesOf(const ArgShape& shape, const std::string& missing_path) {
  std::vector<Value> all;
  switch (shape.kind) {
    case Kind::Int:
      for (int64_t n : Integers(shape)) all.push_back(Number(n));
      break;
    case Kind::BufLen:
      for (int64_t n : Integers(shape)) {
        if (n <= kLargestCount) all.push_back(Number(n));
      }
      break;
    case Kind::Word:
      // No window, and one that is not: the headless dialogs take either.
      for (int64_t n : {int64_t{0}, int64_t{UINT32_MAX}}) all.push_back(Number(n));
      break;
    case Kind::Text:
    case Kind::TextBuf:
      all.push_back(Text("", "\"\""));
      all.push_back(Null(false, false));
      all.push_back(Text(std::string(kLongText, 'x'), "<5000 x>"));
      all.push_back(Text(missing_path, "<path in a missing folder>"));
      break;
    case Kind::Record:
    case Kind::SizedRecord:
      all = Records(shape);
      break;
    case Kind::Table:
      all.push_back(Bytes("{zeroed}"));
      all.push_back(Null(true, false));
      break;
    case Kind::Array:
    case Kind::ArrayN:
      all.push_back(Bytes("<buffer>"));
      all.push_back(Null(true, false));
      break;
    case Kind::Opaque:
      all.push_back(Null(false, false));
      break;
  }
  return all;
}

Call::Call(const std::vector<ArgShape>& shapes, const std::vector<const Value*>& values)
    : values_(values), pointers_(values.size(), nullptr) {
  for (size_t i = 0; i < shapes.size(); ++i) {
    const Value& v = *values[i];
    const ArgShape& shape = shapes[i];
    size_t bytes = 0;
    if (v.storage == Value::Storage::Text) {
      // A text buffer the export may rewrite: the text and room for a path behind it.
      bytes = std::max<size_t>(v.text.size() + 1, shape.kind == Kind::TextBuf ? 5001 : 0);
    } else if (v.storage == Value::Storage::Bytes) {
      bytes = shape.element_size * kArrayElements;
      if (shape.kind == Kind::Record || shape.kind == Kind::SizedRecord ||
          shape.kind == Kind::Table) {
        bytes = shape.element_size;
      } else if (shape.kind == Kind::ArrayN) {
        // Exactly the count the next argument passes, at least one element.
        const int64_t count = std::max<int64_t>(values[shape.count_index]->number, 1);
        bytes = shape.element_size * static_cast<size_t>(count);
      }
    } else {
      continue;
    }
    storage_.emplace_back(new unsigned char[bytes]());
    unsigned char* p = storage_.back().get();
    if (v.storage == Value::Storage::Text) {
      std::memcpy(p, v.text.c_str(), v.text.size() + 1);
    } else if (shape.kind == Kind::Record || shape.kind == Kind::SizedRecord) {
      const auto size = static_cast<uint32_t>(v.size_field);
      std::memcpy(p, &size, sizeof size);
      if (v.link_type != 0) std::memcpy(p + offsetof(CommParams, LinkType), &v.link_type, 4);
    }
    pointers_[i] = p;
  }
}

}  // namespace quibra::testing::sweep
