#include "ozisim/map_view.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

bool ParseNumber(const char*& at, double& value) {
    char* end = nullptr;
    value = std::strtod(at, &end);
    if (end == at || !std::isfinite(value)) {
        return false;
    }
    at = end;
    return true;
}

std::string FormatDegrees(double value, char positive, char negative) {
    char text[32];
    std::snprintf(text, sizeof text, "%g%c", std::fabs(value), value < 0 ? negative : positive);
    return text;
}

}  // namespace

bool ParseMapBox(const std::string& text, GeoBox& box) {
    double values[4];
    const char* at = text.c_str();
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (*at != ',') {
                return false;
            }
            ++at;
        }
        if (!ParseNumber(at, values[i])) {
            return false;
        }
    }
    if (*at != '\0') {
        return false;
    }
    const GeoBox parsed{values[0], values[1], values[2], values[3]};
    if (!(parsed.south < parsed.north && parsed.west < parsed.east && parsed.south >= -90.0 &&
          parsed.north <= 90.0 && parsed.west >= -180.0 && parsed.east <= 180.0)) {
        return false;
    }
    box = parsed;
    return true;
}

bool ParseGeoPoint(const std::string& text, GeoPoint& point) {
    double latitude = 0.0;
    double longitude = 0.0;
    const char* at = text.c_str();
    if (!ParseNumber(at, latitude) || *at++ != ',' || !ParseNumber(at, longitude) || *at != '\0') {
        return false;
    }
    if (!(latitude >= -90.0 && latitude <= 90.0 && longitude >= -180.0 && longitude <= 180.0)) {
        return false;
    }
    point = {latitude, longitude};
    return true;
}

MapView::MapView(const GeoBox& box, int width, int height)
    : m_box(box), m_width(width), m_height(height) {}

GeoPoint MapView::PixelToGeo(Pixel pixel) const {
    const double fx = (pixel.x + 0.5) / m_width;
    const double fy = (pixel.y + 0.5) / m_height;
    return {m_box.north - fy * (m_box.north - m_box.south),
            m_box.west + fx * (m_box.east - m_box.west)};
}

Pixel MapView::GeoToPixel(GeoPoint point) const {
    const double fx = (point.longitude - m_box.west) / (m_box.east - m_box.west);
    const double fy = (m_box.north - point.latitude) / (m_box.north - m_box.south);
    // Clamped far outside the map so that the conversion to int stays defined.
    const auto toPixel = [](double f, int size) {
        const double p = std::floor(f * size);
        return static_cast<int>(std::fmax(-1e6, std::fmin(1e6, p)));
    };
    return {toPixel(fx, m_width), toPixel(fy, m_height)};
}

bool MapView::Contains(GeoPoint point) const {
    return point.latitude >= m_box.south && point.latitude <= m_box.north &&
           point.longitude >= m_box.west && point.longitude <= m_box.east;
}

double MapView::GridStep() const {
    const double span = std::fmax(m_box.north - m_box.south, m_box.east - m_box.west);
    static constexpr double kFactors[] = {1.0, 2.0, 5.0};
    for (double decade = 1e-6; decade <= 100.0; decade *= 10.0) {
        for (const double factor : kFactors) {
            const double step = decade * factor;
            if (span / step <= 8.0) {
                return step;
            }
        }
    }
    return 100.0;
}

std::vector<double> MapView::GridLines(double from, double to, double step) {
    std::vector<double> lines;
    for (double k = std::ceil(from / step); k * step <= to; k += 1.0) {
        lines.push_back(k * step);
    }
    return lines;
}

std::string FormatLatitude(double latitude) {
    return FormatDegrees(latitude, 'N', 'S');
}

std::string FormatLongitude(double longitude) {
    return FormatDegrees(longitude, 'E', 'W');
}
