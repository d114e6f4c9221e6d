// The info text of the outdoor units: two display lines of 7 characters, written with message
// 9055 (the unit cannot be asked for it), and the splitting of a longer text into such lines.
#pragma once

#include <cstdint>

#include "quibra/records.h"

namespace quibra::settings {

inline constexpr int32_t kInfoTextsSize = 20;

// Checks both lines against character table 1, packs them into the 9055 image and seals it.
// false, image untouched, when a line holds a character the table lacks.
bool PrepareInfoTexts(OutdoorInfoTexts& record);

int32_t SendInfoTexts(CommParams& params, OutdoorInfoTexts& record);
// Fills the record from the image loaded from the data file (the write layout one index later).
void UnPackInfoTexts(OutdoorInfoTexts& record);

// Splits text into two lines of at most 7 characters (8 bytes each, terminated). The first line
// breaks after its last space when the text does not end within it; spaces at the start of the
// second line are dropped; characters table 1 lacks become spaces. true when the whole text
// fits.
bool SplitInfoText(const char* text, char* line1, char* line2);

}  // namespace quibra::settings
