#!/usr/bin/env bash
# Builds the sample encyclopedia's installation folder (build/sample) from
# Debian's French help pages, man pages and thesaurus, and the dated events
# of its calendar files (the chronology and the ephemeris), then checks it.
# Each stage is skipped when its output is newer than everything it reads,
# so a second run with nothing changed takes seconds.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${SV_BUILD_DIR:-$root/build}
src=$build/sample-src    # the unpacked packages
work=$build/sample-work  # the corpus: articles, word items, keys, relations
out=$build/sample        # the installation folder
packages=(gimp-help-fr libreoffice-help-fr manpages-fr mythes-fr wfrench calendar tzdata iso-codes r-cran-maps unicode-cldr-core)
python=/usr/bin/python3  # Debian's, which sees python3-pil
cldr_french=usr/share/unicode/cldr/common/main/fr.xml
start=$SECONDS

stage() { echo "sample: [$1/6] $2"; }
# True when $1 is missing or older than any of the other files.
stale() {
  local target=$1
  shift
  [ -e "$target" ] || return 0
  local f
  for f in "$@"; do
    [ "$f" -nt "$target" ] && return 0
  done
  return 1
}
winpath() { local p=${1//\//\\}; echo "Z:$p"; }

mkdir -p "$src" "$work" "$out/images"

stage 1 "packages: ${packages[*]}"
# A folder unpacked before the calendar, the word list or the atlas's sources joined the list is unpacked again.
if [ ! -f "$src/.unpacked" ] || [ ! -d "$src/usr/share/calendar" ] || [ ! -f "$src/usr/share/dict/french" ] ||
  [ ! -f "$src/usr/share/zoneinfo/zone1970.tab" ] || [ ! -f "$src/usr/share/iso-codes/json/iso_3166-1.json" ] ||
  [ ! -f "$src/usr/lib/R/site-library/maps/mapdata/world.L" ] || [ ! -f "$src/$cldr_french" ]; then
  (cd "$src" && rm -f ./*.deb && apt-get download -qq "${packages[@]}" 2>/dev/null)
  for deb in "$src"/*.deb; do
    case $deb in
      # Of the locale data only the French names are read: the whole package is some 230 MB.
      */unicode-cldr-core_*) dpkg-deb --fsys-tarfile "$deb" | tar -x -C "$src" "./$cldr_french" ;;
      *) dpkg -x "$deb" "$src" ;;
    esac
  done
  rm -f "$src"/*.deb
  touch "$src/.unpacked"
fi

stage 2 "corpus: pages to articles in slash markup, words, keys, thesaurus, images, chronology, dictionary"
if stale "$work/.done" "$src/.unpacked" "$root/tools/sample/corpus.py" "$root/tools/sample/themes.py" "$root/tools/sample/searches.py" \
  "$root/tools/sample/chrono.py" "$root/tools/sample/dico.py" || [ ! -f "$out/images/.converted" ]; then
  "$python" "$root/tools/sample/corpus.py" "$src" "$work" "$out/images" 2>"$work/warnings.txt"
  "$python" "$root/tools/sample/searches.py" "$work" >/dev/null
  "$python" "$root/tools/sample/chrono.py" "$src" "$work" >>"$work/report.txt"
  "$python" "$root/tools/sample/dico.py" "$src" "$work" >>"$work/report.txt"
  touch "$out/images/.converted" "$work/.done"
else
  cat "$work/report.txt"
fi
if stale "$work/ephem/days.txt" "$src/.unpacked" "$work/.done" "$root/tools/sample/ephemeris.py" \
  "$root/tools/sample/chrono.py"; then
  "$python" "$root/tools/sample/ephemeris.py" "$src" "$work"
fi

# The atlas reads only its two packages and the key filter: a change of it leaves the corpus alone.
if stale "$work/atlas/maps.txt" "$src/.unpacked" "$root/tools/sample/atlas.py" "$work/chars.txt"; then
  "$python" "$root/tools/sample/atlas.py" "$src" "$work"
fi

# The video and Flash media documents: ffmpeg's movies of a few pictures, stand-in animations.
"$python" "$root/tools/sample/media.py" "$work" "$out"

stage 3 "builder: the samplebase tool"
source "$root/tools/wine-env.sh"
[ -f "$build/build.ninja" ] || cmake -S "$root" -B "$build" -G Ninja -DSV_WERROR=ON >/dev/null
cmake --build "$build" --target samplebase sv_dico_library sv_projit >/dev/null
tool=$build/tools/samplebase/samplebase.exe

stage 4 "base: tables, word index, A-to-Z index, thesaurus, stop list, descriptor"
if stale "$work/.built" "$work/.done" "$work/ephem/days.txt" "$tool" "$work/atlas/maps.txt" "$work/media.txt" ||
  [ ! -f "$out/sv.sgm" ]; then
  wine "$tool" build "$(winpath "$work")" "$(winpath "$out")"
  touch "$work/.built"
fi

stage 5 "style sheet, dictionary library, web runtime defaults, stand-in movies"
"$python" "$root/tools/sample/movies.py" "$out"
cmp -s "$root/tools/sample/svstyles.xml" "$out/svstyles.xml" || cp "$root/tools/sample/svstyles.xml" "$out/svstyles.xml"
# The picture the reader shows while it quits.
"$python" "$root/tools/sample/credits.py" "$out"
mkdir -p "$out/dico"
cmp -s "$build/platform/dico/lexical.dll" "$out/dico/lexical.dll" || cp "$build/platform/dico/lexical.dll" "$out/dico/lexical.dll"
# The stand-in external movie player the media window hands Director movies to.
cmp -s "$build/platform/projit/projit.exe" "$out/projit.exe" || cp "$build/platform/projit/projit.exe" "$out/projit.exe"
# The reader's account with the local online service, as a subscription
# leaves it: known to the service (connection state 3, second access flag) but
# not yet logged in, so that "Se connecter" asks for the login ("invite",
# password "invite"). One value a line, unscrambled; the reader's own saves
# are kept.
[ -f "$out/svnet.par" ] ||
  printf '%s\r\n' 1 0 3 2 '' '' invite '' '' '' '' '' '' '' '' '' '' 0 1 '' 0 1 '' 0 1 0 50 >"$out/svnet.par"
# The reader starts its web engine with the runtime folder as its current folder.
mkdir -p "$out/defaults/pref"
cp -u "$root/platform/webrt/defaults/pref/"*.js "$out/defaults/pref/"

stage 6 "check: every catalogue, record, index and picture, every name the reader asks for"
# The names the reader's code asks for: a message or setting added there fails the check until the sample has it.
"$python" "$root/tools/sample/keys.py" "$root" "$work/keys.new"
cmp -s "$work/keys.new" "$work/keys.txt" && rm "$work/keys.new" || mv "$work/keys.new" "$work/keys.txt"
if stale "$work/.checked" "$work/.built" "$work/keys.txt"; then
  wine "$tool" check "$(winpath "$out")" "$(winpath "$work/keys.txt")"
  touch "$work/.checked"
fi
echo "sample: $out ready in $((SECONDS - start)) s ($(du -sh "$out" | cut -f1))"
