#pragma once

// A box of latitudes and longitudes in degrees, bounds included. A box whose
// west edge is greater than its east edge crosses the 180th meridian: it
// holds the longitudes from west up to 180 and from -180 up to east.
struct GeoBox {
    double south = 0.0;
    double west = 0.0;
    double north = 0.0;
    double east = 0.0;

    // False for a position that is not a number.
    bool Contains(double latitude, double longitude) const {
        if (!(latitude >= south && latitude <= north)) {
            return false;
        }
        if (west <= east) {
            return longitude >= west && longitude <= east;
        }
        return longitude >= west || longitude <= east;
    }
};
