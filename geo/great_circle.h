#pragma once

// Distances and directions on a spherical Earth, from latitudes and
// longitudes in degrees.

// The mean radius of the Earth in kilometres; every distance here is on a
// sphere of this radius.
inline constexpr double kEarthRadiusKm = 6371.0088;

// longitude2 - longitude1 in degrees, brought into [-180, 180] by a turn
// when the inputs are longitudes: the short way round, so that points on
// both sides of the 180° meridian are near.
double WrappedDifference(double longitude2, double longitude1);

// The haversine of the central angle between two points:
// sin²(Δφ/2) + cos φ1 cos φ2 sin²(Δλ/2), between 0 and 1. It grows with the
// distance, so it orders points by distance without the arc sine. Not a number
// when any coordinate is not.
double HaversineOfAngle(double latitude1, double longitude1, double latitude2, double longitude2);

// The great-circle distance in kilometres that a haversine value stands for.
double KilometresFromHaversine(double haversine);

// The haversine value of the angle that `kilometres` spans (capped at half the
// circumference); the inverse of KilometresFromHaversine.
double HaversineFromKilometres(double kilometres);

// The great-circle distance in kilometres between two points.
double GreatCircleKm(double latitude1, double longitude1, double latitude2, double longitude2);

// The initial bearing from point 1 towards point 2 in degrees clockwise from
// north, in [0, 360). 0 when the points coincide.
double InitialBearingDegrees(double latitude1, double longitude1, double latitude2,
                             double longitude2);

// A distance rounded to metres, and a bearing rounded to a tenth of a degree
// within [0, 360): as every listing of distances and bearings shows them.
double RoundedDistanceKm(double kilometres);
double RoundedBearing(double degrees);
