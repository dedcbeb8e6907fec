#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "minedata/mine_array.h"

// At most this many characters of the sensitivity text are read.
inline constexpr std::size_t kSensitivityTextLimit = 30;

// The sensitivity, in degrees, that the text of the sensitivity box stands
// for: its first 30 characters read as atof reads them (decimal notation
// only), rounded to single precision.
float SensitivityFromText(std::string_view text);

// The index of the first mine, from element 1 on, whose latitude and
// longitude (widened to double) both differ from the clicked point by
// strictly less than the sensitivity; nothing when no mine matches. A
// coordinate that is not a number never matches.
std::optional<std::size_t> FindMineAt(const CMineArray& mines, double latitude, double longitude,
                                      float sensitivity);
