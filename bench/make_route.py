"""Writes a meandering route of N points ("LAT,LON" lines) through the region
of scripts/generate_mrds.py's mines: steps of 0.2 to 1 km, turning gently,
kept inside the region. usage: make_route.py N OUT [--seed S]"""

import argparse
import math
import random

parser = argparse.ArgumentParser()
parser.add_argument("count", type=int)
parser.add_argument("out")
parser.add_argument("--seed", type=int, default=3)
args = parser.parse_args()
rng = random.Random(args.seed)
lat, lon, heading = 42.0, -117.0, rng.uniform(0, 2 * math.pi)
with open(args.out, "w") as f:
    for _ in range(args.count):
        f.write("%.6f,%.6f\n" % (lat, lon))
        step = rng.uniform(0.2, 1.0) / 111.195
        heading += rng.gauss(0, 0.3)
        lat += step * math.cos(heading)
        lon += step * math.sin(heading) / math.cos(math.radians(lat))
        if not (39.2 < lat < 44.8 and -119.8 < lon < -114.2):
            heading += math.pi  # turn back into the region
            lat = min(max(lat, 39.2), 44.8)
            lon = min(max(lon, -119.8), -114.2)
