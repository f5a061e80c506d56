#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine, as root.
# Idempotent: each step checks for its result first, so a second run takes seconds.
set -euo pipefail

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo

log() { echo "setup: $*"; }

# A mirror caught mid-sync fails one index now and serves it a minute later:
# try again before giving up. Returns non-zero when an index is still missing.
apt_update() {
  local i
  for i in 1 2 3; do
    $SUDO apt-get update -qq && return 0
    log "apt-get update failed (try $i), trying again"
    sleep $((i * 15))
  done
  return 1
}

# With one architecture's security index missing, the two architectures'
# candidates differ and multi-arch libraries cannot be installed side by side:
# for this install only, take both from the main suites.
FALLBACK_PIN=/etc/apt/preferences.d/savantorium-no-security
pin_security_down() {
  log "an index could not be fetched: installing from the main suites only"
  printf 'Package: *\nPin: release n=bookworm-security\nPin-Priority: 100\n' | $SUDO tee "$FALLBACK_PIN" >/dev/null
}
unpin_security() { [ -f "$FALLBACK_PIN" ] && $SUDO rm -f "$FALLBACK_PIN"; return 0; }

# fonts-wine: the faces Wine draws its own parts with (Marlett for caption
# buttons and arrows); without it they show as letters.
need_pkgs=(mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine32 wine64 xvfb xauth ccache cmake make
           googletest libz-mingw-w64-dev dpkg-dev python3 ninja-build fonts-liberation
           tinyproxy-bin cups printer-driver-cups-pdf libcups2 poppler-utils imagemagick
           libreoffice-writer-nogui mandoc python3-pil ffmpeg
           fonts-wine)

missing=()
for p in "${need_pkgs[@]}"; do
  case "$p" in
    wine32) q="wine32:i386" ;;
    # Wine's 32-bit spooler loads the i386 libcups.
    libcups2) q="libcups2:i386" ;;
    *) q="$p" ;;
  esac
  dpkg-query -W -f='${Status}' "$q" 2>/dev/null | grep -q "install ok installed" || missing+=("$q")
done

if [ ${#missing[@]} -gt 0 ]; then
  log "installing: ${missing[*]}"
  $SUDO dpkg --add-architecture i386
  apt_update || pin_security_down
  trap unpin_security EXIT
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  unpin_security
fi

# The target (32-bit, or 64-bit where the machine runs no 32-bit code) is
# known once the packages are in.
source "$(dirname "$0")/target.sh"
DEPS_PREFIX=${SAVANTORIUM_DEPS:-/opt/savantorium-deps}
TOOLCHAIN=$SV_TOOLCHAIN
MINGW=$SV_TARGET-w64-mingw32

# deb-src entries: a copy of the deb stanzas of the Debian sources, typed deb-src.
add_deb_src() {
  local src=/etc/apt/sources.list.d/debian.sources
  local dst=/etc/apt/sources.list.d/savantorium-src.sources
  [ -f "$dst" ] && return 0
  if [ -f "$src" ]; then
    sed 's/^Types: deb$/Types: deb-src/' "$src" | $SUDO tee "$dst" >/dev/null
  else
    grep -h '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' | $SUDO tee /etc/apt/sources.list.d/savantorium-src.list >/dev/null
  fi
  apt_update || log "going on with the indexes it fetched"
}

# Fetches a source package, newest listed version first: the mirror may lack the newest.
fetch_source() {
  local pkg=$1 dir=$2
  mkdir -p "$dir"
  (cd "$dir"
   for v in $(apt-cache showsrc "$pkg" | awk '/^Version:/{print $2}' | sort -rV | uniq); do
     if apt-get source -qq --download-only "$pkg=$v" >/dev/null 2>&1; then
       dpkg-source -x --no-check ./*.dsc src >/dev/null
       exit 0
     fi
     rm -f ./*.dsc ./*.tar.* 2>/dev/null || true
   done
   echo "setup: no downloadable source for $pkg" >&2
   exit 1)
}

build_dep() {
  local name=$1 pkg=$2
  local stamp="$DEPS_PREFIX/.$name-built"
  shift 2
  [ -f "$stamp" ] && return 0
  add_deb_src
  local work
  work=$(mktemp -d)
  log "cross-building $name from Debian's source package"
  fetch_source "$pkg" "$work"
  cmake -S "$work/src" -B "$work/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$DEPS_PREFIX" -Wno-dev "$@" >/dev/null 2>&1
  cmake --build "$work/build" >/dev/null
  cmake --install "$work/build" >/dev/null
  rm -rf "$work"
  touch "$stamp"
}

$SUDO mkdir -p "$DEPS_PREFIX"
build_dep libjpeg-turbo libjpeg-turbo -DENABLE_SHARED=OFF -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF
build_dep libpng libpng1.6 -DPNG_SHARED=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
  -DZLIB_ROOT=/usr/$MINGW
# SQLite with FTS5 for the search benchmark: the amalgamation made natively from
# Debian's source package, then compiled for the target as a static library.
build_sqlite() {
  local stamp="$DEPS_PREFIX/.sqlite3-built"
  [ -f "$stamp" ] && return 0
  add_deb_src
  local work
  work=$(mktemp -d)
  log "cross-building sqlite3 with FTS5 from Debian's source package"
  fetch_source sqlite3 "$work"
  (cd "$work/src" && ./configure --enable-fts5 >/dev/null && make sqlite3.c >/dev/null
   $MINGW-gcc-posix -O2 -DSQLITE_ENABLE_FTS5 -c sqlite3.c -o sqlite3.o
   $MINGW-ar rcs libsqlite3.a sqlite3.o)
  $SUDO mkdir -p "$DEPS_PREFIX/lib" "$DEPS_PREFIX/include"
  $SUDO cp "$work/src/libsqlite3.a" "$DEPS_PREFIX/lib/"
  $SUDO cp "$work/src/sqlite3.h" "$DEPS_PREFIX/include/"
  rm -rf "$work"
  touch "$stamp"
}
build_sqlite
# The PDF printer that Wine prints to (through CUPS) for the printing tests.
"$(dirname "$0")/cups-pdf.sh"
log "ready (dependencies in $DEPS_PREFIX, target $SV_TARGET)"
