#pragma once

#include <string>

// Appends a finite coordinate, widened to double, exactly as printf's "%f"
// (six decimals) writes it, but through std::to_chars, which gives the same
// correctly rounded digits several times faster and without the C locale.
void AppendDegrees(std::string& out, float degrees);
