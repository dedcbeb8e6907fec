#pragma once

#include <string>
#include <vector>

#include "minedata/geo_box.h"

// The geometry of the stand-in's map: a latitude/longitude box drawn
// linearly (equirectangular) onto a rectangle of pixels, north up.

// Around the bundled sample data (mines in Nevada, Oregon and Idaho).
inline constexpr GeoBox kDefaultBox{38.5, -120.5, 45.5, -113.5};

// Parses "SOUTH,WEST,NORTH,EAST" (decimal degrees). False, box untouched,
// unless it holds four finite numbers with south < north, west < east,
// latitudes within -90..90 and longitudes within -180..180.
bool ParseMapBox(const std::string& text, GeoBox& box);

struct GeoPoint {
    double latitude = 0.0;
    double longitude = 0.0;
};

// Parses "LATITUDE,LONGITUDE" (decimal degrees). False, point untouched,
// unless it holds two finite numbers, the latitude within -90..90 and the
// longitude within -180..180.
bool ParseGeoPoint(const std::string& text, GeoPoint& point);

struct Pixel {
    int x = 0;
    int y = 0;
};

class MapView {
public:
    // Preconditions: width > 0, height > 0, box as ParseMapBox accepts it.
    MapView(const GeoBox& box, int width, int height);

    const GeoBox& Box() const { return m_box; }

    // The position at the centre of a pixel.
    GeoPoint PixelToGeo(Pixel pixel) const;
    // The pixel that holds a position; may lie outside the map.
    Pixel GeoToPixel(GeoPoint point) const;
    // Inside the box, edges included.
    bool Contains(GeoPoint point) const;

    // Graticule spacing in degrees: a 1-2-5 step giving at most eight lines
    // across the longer side of the box.
    double GridStep() const;
    // Multiples of step inside [from, to], in increasing order.
    static std::vector<double> GridLines(double from, double to, double step);

private:
    GeoBox m_box;
    int m_width;
    int m_height;
};

// "45.5N", "117.25W": a label for a graticule line.
std::string FormatLatitude(double latitude);
std::string FormatLongitude(double longitude);
