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

// True when the whole of `text` is one decimal number of the grammar above:
// an optional sign, digits with an optional decimal point (at least one
// digit), an optional exponent. Blanks are not part of it.
bool IsDecimalNumber(std::string_view text);

// The whole text as a finite decimal number (IsDecimalNumber), for texts a
// user types rather than field texts; nothing for anything else, blanks,
// "inf", "nan" and values beyond the double range included.
std::optional<double> ParseWholeDecimal(std::string_view text);
