#!/usr/bin/python3
"""Writes the sample's atlas: places, maps and their stand-in movies.

usage: atlas.py SRC WORK

Sources (Debian packages unpacked under SRC): tzdata's zone1970.tab (one
city per time zone with its coordinates), unicode-cldr-core's fr.xml (the
cities' French names), iso-codes (the countries and their French names) and
r-cran-maps (its "world" outlines: the coasts and
borders the maps are drawn from). Written under WORK/atlas, read by the samplebase tool:

  maps.txt     "k TAB title TAB w TAB h": map k (0 the world, 1 Europe,
               2 Africa, 3 the Americas), its design size ("w:h" of DIM)
  map<k>.swf   the map's movie (platform/flashmovie/FlashMovie.h), its three
               layers as the atlas bar's frame buttons choose them: frame 0
               the plot, frame 1 with the place names, frame 2 the countries
               in colours with their French names; on each a hotspot per
               place sends "x:atl?p=<place>"
  prev<k>.swf  the preview movie: frame 0 at the preview's size, same hotspots
  topo.txt     "key TAB name#place:@m:1:x:y" in key order, place = the line's
               rank: the "TOPO" lexicon (key: the name through the key filter
               of WORK/chars.txt); @m stands for map m's document number
  vecteur.txt  line k: the places of map k, "p1,p2,...": table 7
  fs.txt       "place_@k TAB 0:@m:1": the map-name index, what a click on a
               place of map k opens (map m, frame 1)
  pays.html    the countries page "hg_lespays": the countries in French

Maps are equirectangular plots: x = (lon - west) * s, y = (north - lat) * s;
the land is filled, coasts and borders drawn, each place a dot.

The outlines (mapdata/world.L, world.G and world.N, little-endian): world.L holds
the coordinate kind (int, 2: radians), the line count (int), a 28-byte
header a line (offset, point count (uint16), left and right region
(uint16; region 0 is the sea), two bytes, bounding box (4 floats)) and at
each offset the line's points (float x, float y); world.G holds the region
count (uint16) and a 24-byte header a region (offset, line count (uint8),
three bytes, bounding box), at each offset its lines (int32, negative: the
line reversed); world.N is text, a line a region: "Country[:part] TAB n",
n the region's number from 1.
"""
import base64
import gettext
import io
import json
import math
import os
import struct
import sys
from xml.etree import ElementTree

from PIL import Image, ImageDraw, ImageFont

FONT = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"
BOLD = "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf"

# title, zone prefix (None: every place), pixels per degree
MAPS = [("Le monde", None, 2.5), ("L'Europe", "Europe/", 9.0), ("L'Afrique", "Africa/", 7.0),
        ("Les Am\u00e9riques", "America/", 4.5)]
PREVIEW_W = 200
SEA, LAND, GRID, DOT, INK = (214, 232, 246), (236, 240, 226), (180, 200, 220), (200, 40, 40), (40, 50, 70)
COAST, BORDER = (90, 110, 130), (180, 150, 150)
OUTLINES = "usr/lib/R/site-library/maps/mapdata/world"
CLDR_FRENCH = "usr/share/unicode/cldr/common/main/fr.xml"


def outlines(src):
    """(regions, lines): each region's points and each line's (is a coast,
    points, left region, right region), in degrees (lon, lat); ([], []) when
    the data is missing or bad."""
    try:
        with open(os.path.join(src, OUTLINES + ".L"), "rb") as f:
            data = f.read()
        with open(os.path.join(src, OUTLINES + ".G"), "rb") as f:
            regions_data = f.read()
        kind, count = struct.unpack_from("<ii", data, 0)
        factor = math.degrees(1) if kind in (0, 2) else 1
        lines = []
        for i in range(count):
            offset, npair, left, right = struct.unpack_from("<IHHH", data, 8 + i * 28)
            xy = struct.unpack_from("<%df" % (2 * npair), data, offset)
            points = [(xy[2 * k] * factor, xy[2 * k + 1] * factor) for k in range(npair)]
            lines.append((left == 0 or right == 0, points, left, right))
        regions = []
        (count,) = struct.unpack_from("<H", regions_data, 0)
        for r in range(count):
            offset, nline = struct.unpack_from("<IB", regions_data, 2 + r * 24)
            points = []
            for n in struct.unpack_from("<%di" % nline, regions_data, offset):
                if not 0 < abs(n) <= len(lines):
                    raise ValueError("line %d" % n)
                line = lines[abs(n) - 1][1]
                points += line if n > 0 else line[::-1]
            regions.append(points)
        return regions, lines
    except (OSError, struct.error, ValueError):
        return [], []


