# Sourced by the tools: which Windows the build targets on this machine.
# The program is 32-bit. A machine whose kernel runs no 32-bit code (its
# 32-bit emulation turned off) cannot run 32-bit Wine; there the build and the
# tests fall back to 64-bit Windows under 64-bit Wine, from the same sources.
# SV_TARGET=i686 or x86_64 chooses; unset, the machine decides (after the
# packages are installed: the test needs the 32-bit loader).
if [ -z "${SV_TARGET:-}" ]; then
  if [ ! -e /lib/ld-linux.so.2 ] || /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
    SV_TARGET=i686
  else
    SV_TARGET=x86_64
  fi
fi
export SV_TARGET
SV_TOOLCHAIN="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/cmake/mingw-$SV_TARGET.cmake"
export SV_TOOLCHAIN
if [ "$SV_TARGET" = x86_64 ]; then
  export SAVANTORIUM_DEPS=${SAVANTORIUM_DEPS:-/opt/savantorium-deps64}
  # Debian's wine, wine-stable and the tools that call them pick the 32-bit
  # loader whenever it is installed: these run the 64-bit one.
  export WINELOADER=/usr/lib/wine/wine64
  sv_wine64_bin="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine64"
  case ":$PATH:" in *":$sv_wine64_bin:"*) ;; *) export PATH="$sv_wine64_bin:$PATH" ;; esac
fi
