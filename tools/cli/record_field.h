// How the quibra tool sees a settings record: a table of its fields, generated from the public
// header, and the conversion of a record to and from JSON along that table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

namespace quibra::cli {

enum class FieldKind { Signed, Unsigned, Text, Record };

struct RecordInfo;

struct RecordField {
  const char* name;
  size_t offset;
  FieldKind kind;
  int count;                 // array length (characters for a text field)
  const RecordInfo* nested;  // the element record of a Record field
  size_t stride;             // the element size of a Record field
};

struct RecordInfo {
  const char* name;
  size_t size;
  const RecordField* fields;
  size_t field_count;
};

// The record at `record` as a JSON object (arrays for array fields, strings for text fields).
nlohmann::ordered_json RecordToJson(const RecordInfo& info, const void* record);

// Sets the fields named in the object; fields it leaves out keep their value. Returns an empty
// text on success, else what was wrong (an unknown field, a value of the wrong kind or range,
// a text too long).
std::string RecordFromJson(const RecordInfo& info, const nlohmann::ordered_json& object,
                           void* record);

}  // namespace quibra::cli
