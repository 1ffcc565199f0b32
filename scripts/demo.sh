#!/usr/bin/env bash
# Installs what is missing, builds, and prints the bundled sample job through the whole
# pipeline without a display, then names the PDF it made.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh

demo=$(pwd)/build/demo
rm -rf "$demo"
mkdir -p "$demo/data/QUENTARIS/PDF Printer"
# The demo keeps its settings apart from the user's own.
printf '[PDF Printer]\r\n  output=%s/<title>.pdf\r\n  watermarktext=DEMO\r\n  showsettings=never\r\n  showpdf=no\r\n' \
  "$demo" > "$demo/data/QUENTARIS/PDF Printer/settings.ini"

APPDATA="$demo/data" QUENTARIS_UI=headless build/gui \
  ps="$(pwd)/samples/report.ps" printer="QUENTARIS PDF Printer" doc="report.odt" sessionid="demo-$$"

pdf="$demo/Quarterly Report.pdf"
[[ -f "$pdf" ]] || { echo "The demo made no PDF." >&2; exit 1; }
echo "$pdf"
