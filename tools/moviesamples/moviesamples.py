#!/usr/bin/env python3
"""Test data of the movie tests, beside the movies ffmpeg makes.

probe MOVIE OUT          ffprobe's answers for the first video stream, as text:
                           line 1: width height frames time_base_den duration_ms
                           then one packet pts per line, in stream time units
container OUT LEAD MOVIE the movie inside a container: LEAD bytes of filler,
                           the movie, then 333 bytes of filler
hotspots REC IDX STEP G:X0,Y0,X1,Y1,X2,Y2,X3,Y3 ...
                         a hot-spot pair: records of 42 bytes little-endian
                           (group u32 | 4 corners x,y u16 in thousandths |
                           22 bytes of zeros), then the step u16 as the last
                           two bytes; the index holds, per group, the u32
                           offset of its first record (0: none). Records of
                           one group are consecutive, groups in rising order.
frame MOVIE INDEX OUT    the frame (from 0) as packed RGB, through ffmpeg
"""
import json
import struct
import subprocess
import sys


def probe(movie, out):
    info = json.loads(subprocess.check_output(
        ["ffprobe", "-v", "error", "-select_streams", "v:0", "-show_entries",
         "stream=width,height,nb_frames,time_base:format=duration", "-of", "json", movie]))
    stream = info["streams"][0]
    den = int(stream["time_base"].split("/")[1])
    packets = subprocess.check_output(
        ["ffprobe", "-v", "error", "-select_streams", "v:0", "-show_entries", "packet=dts",
         "-of", "csv=p=0", movie]).decode().split()
    duration_ms = round(float(info["format"]["duration"]) * 1000)
    with open(out, "w") as f:
        f.write("%d %d %d %d %d\n" % (stream["width"], stream["height"], len(packets), den, duration_ms))
        for p in packets:
            f.write(p.strip(",") + "\n")


def container(out, lead, movie):
    data = open(movie, "rb").read()
    with open(out, "wb") as f:
        f.write(b"\xAB" * int(lead) + data + b"\xCD" * 333)


def hotspots(rec, idx, step, specs):
    step = int(step)
    groups = {}
    for spec in specs:
        group, corners = spec.split(":")
        groups.setdefault(int(group), []).append([int(v) for v in corners.split(",")])
    records = bytearray(b"\0" * 4)  # offset 0 means "no record"
    index = {}
    for group in sorted(groups):
        index[group // step] = len(records)
        for corners in groups[group]:
            records += struct.pack("<I8H", group, *corners) + b"\0" * 22
    records += struct.pack("<H", step)
    open(rec, "wb").write(records)
    last = max(index) if index else -1
    open(idx, "wb").write(b"".join(struct.pack("<I", index.get(i, 0)) for i in range(last + 1)))


def frame(movie, number, out):
    subprocess.check_call(["ffmpeg", "-v", "error", "-y", "-i", movie, "-vf", "select=eq(n\\,%d)" % int(number),
                           "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "rgb24", out])


if __name__ == "__main__":
    command, args = sys.argv[1], sys.argv[2:]
    if command == "probe":
        probe(*args)
    elif command == "container":
        container(*args)
    elif command == "hotspots":
        hotspots(args[0], args[1], args[2], args[3:])
    elif command == "frame":
        frame(*args)
    else:
        sys.exit("unknown command " + command)
