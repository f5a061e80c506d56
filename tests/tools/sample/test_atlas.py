"""The atlas's outlines: the world database's lines and regions read back in
degrees, coasts told from borders, and damaged data refused whole."""
import math
import os
import struct
import tempfile
import unittest

import atlas


def write_world(src, lines, regions):
    """world.L and world.G: lines as (left, right, [(lon, lat)...]) in
    degrees, regions as lists of signed line numbers."""
    folder = os.path.join(src, os.path.dirname(atlas.OUTLINES))
    os.makedirs(folder, exist_ok=True)
    head = struct.pack("<ii", 2, len(lines))
    offset = len(head) + 28 * len(lines)
    headers, points = b"", b""
    for left, right, pts in lines:
        headers += struct.pack("<IHHH2x4f", offset + len(points), len(pts), left, right, 0, 0, 0, 0)
        for lon, lat in pts:
            points += struct.pack("<2f", math.radians(lon), math.radians(lat))
    with open(os.path.join(src, atlas.OUTLINES + ".L"), "wb") as f:
        f.write(head + headers + points)
    offset = 2 + 24 * len(regions)
    headers, body = b"", b""
    for ids in regions:
        headers += struct.pack("<IB3x4f", offset + len(body), len(ids), 0, 0, 0, 0)
        body += struct.pack("<%di" % len(ids), *ids)
    with open(os.path.join(src, atlas.OUTLINES + ".G"), "wb") as f:
        f.write(struct.pack("<H", len(regions)) + headers + body)


class OutlinesTest(unittest.TestCase):
    def test_lines_and_regions_in_degrees(self):
        coast = [(2.0, 48.0), (3.0, 49.0), (4.0, 48.0)]
        border = [(4.0, 48.0), (2.0, 48.0)]
        with tempfile.TemporaryDirectory() as src:
            write_world(src, [(0, 1, coast), (1, 2, border)], [[1, -2], [2]])
            regions, lines = atlas.outlines(src)
        rounded = [[(round(x, 4), round(y, 4)) for x, y in r] for r in regions]
        # The second line reversed closes the first region.
        self.assertEqual([coast + border[::-1], border], rounded)
        # Each line knows the regions on its two sides (0: the sea).
        self.assertEqual([(True, 0, 1), (False, 1, 2)], [(coast, l, r) for coast, _, l, r in lines])

    def test_damaged_or_missing_outlines_draw_none(self):
        with tempfile.TemporaryDirectory() as src:
            self.assertEqual(([], []), atlas.outlines(src))
            write_world(src, [(0, 1, [(0.0, 0.0), (1.0, 1.0)])], [[1, 5]])
            self.assertEqual(([], []), atlas.outlines(src), "a region naming a missing line")
            with open(os.path.join(src, atlas.OUTLINES + ".L"), "r+b") as f:
                f.truncate(40)
            self.assertEqual(([], []), atlas.outlines(src), "a cut file")

    def test_a_map_shows_the_land_and_its_coast(self):
        square = [(0.0, 0.0), (10.0, 0.0), (10.0, 10.0), (0.0, 10.0), (0.0, 0.0)]
        with tempfile.TemporaryDirectory() as src:
            write_world(src, [(0, 1, square)], [[1]])
            shapes = atlas.outlines(src)
        image, _ = atlas.plot([], (-5, 15, -5, 15), 10, False, None, shapes)
        self.assertEqual(atlas.LAND, image.getpixel((120, 80)), "inside the region")
        self.assertEqual(atlas.SEA, image.getpixel((20, 20)), "outside")
        self.assertEqual(atlas.COAST, image.getpixel((50, 80)), "on its edge")


class PlacesTest(unittest.TestCase):
    def test_cities_take_their_french_name_where_cldr_gives_one(self):
        with tempfile.TemporaryDirectory() as src:
            zones = os.path.join(src, "usr/share/zoneinfo")
            os.makedirs(zones)
            with open(os.path.join(zones, "zone1970.tab"), "w") as f:
                f.write("# comment\n"
                        "BE,LU,NL\t+5050+00420\tEurope/Brussels\n"
                        "EG\t+3003+03115\tAfrica/Cairo\n"
                        "US\t+404251-0740023\tAmerica/New_York\n"
                        "VN\t+1045+10640\tAsia/Ho_Chi_Minh\n")
            self.assertEqual(["Brussels", "Cairo", "New York", "Ho Chi Minh"],
                             [p["name"] for p in atlas.read_places(src)], "no locale data: the zones' own")
            os.makedirs(os.path.dirname(os.path.join(src, atlas.CLDR_FRENCH)))
            with open(os.path.join(src, atlas.CLDR_FRENCH), "w", encoding="utf-8") as f:
                f.write("<ldml><dates><timeZoneNames>"
                        "<zone type='Europe/Brussels'><exemplarCity>Bruxelles</exemplarCity></zone>"
                        "<zone type='Africa/Cairo'><exemplarCity>Le Caire</exemplarCity></zone>"
                        "<zone type='Asia/Ho_Chi_Minh'><exemplarCity>H\u1ed3 Ch\u00ed Minh</exemplarCity></zone>"
                        "<zone type='Europe/Paris'><long><standard>heure</standard></long></zone>"
                        "</timeZoneNames></dates></ldml>")
            places = atlas.read_places(src)
        # A name Windows-1252 cannot write keeps the zone's.
        self.assertEqual(["Bruxelles", "Le Caire", "New York", "Ho Chi Minh"], [p["name"] for p in places])
        self.assertEqual(("BE", 50.0 + 50 / 60, 4 + 20 / 60), (places[0]["country"], places[0]["lat"], places[0]["lon"]))


if __name__ == "__main__":
    unittest.main()
