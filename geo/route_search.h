#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "geo/mine_index.h"
#include "geo/route.h"
#include "minedata/mine_array.h"

// One mine near a route, at the point of the route nearest to it.
struct AlongMine {
    std::size_t index;  // element of the collection
    double distanceKm;  // great-circle distance from the route
    double alongKm;     // distance along the route to the nearest point
    RouteSide side;     // of the direction of travel on that leg
    std::size_t leg;    // the leg of that point, from 1
};

// Every mine on the globe within `withinKm` of a leg of `route` that `accept`
// takes, listed once at its nearest point of the route (of equal distances,
// the smaller distance along, then the earlier leg), ordered by distance
// along, equal distances along in collection order. Examines every mine
// against every leg: the reference that FindAlongRoute agrees with.
std::vector<AlongMine> FindAlongRouteByScan(const CMineArray& mines, const CRoute& route,
                                            double withinKm, const MinePredicate& accept = {});

// Exactly what FindAlongRouteByScan returns for the same arguments, `index`
// having been built over `mines`: only the mines in a box of degrees around
// each leg, widened by `withinKm`, are examined against it. The boxes of
// consecutive legs are taken from the index together, one walk of the tree
// for a box around them all. Memory grows with the answers, not with the
// mines.
std::vector<AlongMine> FindAlongRoute(const CMineIndex& index, const CMineArray& mines,
                                      const CRoute& route, double withinKm,
                                      const MinePredicate& accept = {});

// A box of degrees, bounds included, with west <= east.
struct DegreeBox {
    double south, north, west, east;

    // The same comparisons as CMineIndex::VisitBox makes.
    bool Contains(const MineCoordinates& at) const {
        const double latitude = at.latitude;
        const double longitude = at.longitude;
        return latitude >= south && latitude <= north && longitude >= west && longitude <= east;
    }
};

// The boxes of degrees holding every place within `withinKm` of `leg`: one,
// or two when the box crosses the 180° meridian.
struct LegBoxes {
    std::array<DegreeBox, 2> boxes;
    std::size_t count;
};
LegBoxes LegReach(const RouteLeg& leg, double withinKm);
