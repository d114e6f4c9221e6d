#include "exports/export_sweep.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "quibra/records.h"

namespace quibra::testing::sweep {
namespace {

// Pointer kinds without a count get a buffer larger than any the header asks for.
constexpr size_t kArrayElements = 65536;
// The longest text: far past every fixed field and path buffer of the library.
constexpr size_t kLongText = 5000;

Value Of(int64_t n, bool refuse, std::string label) {
  Value v;
  v.number = n;
  v.refuse = refuse;
  v.label = std::move(label);
  return v;
}

Value Stored(Value::Storage storage, std::string text, std::string label) {
  Value v = Of(0, false, std::move(label));
  v.storage = storage;
  v.text = std::move(text);
  return v;
}

}  // namespace

std::vector<Value> ValuesOf(const ArgShape& shape, const std::string& missing_path) {
  std::vector<Value> all;
  const bool required = shape.kind != Kind::Text && shape.kind != Kind::TextBuf &&
                        shape.kind != Kind::Opaque && !shape.null_accepted;
  const Value null = Of(0, required, "nullptr");
  switch (shape.kind) {
    case Kind::Int:
    case Kind::BufLen:
    case Kind::Word:
      for (const Number& n : shape.numbers)
        all.push_back(Of(n.value, n.refused, std::to_string(n.value)));
      break;
    case Kind::Text:
    case Kind::TextBuf:
      all = {Stored(Value::Storage::Text, "", "\"\""), null,
             Stored(Value::Storage::Text, std::string(kLongText, 'x'), "<5000 x>"),
             Stored(Value::Storage::Text, missing_path, "<path in a missing folder>")};
      break;
    case Kind::Record:
      for (const Number& n : shape.numbers) {
        Value v = Stored(Value::Storage::Bytes, "", "{Size=" + std::to_string(n.value) + "}");
        v.size_field = n.value;
        v.refuse = v.bad_size = n.refused;
        all.push_back(v);
      }
      if (shape.type == std::string("CommParams")) {
        // The well-formed parameters go over infrared; the second ones take the sound link.
        all.front().link_type = 1;
        all.insert(all.begin() + 1, all.front());
        all[1].link_type = 0;
        all[1].label += " sound";
      }
      all.push_back(null);
      break;
    case Kind::Table:
    case Kind::Array:
    case Kind::ArrayN:
      all = {Stored(Value::Storage::Bytes, "", "<buffer>"), null};
      break;
    case Kind::Opaque:
      all.push_back(null);
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
      if (shape.kind == Kind::Record || shape.kind == Kind::Table) {
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
    } else if (shape.kind == Kind::Record) {
      const auto size = static_cast<uint32_t>(v.size_field);
      std::memcpy(p, &size, sizeof size);
      if (v.link_type != 0) std::memcpy(p + offsetof(CommParams, LinkType), &v.link_type, 4);
    }
    pointers_[i] = p;
  }
}

}  // namespace quibra::testing::sweep