def degrees(text, width):
    """'+4852' or '+485210' (width 2) / '+00220' (width 3): signed degrees."""
    sign = -1 if text[0] == "-" else 1
    digits = text[1:]
    d = int(digits[:width])
    m = int(digits[width:width + 2])
    s = int(digits[width + 2:width + 4]) if len(digits) > width + 2 else 0
    return sign * (d + m / 60 + s / 3600)


def french_cities(src):
    """Time zone -> its city's French name (CLDR's exemplar cities, from
    unicode-cldr-core), those that Windows-1252 writes; {} without the file."""
    try:
        tree = ElementTree.parse(os.path.join(src, CLDR_FRENCH))
    except (OSError, ElementTree.ParseError):
        return {}
    cities = {}
    for zone in tree.iter("zone"):
        city = zone.findtext("exemplarCity")
        if zone.get("type") and city and city.strip():
            try:
                city.encode("cp1252")
            except UnicodeEncodeError:
                continue
            cities.setdefault(zone.get("type"), city.strip())
    return cities


def read_places(src):
    """The cities of the time zones, named in French where CLDR names them,
    else by their zone."""
    cities = french_cities(src)
    places = []
    with open(os.path.join(src, "usr/share/zoneinfo/zone1970.tab"), encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            codes, coords, zone = line.rstrip("\n").split("\t")[:3]
            split = max(coords.rfind("+"), coords.rfind("-"))
            lat_text, lon_text = coords[:split], coords[split:]
            lat, lon = degrees(lat_text, 2), degrees(lon_text, 3)
            name = cities.get(zone) or zone.split("/")[-1].replace("_", " ")
            places.append({"name": name, "zone": zone, "lat": lat, "lon": lon, "country": codes.split(",")[0]})
    return places


def countries(src):
    with open(os.path.join(src, "usr/share/iso-codes/json/iso_3166-1.json"), encoding="utf-8") as f:
        data = json.load(f)["3166-1"]
    with open(os.path.join(src, "usr/share/locale/fr/LC_MESSAGES/iso_3166-1.mo"), "rb") as f:
        fr = gettext.GNUTranslations(f)
    return {c["alpha_2"]: fr.gettext(c["name"]) for c in data}


def key_filter(work):
    with open(os.path.join(work, "chars.txt")) as f:
        table = [int(line) for line in f.read().split()]
    return lambda name: bytes(table[b] for b in name.encode("cp1252", "replace")).decode("cp1252")


def box(places):
    lats = [p["lat"] for p in places]
    lons = [p["lon"] for p in places]
    return (max(-180, min(lons) - 6), min(180, max(lons) + 6), max(-90, min(lats) - 5), min(90, max(lats) + 5))


def plot(places, bounds, scale, layer, font, shapes, states=None):
    """The map's picture and its places' (place, x, y): layer 0 the plot,
    1 with the place names, 2 the countries (states: country_layer's)."""
    west, east, south, north = bounds
    w, h = round((east - west) * scale), round((north - south) * scale)
    image = Image.new("RGB", (w, h), SEA)
    d = ImageDraw.Draw(image)
    regions, lines = shapes
    colours, names = states if layer == 2 and states else ({}, [])

    def xy(points):
        return [((lon - west) * scale, (north - lat) * scale) for lon, lat in points]

    for r, points in enumerate(regions):
        if len(points) > 2:
            d.polygon(xy(points), fill=colours.get(r + 1, LAND))
    step = 15 if scale < 5 else 5
    for lon in range(-180, 181, step):
        if west <= lon <= east:
            x = (lon - west) * scale
            d.line([(x, 0), (x, h)], fill=GRID)
    for lat in range(-90, 91, step):
        if south <= lat <= north:
            y = (north - lat) * scale
            d.line([(0, y), (w, y)], fill=GRID)
    # Borders first: a coast drawn over them stays whole.
    for coast in (False, True):
        for is_coast, points, _left, _right in lines:
            # A line along meridian 0 or 180 closes a region cut there: no coast of its own.
            cut = len({round(lon, 3) for lon, _ in points}) == 1 and round(points[0][0], 3) % 180 == 0
            if is_coast == coast and len(points) > 1 and not cut:
                d.line(xy(points), fill=COAST if coast else BORDER, width=2 if coast and scale > 5 else 1)
    spots = []
    for p in places:
        x, y = (p["lon"] - west) * scale, (north - p["lat"]) * scale
        d.ellipse([x - 2.5, y - 2.5, x + 2.5, y + 2.5], fill=DOT)
        if layer == 1:
            d.text((x + 4, y - 7), p["name"], fill=INK, font=font)
        spots.append((p, x, y))
    # A country's name in the middle of its largest land, when it fits there.
    for name, points in names:
        shape = xy(points)
        xs, ys = [x for x, _ in shape], [y for _, y in shape]
        left, top, right, bottom = d.textbbox((0, 0), name, font=font)
        tw, th = right - left, bottom - top
        cx, cy = centroid(shape)
        if tw <= (max(xs) - min(xs)) * 1.2 and th <= max(ys) - min(ys) and 0 <= cx - tw / 2 and cx + tw / 2 <= w \
                and 0 <= cy - th / 2 and cy + th / 2 <= h:
            d.text((cx - tw / 2 - left, cy - th / 2 - top), name, fill=INK, font=font)
    return image, spots


def centroid(shape):
    """The area centroid of a polygon of (x, y), its vertices' mean when it has no area."""
    a = cx = cy = 0.0
    for (x0, y0), (x1, y1) in zip(shape, shape[1:] + shape[:1]):
        cross = x0 * y1 - x1 * y0
        a += cross
        cx += (x0 + x1) * cross
        cy += (y0 + y1) * cross
    if abs(a) < 1e-9:
        return sum(x for x, _ in shape) / len(shape), sum(y for _, y in shape) / len(shape)
    return cx / (3 * a), cy / (3 * a)


def area(points):
    return abs(sum(x0 * y1 - x1 * y0 for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]))) / 2


