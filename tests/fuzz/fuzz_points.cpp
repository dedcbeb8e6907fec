// libFuzzer target: the points readers on arbitrary bytes, in memory. The
// first byte picks the reader (by its value modulo 4: "LAT,LON" lines, GPX,
// OziExplorer track, OziExplorer route); the rest is the input. Checks that
// every entry is either a position on the globe or an error of printable
// ASCII, that numbers and parts only grow, and that the reading ends.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

#include "points/gpx_point_reader.h"
#include "points/ozi_path_reader.h"
#include "points/text_point_reader.h"
#include "tests/fuzz/fuzz_support.h"

using fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const unsigned kind = data[0] % 4u;
    const bool gpx = kind == 1;
    std::istringstream input(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
    std::unique_ptr<IPointReader> reader;
    if (gpx) {
        reader = std::make_unique<CGpxPointReader>(input);
    } else if (kind == 0) {
        reader = std::make_unique<CTextPointReader>(input);
    } else {
        reader = std::make_unique<COziPathReader>(
            input, kind == 2 ? COziPathReader::Kind::kTrack : COziPathReader::Kind::kRoute);
    }
    QueryPoint point;
    std::size_t last = 0;
    std::size_t lastPart = 0;
    std::size_t entries = 0;
    bool ended = false;
    while (reader->Next(point)) {
        Require(!ended);
        ++entries;
        // Text lines may be skipped; GPX points are counted one by one.
        Require(gpx ? point.number == last + 1 : point.number > last);
        Require(point.number <= size + 1);
        last = point.number;
        if (point.error.empty()) {
            Require(point.part >= lastPart);
            lastPart = point.part;
            Require(std::fabs(point.latitude) <= 90.0 && std::fabs(point.longitude) <= 180.0);
        } else {
            for (const char c : point.error) {
                Require(c >= ' ' && c <= '~');
            }
            // After a fault in the document's structure nothing more comes.
            ended = gpx && point.error.rfind("GPX line ", 0) == 0;
        }
    }
    Require(!reader->Next(point));
    Require(entries <= size);
    return 0;
}
