#include "points/route_file.h"

#include <fstream>
#include <memory>

#include "points/gpx_point_reader.h"
#include "points/input_file.h"
#include "points/ozi_path_reader.h"
#include "points/text_point_reader.h"
#include "text/ascii_text.h"

namespace {

constexpr const char* kRouteFileWhat = "route file";

std::unique_ptr<IPointReader> MakeReader(std::istream& input, RouteFormat format) {
    switch (format) {
        case RouteFormat::kGpx:
            return std::make_unique<CGpxPointReader>(input);
        case RouteFormat::kOziTrack:
            return std::make_unique<COziPathReader>(input, COziPathReader::Kind::kTrack);
        case RouteFormat::kOziRoute:
            return std::make_unique<COziPathReader>(input, COziPathReader::Kind::kRoute);
        case RouteFormat::kPointLines:
            break;
    }
    return std::make_unique<CTextPointReader>(input);
}

}  // namespace

RouteFormat RouteFormatOfName(std::string_view path) {
    if (EndsWithIgnoringAsciiCase(path, ".gpx")) {
        return RouteFormat::kGpx;
    }
    if (EndsWithIgnoringAsciiCase(path, ".plt")) {
        return RouteFormat::kOziTrack;
    }
    if (EndsWithIgnoringAsciiCase(path, ".rte")) {
        return RouteFormat::kOziRoute;
    }
    return RouteFormat::kPointLines;
}

RouteReadResult ReadRoute(std::istream& input, RouteFormat format) {
    RouteReadResult result;
    const std::unique_ptr<IPointReader> reader = MakeReader(input, format);
    const std::string entry = format == RouteFormat::kGpx ? "point " : "line ";
    std::size_t part = 0;
    QueryPoint point;
    while (reader->Next(point)) {
        if (!point.error.empty()) {
            result.error = entry + std::to_string(point.number) + ": " + point.error;
            return result;
        }
        if (format == RouteFormat::kGpx && point.part == 0) {
            continue;  // a waypoint, on no route
        }
        const bool startsPart = result.route.PointCount() == 0 || point.part != part;
        part = point.part;
        if (!result.route.Add(point.latitude, point.longitude, startsPart)) {
            result.error = entry + std::to_string(point.number) +
                           ": the point is antipodal to the one before it, so no single "
                           "great-circle arc joins them";
            return result;
        }
    }
    if (result.route.PointCount() < 2) {
        result.error = "the route has fewer than two points";
    } else if (result.route.UsefulLegCount() == 0) {
        result.error = "the route has no leg: no two consecutive points of one part are apart";
    }
    return result;
}

std::string RouteFileError(std::string_view path, std::string_view error) {
    return "route file '" + std::string(path) + "': " + std::string(error);
}

RouteReadResult ReadRouteFile(const std::string& path) {
    std::ifstream file;
    std::string error = OpenNamedInputFile(path, kRouteFileWhat, file);
    if (!error.empty()) {
        RouteReadResult result;
        result.error = std::move(error);
        return result;
    }
    RouteReadResult result = ReadRoute(file, RouteFormatOfName(path));
    if (!result.Ok()) {
        result.error = RouteFileError(path, result.error);
    }
    return result;
}
