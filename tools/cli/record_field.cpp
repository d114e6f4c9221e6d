#include "record_field.h"

#include <cstring>
#include <limits>

namespace quibra::cli {
namespace {

using json = nlohmann::ordered_json;

json ElementToJson(const RecordField& field, const uint8_t* at) {
  switch (field.kind) {
    case FieldKind::Signed: {
      int32_t v = 0;
      std::memcpy(&v, at, sizeof v);
      return v;
    }
    case FieldKind::Unsigned: {
      uint32_t v = 0;
      std::memcpy(&v, at, sizeof v);
      return v;
    }
    case FieldKind::Record:
      return RecordToJson(*field.nested, at);
    case FieldKind::Text:
      break;
  }
  return nullptr;
}

std::string ElementFromJson(const RecordField& field, const json& value, uint8_t* at) {
  if (field.kind == FieldKind::Record) {
    if (!value.is_object()) return std::string(field.name) + ": an object is expected";
    return RecordFromJson(*field.nested, value, at);
  }
  if (!value.is_number_integer()) return std::string(field.name) + ": a whole number is expected";
  const int64_t v = value.get<int64_t>();
  const int64_t low = field.kind == FieldKind::Signed ? std::numeric_limits<int32_t>::min() : 0;
  const int64_t high = field.kind == FieldKind::Signed ? std::numeric_limits<int32_t>::max()
                                                       : std::numeric_limits<uint32_t>::max();
  if (v < low || v > high) return std::string(field.name) + ": out of range";
  const auto bits = static_cast<uint32_t>(v);
  std::memcpy(at, &bits, sizeof bits);
  return {};
}

size_t ElementSize(const RecordField& field) {
  return field.kind == FieldKind::Record ? field.stride : sizeof(int32_t);
}

}  // namespace

json RecordToJson(const RecordInfo& info, const void* record) {
  const auto* base = static_cast<const uint8_t*>(record);
  json object = json::object();
  for (size_t f = 0; f < info.field_count; ++f) {
    const RecordField& field = info.fields[f];
    const uint8_t* at = base + field.offset;
    if (field.kind == FieldKind::Text) {
      // Texts need not be terminated: the field's length bounds them.
      const auto* text = reinterpret_cast<const char*>(at);
      object[field.name] = std::string(text, strnlen(text, static_cast<size_t>(field.count)));
    } else if (field.count == 1) {
      object[field.name] = ElementToJson(field, at);
    } else {
      json list = json::array();
      for (int i = 0; i < field.count; ++i)
        list.push_back(ElementToJson(field, at + static_cast<size_t>(i) * ElementSize(field)));
      object[field.name] = list;
    }
  }
  return object;
}

std::string RecordFromJson(const RecordInfo& info, const json& object, void* record) {
  if (!object.is_object()) return std::string(info.name) + ": an object is expected";
  auto* base = static_cast<uint8_t*>(record);
  for (const auto& [key, value] : object.items()) {
    const RecordField* field = nullptr;
    for (size_t f = 0; f < info.field_count; ++f) {
      if (key == info.fields[f].name) field = &info.fields[f];
    }
    if (field == nullptr) return std::string(info.name) + ": no field " + key;
    uint8_t* at = base + field->offset;
    if (field->kind == FieldKind::Text) {
      if (!value.is_string()) return key + ": a text is expected";
      const std::string text = value.get<std::string>();
      if (text.size() > static_cast<size_t>(field->count)) return key + ": text too long";
      std::memset(at, 0, static_cast<size_t>(field->count));
      std::memcpy(at, text.data(), text.size());
    } else if (field->count == 1) {
      if (std::string error = ElementFromJson(*field, value, at); !error.empty()) return error;
    } else {
      if (!value.is_array() || value.size() > static_cast<size_t>(field->count))
        return key + ": a list of at most " + std::to_string(field->count) + " is expected";
      for (size_t i = 0; i < value.size(); ++i) {
        std::string error = ElementFromJson(*field, value[i], at + i * ElementSize(*field));
        if (!error.empty()) return error;
      }
    }
  }
  return {};
}

}  // namespace quibra::cli
