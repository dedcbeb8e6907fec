#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Conversions of field texts to numbers, with the C runtime's atoi and atof
// rules restricted to decimal notation: leading white space is skipped, the
// longest leading part that forms a decimal number is taken, and a text with
// no such part gives 0. Hexadecimal forms and the words "inf" and "nan" are
// not numbers here. Never undefined, whatever the bytes.

// Optional sign and decimal digits; values beyond the 32-bit range clamp to it.
int32_t DecimalTextToInt32(std::string_view text);

// Optional sign, digits with an optional fraction, optional exponent.
// Out-of-range values follow strtod: overflow gives an infinity, underflow 0.
double DecimalTextToDouble(std::string_view text);

// DecimalTextToDouble rounded to the nearest single-precision value; values
// beyond the float range round to an infinity as the hardware would.
float DecimalTextToFloat(std::string_view text);

// The whole text as a finite decimal number (optional sign, digits with an
// optional fraction, optional exponent), for texts a user types rather than
// field texts; nothing for anything else, blanks, "inf" and "nan" included.
std::optional<double> ParseWholeDecimal(std::string_view text);