# The outlines' country names that iso-codes spells otherwise; islands
# listed on their own go with the country that holds them.
COUNTRY_ALIASES = {
    "USA": "US", "UK": "GB", "Russia": "RU", "Turkey": "TR", "Democratic Republic of the Congo": "CD",
    "Republic of Congo": "CG", "Ivory Coast": "CI", "Swaziland": "SZ", "Brunei": "BN", "Cape Verde": "CV",
    "Palestine": "PS", "Vatican": "VA", "Micronesia": "FM", "Falkland Islands": "FK", "Reunion": "RE",
    "Curacao": "CW", "Trinidad": "TT", "Tobago": "TT", "Antigua": "AG", "Barbuda": "AG", "Saint Kitts": "KN",
    "Nevis": "KN", "Saint Vincent": "VC", "Grenadines": "VC", "Saint Helena": "SH", "Saint Martin": "MF",
    "Sint Maarten": "SX", "Saint Barthelemy": "BL", "Azores": "PT", "Madeira Islands": "PT",
    "Canary Islands": "ES",
}
# Names that neither the common name nor the cut at the comma gives.
SHORT_NAMES = {"SY": "Syrie", "LA": "Laos"}
# Pastel fills, neighbours apart.
COUNTRY_COLOURS = [(246, 214, 170), (205, 230, 180), (240, 200, 210), (200, 214, 240), (245, 238, 170),
                   (215, 200, 235), (190, 228, 224)]


