#!/usr/bin/env bash
# Installs the QUENTARIS PDF Printer on this machine from the build in build/ (made when
# missing): gui in /opt/quentaris/pdf-printer, the CUPS backend, the PPD, the
# quentaris-pdf-printer command and the desktop entry of the Options dialog, and a CUPS queue.
#   scripts/install-printer.sh                   the queue of the unnamed instance
#   scripts/install-printer.sh --instance NAME   the queue of the instance NAME as well
#   scripts/install-printer.sh --uninstall       every queue of the printer and all its files
#   scripts/install-printer.sh --uninstall --instance NAME   only the queue of NAME
set -euo pipefail
cd "$(dirname "$0")/.."

instance="" uninstall=0 named=0
while [[ $# -gt 0 ]]; do
  case "$1" in
    --instance) instance=${2:?"--instance needs a name"}; named=1; shift 2 ;;
    --uninstall) uninstall=1; shift ;;
    *) echo "Usage: $0 [--instance NAME] [--uninstall]" >&2; exit 2 ;;
  esac
done
[[ $(id -u) -eq 0 ]] || { echo "Run this as root (sudo $0 ...)." >&2; exit 1; }

folder=/opt/quentaris/pdf-printer
queues=packaging/quentaris-queue.sh

if [[ $uninstall -eq 1 ]]; then
  if [[ $named -eq 1 ]]; then
    sh "$queues" remove "$instance"
    exit 0
  fi
  sh "$queues" remove-all || true
  rm -rf "$folder" /usr/lib/cups/backend/quentaris /usr/share/ppd/quentaris \
    /usr/bin/quentaris-pdf-printer /usr/share/applications/quentaris-pdf-printer.desktop
  rmdir /opt/quentaris 2>/dev/null || true
  echo "QUENTARIS PDF Printer removed."
  exit 0
fi

scripts/install-deps.sh
[[ -x build/gui && -x build/quentaris ]] || scripts/build.sh
cmake --install build --prefix / >/dev/null
if ! lpstat -r >/dev/null 2>&1; then
  systemctl start cups 2>/dev/null || service cups start 2>/dev/null || true
fi
sh "$queues" add >/dev/null
[[ $named -eq 0 ]] || sh "$queues" add "$instance" >/dev/null
echo "QUENTARIS PDF Printer installed; queues:"
LC_ALL=C lpstat -v | grep 'quentaris:' || true
