#!/usr/bin/env bash
# Installs what is missing, builds, and runs the program once without a display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
export QUENTARIS_UI=headless
build/gui msg='QUENTARIS PDF Printer is built.\nIt shows this message on behalf of the printer.' icon=information
