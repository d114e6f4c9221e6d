// The exercise the library decoded last, read through its public getters into the exercise
// model, value for value as the library's HRM writer puts it in a file.
#pragma once

#include "exercise_model.h"

namespace quibra::cli::formats {

// The note stays empty: the library keeps the exercise's name for its own HRM files and has no
// getter for it.
ExerciseModel ModelFromStore();

}  // namespace quibra::cli::formats