def short_french(country, fr):
    """The name a map writes: iso-codes' French common name when it has
    one, else its name without the form of state after a comma ("Russie,
    Fédération de"), an island group's word first ("Salomon, Îles"), and
    without a remark in brackets."""
    common = country.get("common_name")
    if common and fr.gettext(common) != common:
        return fr.gettext(common)
    name = fr.gettext(country["name"])
    if country["alpha_2"] in SHORT_NAMES:
        return SHORT_NAMES[country["alpha_2"]]
    head, comma, tail = name.partition(", ")
    if comma and tail.lower().startswith(("île", "îles")):
        head = tail + " " + head
    return head.split(" (")[0]


def country_layer(src, shapes):
    """(colours, names) of the countries layer: each region's fill by its
    number, no two countries with a common border alike, and a (French
    name, points) a named country, its largest region; ({}, []) without
    the region names."""
    regions, lines = shapes
    try:
        with open(os.path.join(src, OUTLINES + ".N"), encoding="latin-1") as f:
            rows = [line.rstrip("\n").split("\t") for line in f if "\t" in line]
        with open(os.path.join(src, "usr/share/iso-codes/json/iso_3166-1.json"), encoding="utf-8") as f:
            codes = json.load(f)["3166-1"]
        with open(os.path.join(src, "usr/share/locale/fr/LC_MESSAGES/iso_3166-1.mo"), "rb") as f:
            fr = gettext.GNUTranslations(f)
    except (OSError, ValueError):
        return {}, []
    english = dict(COUNTRY_ALIASES)
    french = {}
    for c in codes:
        french[c["alpha_2"]] = short_french(c, fr)
        for key in ("name", "common_name", "official_name"):
            if key in c:
                english.setdefault(c[key], c["alpha_2"])
    country = {}  # region number -> country key
    for name, number in rows:
        if number.strip().isdigit() and 0 < int(number) <= len(regions):
            head = name.split(":")[0]
            country[int(number)] = english.get(head, head)
    neighbours = {}
    for is_coast, _points, left, right in lines:
        a, b = country.get(left), country.get(right)
        if not is_coast and a and b and a != b:
            neighbours.setdefault(a, set()).add(b)
            neighbours.setdefault(b, set()).add(a)
    # Greedy colouring, the countries with most neighbours first.
    colour = {}
    for c in sorted(set(country.values()), key=lambda c: (-len(neighbours.get(c, ())), c)):
        taken = {colour.get(n) for n in neighbours.get(c, ())}
        colour[c] = next((k for k in range(len(COUNTRY_COLOURS)) if k not in taken), 0)
    fills = {r: COUNTRY_COLOURS[colour[c]] for r, c in country.items()}
    largest = {}
    for r, c in country.items():
        if len(regions[r - 1]) > 2 and (c not in largest or area(regions[r - 1]) > area(regions[largest[c] - 1])):
            largest[c] = r
    names = []
    for c, r in sorted(largest.items()):
        name = french.get(c)
        if name:
            try:
                name.encode("cp1252")
            except UnicodeEncodeError:
                continue
            names.append((name, regions[r - 1]))
    return fills, names


def png_line(image):
    buffer = io.BytesIO()
    image.convert("P", palette=Image.ADAPTIVE, colors=64).save(buffer, "PNG", optimize=True)
    return "FRAMEDATA " + base64.b64encode(buffer.getvalue()).decode("ascii")


def hotspots(spots, factor):
    lines = []
    for p, x, y in spots:
        lines.append(f"HOT {round(x * factor) - 5} {round(y * factor) - 5} 10 10 x:atl?p={p['place']}")
    return lines


