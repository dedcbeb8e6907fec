#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The values a user types into a mine query, read by the one rule that both
// vemra-cli's options and the program's "Find Mines" window follow. Each
// function returns the value, or nothing with `error` saying why the text is
// not one (without naming the field or option it came from).

// The widest corridor asked of a route, in km.
inline constexpr double kMaxCorridorKm = 1000.0;

// A decimal number of degrees within ±limit (90 for a latitude, 180 for a
// longitude): "not a decimal number: TEXT", "outside -90 to 90: TEXT".
std::optional<double> ParseDegrees(std::string_view text, double limit, std::string& error);

// How many mines: a whole number of 1 or more in decimal digits alone, so
// that "1e3" or "+2" is refused: "expected a whole number of mines, 1 or
// more: TEXT".
std::optional<std::size_t> ParseMineCount(std::string_view text, std::string& error);

// A distance limit around a point, of 0 km or more: "expected a distance of
// 0 km or more: TEXT".
std::optional<double> ParseDistanceKm(std::string_view text, std::string& error);

// The corridor around a route, from 0 to kMaxCorridorKm: "expected a distance
// from 0 to 1000 km: TEXT".
std::optional<double> ParseCorridorKm(std::string_view text, std::string& error);
