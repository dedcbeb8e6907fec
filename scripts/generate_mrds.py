#!/usr/bin/env python3
"""Writes a large MRDS-style comma-separated file of invented mines.

usage: generate_mrds.py ROWS OUT [--seed N] [--header mrds|today]

The file has the 47 known columns plus an unknown URL column, CR LF line
ends, Windows-1252 text (accented names, en dashes), double-quote quoting of
fields with commas or quotes, doubled quotes inside quoted fields, and about
500 bytes a row. The same ROWS and seed always give the same bytes.

--header today names the same columns as the USGS export does today: in
lower case, with commod1, commod2, commod3, hrock_type and arock_type for
COM_MAJOR, COM_MINOR, COM_TRACE, HROCK_CODE and AROCK_CODE. Only the header
line differs; the rows are the same bytes.
"""

import argparse
import random
import sys

HEADER = (
    "DEP_ID,URL,MRDS_ID,MAS_ID,SITE_NAME,LATITUDE,LONGITUDE,REGION,COUNTRY,STATE,COUNTY,"
    "DISTRICT,ADMIN,LAND_STAT,COM_TYPE,COM_MAJOR,COM_MINOR,COM_TRACE,OPER_TYPE,DEP_TYPE,"
    "PROD_SIZE,DEV_STAT,ORE,GANGUE,OTHER_MATL,OREBODY_FM,WORK_TYPE,MODEL,ALTERATION,"
    "CONC_PROC,PREV_NAME,ORE_CTRL,REPORTER,HROCK_UNIT,HROCK_CODE,AROCK_UNIT,AROCK_CODE,"
    "STRUCTURE,TECTONIC,REF,YFP_BA,YR_FST_PRD,YLP_BA,YR_LST_PRD,DY_BA,DISC_YR,PROD_YRS,DISCR"
).split(",")

TODAYS_NAMES = {"COM_MAJOR": "commod1", "COM_MINOR": "commod2", "COM_TRACE": "commod3",
                "HROCK_CODE": "hrock_type", "AROCK_CODE": "arock_type"}


def header_line(style):
    if style == "today":
        return ",".join(TODAYS_NAMES.get(name, name.lower()) for name in HEADER)
    return ",".join(HEADER)


NAME_FIRST = [
    "Silver", "Gold", "Lucky", "Blue", "Red", "Black", "Iron", "Copper", "Golden", "Big",
    "Little", "Lost", "North Star", "Bonanza", "Eureka", "Jumbo", "Mammoth", "Sunrise",
    "Grizzly", "Queen", "King", "Buckhorn", "Crown Point", "Yellow Jacket", "Café", "Montaña",
    "Last Chance", "Morning Glory", "Sheep Creek", "Dutch Flat", "Cinnabar", "Wild Rose",
]
NAME_LAST = ["Mine", "Prospect", "Lode", "Claims", "Adit", "Shaft", "Pit", "Placer", "Tunnel",
             "Group", "Workings", "Deposit"]
STATES = {
    "Nevada": ["Elko", "Eureka", "Humboldt", "Lander", "Pershing", "Washoe", "Nye", "Lyon"],
    "Oregon": ["Baker", "Grant", "Malheur", "Harney", "Wallowa"],
    "Idaho": ["Owyhee", "Boise", "Valley", "Elmore", "Custer"],
}
DISTRICTS = ["Reese River", "Tuscarora", "Cortez", "Battle Mountain", "Cornucopia", "Granite",
             "Silver City", "Boise Basin", "Yellow Pine", "Opalite", "Rome", "Mahogany"]
ADMINS = ["BLM Battle Mountain District", "BLM Elko District", "BLM Vale District",
          "Wallowa-Whitman National Forest", "Boise National Forest", "Payette National Forest"]
LAND = ["Public land", "Private", "National Forest", "State land", "Wilderness"]
METALS = ["Gold", "Silver", "Copper", "Lead", "Zinc", "Mercury", "Tungsten", "Antimony",
          "Molybdenum", "Uranium", "Iron"]
MINERALS = ["Barite", "Diatomite", "Perlite", "Zeolites", "Sulfur", "Lithium", "Gypsum",
            "Fluorite", "Pumice"]
