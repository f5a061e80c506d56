# Sourced by the tools: one quiet, offline Wine prefix per machine, created on first use.
source "$(dirname "${BASH_SOURCE[0]}")/target.sh"
if [ "$SV_TARGET" = x86_64 ]; then
  export WINEPREFIX=${WINEPREFIX:-$HOME/.wine-savantorium64}
else
  export WINEPREFIX=${WINEPREFIX:-$HOME/.wine-savantorium}
fi
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [ ! -f "$WINEPREFIX/.savantorium-ready" ]; then
  echo "wine: creating prefix $WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  # Metric-compatible faces for the fonts the program asks for.
  reg=$(mktemp --suffix=.reg)
  printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\n"Arial"="Liberation Sans"\n"Times New Roman"="Liberation Serif"\n"Courier New"="Liberation Mono"\n"Times"="Liberation Serif"\n"Courier"="Liberation Mono"\n' >"$reg"
  wine regedit "$reg" >/dev/null 2>&1 || true
  rm -f "$reg"
  # Let the server save the registry before the prefix counts as ready.
  timeout 60 wineserver -w || true
  touch "$WINEPREFIX/.savantorium-ready"
fi
# Wine draws caption buttons and scroll and spin arrows with Marlett, which
# this Wine does not find in fonts-wine's folder: the prefix gets a copy.
if [ ! -f "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ] && [ -f /usr/share/wine/fonts/marlett.ttf ] &&
  [ -d "$WINEPREFIX/drive_c/windows/Fonts" ]; then
  cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
fi
