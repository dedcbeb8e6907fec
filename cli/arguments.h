#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string_view>

// Latitudes and longitudes of a box in degrees, bounds included.
struct BoundingBox {
    double south = 0.0;
    double west = 0.0;
    double north = 0.0;
    double east = 0.0;

    bool Contains(double latitude, double longitude) const {
        return latitude >= south && latitude <= north && longitude >= west && longitude <= east;
    }
};

// The whole text as a finite decimal number (optional sign, digits, fraction,
// exponent); nothing for anything else, "inf" and "nan" included.
std::optional<double> ParseNumber(std::string_view text);

// "SOUTH,WEST,NORTH,EAST": four numbers, south not above north and west not
// above east; nothing otherwise.
std::optional<BoundingBox> ParseBoundingBox(std::string_view text);

// Option checks that reject what the parsers above reject, so that a bad
// argument is a usage error before any file is touched.
CLI::Validator NumberArgument();
CLI::Validator BoundingBoxArgument();