OPER = ["Underground", "Surface", "Surface-Underground", "Placer", "Unknown"]
DEP = ["Epithermal vein", "Skarn", "Placer", "Hot-spring mercury", "Carbonate-hosted",
       "Mesothermal quartz vein", "Bedded barite", "Porphyry copper", "Lacustrine"]
SIZE = ["Small", "Medium", "Large", "None", "Yes"]
STATUS = ["Past Producer", "Producer", "Prospect", "Occurrence", "Plant"]
ORES = ["Native gold", "Argentite", "Cerargyrite", "Cinnabar", "Scheelite", "Stibnite",
        "Chalcopyrite", "Galena", "Sphalerite", "Electrum", "Pyrite", "Tetrahedrite"]
GANGUES = ["Quartz", "Calcite", "Adularia", "Barite", "Chalcedony", "Garnet", "Epidote"]
MODELS = ["Polymetallic veins (22c)", "Quartz-adularia Au-Ag veins (25c)",
          "Hot-spring Hg (27a)", "W skarn (14a)", "Placer Au-PGE (39a)",
          "Low-sulfide Au-quartz veins (36a)", "Carbonate-hosted Au-Ag (26a)"]
ALTERATIONS = ["Silicification", "Argillization", "Sericitization", "Propylitic",
               "Opalization", "Potassic"]
PEOPLE = ["Hallbeck, D.R.", "Okonkwo, L.", "Beaumé, J.-L.", "Vasquez-Rhee, M.", "Strand, H.E.",
          "Lindqvist, R.M.", "Ferrante, T.", "Pellworth, G.", "Hoyt-Amari, S."]
UNITS = ["Valmy Formation", "Roberts Mountains Formation", "Idaho batholith",
         "Challis Volcanic Group", "Owyhee Basalt", "Elkhorn Ridge Argillite", "Slaven Chert"]
ROCKS = ["Granodiorite", "Rhyolite tuff", "Limestone", "Chert", "Argillite", "Andesite",
         "Quartz monzonite", "Basalt"]
TECTONIC = ["Basin and Range", "Antler orogenic belt", "Walker Lane",
            "Blue Mountains accreted terranes", "Owyhee Plateau", "Idaho batholith"]
TITLE_WORDS = ["Gold", "silver", "veins", "deposits", "district", "ores", "geology", "notes",
               "placers", "mercury", "mines", "survey"]


def quoted(value):
    """The field as an MRDS export writes it: quoted when it needs to be."""
    if "," in value or '"' in value:
        return '"' + value.replace('"', '""') + '"'
    return value


def some(rng, words, most):
    return ", ".join(rng.sample(words, rng.randint(1, most)))


def year_range(rng, first, last):
    dash = "\u2013" if rng.random() < 0.3 else "-"
    return f"{first}{dash}{last}"


