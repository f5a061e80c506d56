#!/usr/bin/python3
"""Writes the sample's video and Flash media documents.

usage: media.py WORK OUT

From the first sample pictures (WORK/pictures.txt, OUT/images), ffmpeg
makes short Motion-JPEG movies (the format our movie layer reads) in
OUT/data/VIDEOS (with a PCM sound track; a lighter one under WORK/media is
the document's record, which the reader plays), the first with a Director
companion (any bytes) in
OUT/data/DCR; two multi-frame stand-in Flash animations (the text format
drawn in platform/flashmovie/FlashMovie.h, frames inline) go to WORK/media.
WORK/media.txt lists them, one document a line, Windows-1252:
  base TAB type TAB icon TAB record file TAB video TAB director TAB caption
base: "VIDEOS" (type 4, a video: video and director name files under the
base's folder) or "MEDIA" (type 2, a Flash animation: the record file is
the movie stored in the record).
"""
import base64
import io
import os
import subprocess
import sys

from PIL import Image, ImageDraw, ImageFont

from movies import write_if_changed

FONT = "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf"
SECONDS = 4
VIDEOS = [("video0.mov", "video0.dcr", 8, "Vid\xe9o : {}"), ("video1.mov", "", 9, "Vid\xe9o : {}")]
FLASH = [("anim0.swf", 11, "Animation : les saisons", ["Printemps", "\xc9t\xe9", "Automne", "Hiver"],
          [(120, 200, 90), (240, 200, 60), (200, 120, 50), (150, 170, 220)]),
         ("anim1.swf", 16, "Animation : avant et apr\xe8s", ["Avant", "Apr\xe8s"], [(90, 90, 160), (160, 90, 90)])]


def frame_png(label, colour, n, total):
    im = Image.new("RGB", (400, 300), colour)
    draw = ImageDraw.Draw(im)
    font = ImageFont.truetype(FONT, 40)
    w = draw.textlength(label, font=font)
    draw.text(((400 - w) / 2, 110), label, fill=(255, 255, 255), font=font)
    draw.text((16, 260), "image %d / %d" % (n + 1, total), fill=(255, 255, 255), font=ImageFont.truetype(FONT, 18))
    out = io.BytesIO()
    im.save(out, "PNG")
    return out.getvalue()


def make_movie(picture, target, fps, quality, rate):
    """The picture, fitted into 320 x 240, its hue turning (each frame
    differs), over a tone rising over a fifth (16-bit PCM, one channel)."""
    subprocess.check_call(
        ["ffmpeg", "-v", "error", "-y", "-loop", "1", "-i", picture, "-f", "lavfi", "-i",
         "aevalsrc=0.3*sin(2*PI*(330+55*t)*t):s=%d" % rate, "-t", str(SECONDS), "-r", str(fps), "-vf",
         "scale=320:240:force_original_aspect_ratio=decrease,pad=320:240:(ow-iw)/2:(oh-ih)/2,hue=h=t*90",
         "-c:v", "mjpeg", "-q:v", str(quality), "-pix_fmt", "yuvj444p", "-c:a", "pcm_s16le", "-ac", "1",
         target + ".tmp.mov"])
    os.replace(target + ".tmp.mov", target)


def main(argv):
    work, out = argv[1], argv[2]
    pictures = []
    with open(os.path.join(work, "pictures.txt"), "rb") as f:
        for line in f:
            fields = line.rstrip(b"\n").split(b"\t")
            if len(fields) >= 4:
                pictures.append((fields[0].decode("ascii"), (fields[2] or fields[3]).decode("cp1252")))
    videos = os.path.join(out, "data", "VIDEOS")
    os.makedirs(videos, exist_ok=True)
    os.makedirs(os.path.join(out, "data", "DCR"), exist_ok=True)
    os.makedirs(os.path.join(work, "media"), exist_ok=True)
    lines = []
    for (name, dcr, icon, caption), (picture, text) in zip(VIDEOS, pictures):
        # The movie file, and the lighter copy its document's record holds
        # (a catalogue entry stays under 1 MB), which an article's "S" button plays.
        for target, fps, quality, rate in ((os.path.join(videos, name), 10, 6, 22050),
                                           (os.path.join(work, "media", name), 5, 10, 11025)):
            if not os.path.exists(target):
                make_movie(os.path.join(out, "images", picture), target, fps, quality, rate)
        if dcr:
            write_if_changed(os.path.join(out, "data", "DCR", dcr), b"director stand-in\r\n")
        lines.append("VIDEOS\t4\t%d\tmedia\\%s\t%s\t%s\t%s" % (icon, name, name, dcr, caption.format(text[:60])))
    for name, icon, caption, labels, colours in FLASH:
        movie = ["SVMOVIE 1", "SIZE 400 300"]
        for n, (label, colour) in enumerate(zip(labels, colours)):
            movie.append("FRAMEDATA " + base64.b64encode(frame_png(label, colour, n, len(labels))).decode("ascii"))
        path = os.path.join(work, "media", name)
        write_if_changed(path, ("\r\n".join(movie) + "\r\n").encode("cp1252"))
        lines.append("MEDIA\t2\t%d\tmedia\\%s\t\t\t%s" % (icon, name, caption))
    write_if_changed(os.path.join(work, "media.txt"), ("\n".join(lines) + "\n").encode("cp1252"))


if __name__ == "__main__":
    main(sys.argv)
