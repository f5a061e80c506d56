#!/usr/bin/env bash
# Checks exported RTF against LibreOffice: rtf_samples (built with the tests)
# writes generated articles as RTF and plain exports, soffice converts the RTF
# to text, and each text must equal the plain export (Windows-1252), trailing
# blank lines aside. Usage: rtf-libreoffice.sh RTF_SAMPLES_EXE [COUNT]
set -euo pipefail
exe=$1
count=${2:-20}
command -v soffice >/dev/null || { echo "rtf-libreoffice: soffice missing (apt-get install libreoffice-writer-nogui)"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
start=$(date +%s)
wine "$exe" "$(winepath -w "$work" 2>/dev/null)" "$count" >/dev/null 2>&1 || { echo "rtf-libreoffice: rtf_samples failed"; exit 1; }
# Its own profile folder, so that parallel runs and a user's instance do not meet.
soffice -env:UserInstallation="file://$work/profile" --headless --convert-to "txt:Text (encoded):UTF8" \
  --outdir "$work/out" "$work"/sample_*.rtf >"$work/soffice.log" 2>&1
normalize() { tr -d '\r' | sed '1s/^\xEF\xBB\xBF//' | sed -e :a -e '/^\n*$/{$d;N;ba' -e '}'; }
agree=0
for rtf in "$work"/sample_*.rtf; do
  name=$(basename "$rtf" .rtf)
  if [ -f "$work/out/$name.txt" ] && \
     diff <(iconv -f cp1252 -t utf-8 "$work/$name.txt" | normalize) <(normalize <"$work/out/$name.txt") >"$work/$name.diff"; then
    agree=$((agree + 1))
  else
    echo "rtf-libreoffice: $name differs:"; head -5 "$work/$name.diff" 2>/dev/null || true
  fi
done
echo "rtf-libreoffice: $agree of $count RTF exports read back by LibreOffice as their plain text ($(( $(date +%s) - start )) s)"
[ "$agree" -eq "$count" ]