def make_row(rng, index):
    dep_id = 10000001 + index
    state = rng.choice(list(STATES))
    com_type = rng.choices(["M", "N", "B", ""], weights=[70, 20, 8, 2])[0]
    major = some(rng, MINERALS if com_type == "N" else METALS, 3)
    name = f"{rng.choice(NAME_FIRST)} {rng.choice(NAME_LAST)}"
    if rng.random() < 0.15:
        # A name with a comma is quoted in the file (and keeps its quotes).
        name = f"{name}, No. {rng.randint(2, 9)}"
    first = rng.randint(1850, 1960)
    last = first + rng.randint(1, 60)
    found = first - rng.randint(0, 5)
    author = rng.choice(PEOPLE)
    title = " ".join(rng.sample(TITLE_WORDS, 3)).capitalize()
    ref = (f'{author}, {rng.randint(1900, 2005)}, "{title}": Bulletin {rng.randint(1, 200)}, '
           f'p. {rng.randint(1, 90)}\u2013{rng.randint(91, 200)}.')
    values = {
        "DEP_ID": str(dep_id),
        "URL": f"https://mrds.invalid/{dep_id}",
        "MRDS_ID": f"{rng.choice('MWDX')}{rng.randint(0, 999999):06d}",
        "MAS_ID": f"{rng.randint(0, 9999999999):010d}" if rng.random() < 0.4 else "",
        "SITE_NAME": name,
        "LATITUDE": f"{rng.uniform(39.0, 45.0):.5f}",
        "LONGITUDE": f"{rng.uniform(-120.0, -114.0):.5f}",
        "REGION": "NA",
        "COUNTRY": "United States",
        "STATE": state,
        "COUNTY": rng.choice(STATES[state]),
        "DISTRICT": rng.choice(DISTRICTS) if rng.random() < 0.7 else "",
        "ADMIN": rng.choice(ADMINS) if rng.random() < 0.6 else "",
        "LAND_STAT": rng.choice(LAND),
        "COM_TYPE": com_type,
        "COM_MAJOR": major,
        "COM_MINOR": some(rng, METALS, 2) if rng.random() < 0.6 else "",
        "COM_TRACE": some(rng, METALS, 2) if rng.random() < 0.3 else "",
        "OPER_TYPE": rng.choice(OPER),
        "DEP_TYPE": rng.choice(DEP),
        "PROD_SIZE": rng.choice(SIZE),
        "DEV_STAT": rng.choice(STATUS),
        "ORE": some(rng, ORES, 2),
        "GANGUE": some(rng, GANGUES, 2) if rng.random() < 0.7 else "",
        "OTHER_MATL": "Limonite" if rng.random() < 0.2 else "",
        "OREBODY_FM": f"Vein {rng.randint(1, 9)} m wide, strike N{rng.randint(0, 89)}E"
        if rng.random() < 0.5 else "",
        "WORK_TYPE": rng.choice(["Underground", "Surface", "Dredge"]),
        "MODEL": rng.choice(MODELS),
        "ALTERATION": some(rng, ALTERATIONS, 2) if rng.random() < 0.6 else "",
        "CONC_PROC": "Supergene enrichment" if rng.random() < 0.2 else "",
        "PREV_NAME": f"{rng.choice(NAME_FIRST)}; {rng.choice(NAME_FIRST)}" if rng.random() < 0.3 else "",
        "ORE_CTRL": "Fault intersections" if rng.random() < 0.3 else "",
        "REPORTER": author,
        "HROCK_UNIT": rng.choice(UNITS),
        "HROCK_CODE": rng.choice(ROCKS),
        "AROCK_UNIT": rng.choice(UNITS) if rng.random() < 0.4 else "",
        "AROCK_CODE": rng.choice(ROCKS) if rng.random() < 0.4 else "",
        "STRUCTURE": "Steep normal faults" if rng.random() < 0.3 else "",
        "TECTONIC": rng.choice(TECTONIC),
        "REF": ref,
        "YFP_BA": rng.choice(["", "", "B", "A"]),
        "YR_FST_PRD": str(first),
        "YLP_BA": rng.choice(["", "", "B", "A"]),
        "YR_LST_PRD": str(last) if rng.random() < 0.8 else "",
        "DY_BA": rng.choice(["", "", "", "B"]),
        "DISC_YR": str(found),
        "PROD_YRS": year_range(rng, first, last),
        "DISCR": "Location approximate." if rng.random() < 0.1 else "",
    }
    return ",".join(quoted(values[column]) for column in HEADER) + "\r\n"


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("rows", type=int, help="number of mines")
    parser.add_argument("out", help="file to write")
    parser.add_argument("--seed", type=int, default=1, help="random seed (default 1)")
    parser.add_argument("--header", choices=("mrds", "today"), default="mrds",
                        help="column names: the MRDS vocabulary (default) or today's export's")
    args = parser.parse_args(argv)
    if args.rows < 0:
        parser.error("ROWS must not be negative")
    rng = random.Random(args.seed)
    with open(args.out, "wb") as out:
        out.write((header_line(args.header) + "\r\n").encode("cp1252"))
        chunk = []
        for index in range(args.rows):
            chunk.append(make_row(rng, index))
            if len(chunk) == 10000:
                out.write("".join(chunk).encode("cp1252"))
                chunk.clear()
        out.write("".join(chunk).encode("cp1252"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
