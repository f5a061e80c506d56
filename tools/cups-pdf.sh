#!/usr/bin/env bash
# Starts CUPS when it is not running and makes sure its PDF printer "PDF"
# exists and is the default: Wine's spooler prints through it, and the
# printing tests read the PDF files it writes under $HOME/PDF.
# Idempotent; needs root (the set-up and the test run are root here).
set -euo pipefail

command -v cupsd >/dev/null || { echo "cups-pdf: cupsd missing, run tools/setup.sh" >&2; exit 1; }
if ! lpstat -r 2>/dev/null | grep -q "is running"; then
  cupsd
  for _ in $(seq 50); do
    lpstat -r 2>/dev/null | grep -q "is running" && break
    sleep 0.1
  done
fi
if ! lpstat -v PDF >/dev/null 2>&1; then
  lpadmin -p PDF -v cups-pdf:/ -E -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null
fi
lpstat -d 2>/dev/null | grep -q ": PDF$" || lpadmin -d PDF
# A queue made a moment ago may not take jobs yet.
for _ in $(seq 50); do
  lpstat -a PDF 2>/dev/null | grep -q "accepting requests" && break
  sleep 0.1
done
