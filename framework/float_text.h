#pragma once

#include <optional>
#include <string>
#include <string_view>

// The texts that dialog data exchange shows for a single-precision number and
// accepts back from an edit box.

// `value` widened to double with at most six significant digits, as printf's
// "%g" writes it: 0.001f gives "0.001", 1e-7f gives "1e-07".
std::string FloatToDialogText(float value);

// The number that the whole of `text` spells, blanks and tabs around it
// aside: an optional sign, digits with an optional decimal point (at least
// one digit), an optional exponent. Nothing for any other text, including
// the empty text, hexadecimal forms, "inf" and "nan". A value beyond the
// float range gives an infinity of its sign; one too small for it, zero.
std::optional<float> DialogTextToFloat(std::string_view text);