def write_text(path, text):
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(text.encode("cp1252", "replace"))
    os.replace(tmp, path)


def main():
    src, work = sys.argv[1], sys.argv[2]
    out = os.path.join(work, "atlas")
    os.makedirs(out, exist_ok=True)
    places = read_places(src)
    names = countries(src)
    flt = key_filter(work)
    # Keys through the key filter, made unique, in byte order: the rank is the place number.
    seen = {}
    for p in places:
        key = flt(p["name"])
        seen[key] = seen.get(key, 0) + 1
        p["key"] = key if seen[key] == 1 else f"{key} {seen[key]}"
    places.sort(key=lambda p: p["key"].encode("cp1252", "replace"))
    for rank, p in enumerate(places):
        p["place"] = rank
        p["map"] = 0
        for k, (_, prefix, _) in enumerate(MAPS):
            if prefix and p["zone"].startswith(prefix):
                p["map"] = k
    font = ImageFont.truetype(FONT, 11)
    shapes = outlines(src)
    states = country_layer(src, shapes)
    rows, vecteur, fs = [], [], []
    positions = {}
    for k, (title, prefix, scale) in enumerate(MAPS):
        members = [p for p in places if prefix is None or p["map"] == k]
        bounds = (-180, 180, -60, 85) if prefix is None else box(members)
        plain, spots = plot(members, bounds, scale, 0, font, shapes)
        labelled, _ = plot(members, bounds, scale, 1, font, shapes)
        political, _ = plot(members, bounds, scale, 2, font, shapes, states)
        w, h = plain.size
        rows.append(f"{k}\t{title}\t{w}\t{h}")
        for p, x, y in spots:
            positions[(p["place"], k)] = (x, y)
        head = ["SVMOVIE 1", f"SIZE {w} {h}"]
        movie = head
        for layer in (plain, labelled, political):
            movie += [png_line(layer)] + hotspots(spots, 1)
        write_text(os.path.join(out, f"map{k}.swf"), "\r\n".join(movie) + "\r\n")
        factor = PREVIEW_W / w
        small = plain.resize((PREVIEW_W, max(1, round(h * factor))), Image.LANCZOS)
        preview = ["SVMOVIE 1", f"SIZE {small.size[0]} {small.size[1]}", png_line(small)] + hotspots(spots, factor)
        write_text(os.path.join(out, f"prev{k}.swf"), "\r\n".join(preview) + "\r\n")
        vecteur.append(",".join(str(p["place"]) for p in members))
        # A place of the world map opens its own map; on its own map it opens that map again (nothing).
        for p in members:
            fs.append((f"{p['place']}_@{k}", f"0:@{p['map']}:1"))
    for p in places:
        x, y = positions[(p["place"], p["map"])]
        rows_name = p["name"] + (" (" + names[p["country"]] + ")" if p["country"] in names else "")
        p["row"] = f"{p['key']}\t{rows_name}#{p['place']}:@{p['map']}:1:{x:.1f}:{y:.1f}"
    write_text(os.path.join(out, "maps.txt"), "\n".join(rows) + "\n")
    write_text(os.path.join(out, "topo.txt"), "\n".join(p["row"] for p in places) + "\n")
    write_text(os.path.join(out, "vecteur.txt"), "\n".join(vecteur) + "\n")
    write_text(os.path.join(out, "fs.txt"), "\n".join(f"{a}\t{b}" for a, b in fs) + "\n")
    items = "".join(f"<li>{n}</li>\n" for n in sorted(set(names.values()), key=flt))
    write_text(os.path.join(out, "pays.html"),
               "<html><head><title>Les pays</title></head><body><h1>Les pays du monde</h1>\n<ul>\n" + items +
               "</ul></body></html>\n")
    print(f"atlas: {len(places)} places, {len(MAPS)} maps, {len(names)} countries, "
          f"{len(shapes[1])} outline lines, {len(states[1])} countries named on the maps")


if __name__ == "__main__":
    main()
