#!/bin/sh
# Adds or removes the CUPS queues of the QUENTARIS PDF Printer.
#   quentaris-queue.sh add [NAME]   the queue of the unnamed instance, or of the instance NAME
#   quentaris-queue.sh remove NAME  the queue of one named instance
#   quentaris-queue.sh remove-all   every queue that prints to the quentaris backend
# A CUPS queue name holds no blanks or brackets, so the description carries the printer name
# that gui reads the instance from: "QUENTARIS PDF Printer [NAME]".
set -eu

ppd=${QUENTARIS_PPD:-/usr/share/ppd/quentaris/quentaris-pdf-printer.ppd}

queue_name() {
  if [ -z "$1" ]; then
    echo QUENTARIS_PDF_Printer
  else
    printf 'QUENTARIS_PDF_Printer_%s\n' "$(printf '%s' "$1" | tr -c 'A-Za-z0-9_.-' '_')"
  fi
}

description() {
  if [ -z "$1" ]; then echo "QUENTARIS PDF Printer"; else echo "QUENTARIS PDF Printer [$1]"; fi
}

case "${1:-}" in
  add)
    instance=${2:-}
    case "$instance" in *[][]*) echo "An instance name holds no brackets." >&2; exit 2 ;; esac
    queue=$(queue_name "$instance")
    # The page has no unprintable edge, so text and pictures that CUPS lays out get margins.
    lpadmin -p "$queue" -E -v quentaris:/ -P "$ppd" -D "$(description "$instance")" \
      -o printer-error-policy=abort-job -o printer-is-shared=false \
      -o page-left-default=54 -o page-right-default=54 -o page-top-default=54 \
      -o page-bottom-default=54
    echo "$queue"
    ;;
  remove)
    lpadmin -x "$(queue_name "${2:?instance name}")"
    ;;
  remove-all)
    LC_ALL=C lpstat -v 2>/dev/null | sed -n 's/^device for \([^:]*\): quentaris:.*/\1/p' |
      while read -r queue; do lpadmin -x "$queue"; done
    ;;
  *)
    echo "Usage: $0 add [NAME] | remove NAME | remove-all" >&2
    exit 2
    ;;
esac
