#include "frame/unit_names.h"

#include <iterator>

namespace quibra::frame {
namespace {

// Display names by type code 6..40; codes without a unit have an empty name.
constexpr const char* kTypeNames[kLastNamedType - kFirstNamedType + 1] = {
    "Orvek K41",   // 6
    "",            // 7
    "Orvek K20",   // 8
    "Orvek K30",   // 9
    "Orvek K40",   // 10
    "Orvek K50",   // 11
    "Orvek K60",   // 12
    "Orvek K70",   // 13
    "Orvek M5",    // 14
    "Orvek M8",    // 15
    "Orvek K10",   // 16
    "Orvek K11",   // 17
    "Orvek M1",    // 18
    "Orvek TRK1",  // 19
    "Orvek TRK2",  // 20
    "Orvek TRK3",  // 21
    "Orvek K55T",  // 22
    "Orvek K65",   // 23
    "Orvek J1",    // 24
    "Orvek J2",    // 25
    "Orvek J3",    // 26
    "Orvek J9",    // 27
    "Orvek PR2",   // 28
    "Orvek VC2",   // 29
    "Orvek PR3",   // 30
    "Orvek VC3",   // 31
    "Orvek VC4",   // 32
    "Orvek VC6",   // 33
    "Orvek VC8Z",  // 34
    "Orvek VC8",   // 35
    "Orvek PR6",   // 36
    "Orvek PR9",   // 37
    "Orvek PR9W",  // 38
    "",            // 39
    "Orvek M2",    // 40
};

struct NameRule {
  int32_t key;
  const char* name;
};

// Variant -1 asks for the family name that covers every model sold under a type.
constexpr NameRule kFamilyNames[] = {
    {6, "Orvek K41 / K40"},          {10, "Orvek K41 / K40"},  {11, "Orvek K50e / K50"},
    {12, "Orvek K61e / K60e / K60"}, {13, "Orvek K70e / K70"}, {22, "Orvek K65T / K55T"},
};

// Variants that identify a model by themselves, whatever the type says.
constexpr NameRule kVariantNames[] = {
    {18, "Orvek K50e"}, {35, "Orvek K60e"}, {36, "Orvek K61e"},
    {38, "Orvek K65T"}, {52, "Orvek K70e"},
};

constexpr int32_t kFirstVariant = -1;
constexpr int32_t kLastVariant = 52;

const char* find(const NameRule* begin, const NameRule* end, int32_t key) {
  for (const NameRule* rule = begin; rule != end; ++rule) {
    if (rule->key == key) return rule->name;
  }
  return nullptr;
}

}  // namespace

const char* MonitorName(int32_t type, int32_t variant) {
  if (type < kFirstNamedType || type > kLastNamedType) return "";
  const char* table_name = kTypeNames[type - kFirstNamedType];
  if (variant < kFirstVariant || variant > kLastVariant) return table_name;
  const char* special = variant == -1
                            ? find(std::begin(kFamilyNames), std::end(kFamilyNames), type)
                            : find(std::begin(kVariantNames), std::end(kVariantNames), variant);
  return special != nullptr ? special : table_name;
}

}  // namespace quibra::frame
