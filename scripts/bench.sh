#!/usr/bin/env bash
# Measures gui against its targets on print jobs made for the purpose and prints one table,
# also written as CSV to <build>/bench/results.csv.
#   whole job     gui (headless, watermark and background) against Ghostscript alone on the
#                 parameter files gui wrote for the same job (the background's conversion and
#                 the document), as one would run them by hand: within 3 %
#   patch         the patch step against a plain copy of the same file (bench_patch): >= 50 %
#   start-up      a message-mode run, and a print job up to the Ghostscript start (a stand-in
#                 gs that exits at once): < 20 ms
#   peak memory   gui on the largest job, Ghostscript a stand-in so that only gui counts: < 32 MB
# Options: --huge adds a 1,000-page job of 1 GB; --build DIR (default build); --runs N (3).
set -euo pipefail
cd "$(dirname "$0")/.."

build=build
huge=no
runs=3
while [[ $# -gt 0 ]]; do
  case $1 in
    --huge) huge=yes ;;
    --build) build=$2; shift ;;
    --runs) runs=$2; shift ;;
    *) echo "usage: $0 [--huge] [--build DIR] [--runs N]" >&2; exit 2 ;;
  esac
  shift
done
gui_binary=$(realpath "$build/gui")
out=$build/bench
work=$(mktemp -d "${TMPDIR:-/tmp}/bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$out" "$work/program" "$work/runtime" "$work/data" "$work/home" "$work/out" "$work/stand-in"
chmod 700 "$work/runtime"
cp "$gui_binary" "$work/program/gui"

# make_job FILE PAGES KIND BYTES: a PostScript job of about BYTES; KIND is text or image.
make_job() {
  python3 - "$@" <<'PY'
import sys
path, pages, kind, size = sys.argv[1], int(sys.argv[2]), sys.argv[3], int(sys.argv[4])
per_page = size // pages
with open(path, "w", newline="") as job:
    job.write("%!PS-Adobe-3.0\r\n%%Title: Bench\r\n%%For: Bench\r\n%%Pages: " + str(pages) +
              "\r\n%%EndComments\r\n/Helvetica findfont 9 scalefont setfont\r\n")
    line = "72 {} moveto (The quick brown fox jumps over the lazy dog, page {}.) show\r\n"
    for page in range(1, pages + 1):
        job.write("%%Page: {0} {0}\r\n".format(page))
        if kind == "text":
            written = 0
            y = 0
            while written < per_page:
                text = line.format(760 - y % 700, page)
                job.write(text)
                written += len(text)
                y += 10
        else:
            side = max(16, int((per_page / 6) ** 0.5))
            row = "".join("{:02x}{:02x}{:02x}".format((x * 7 + page) % 256, x % 256, 128)
                          for x in range(side)) + "\r\n"
            job.write("gsave 72 300 translate 450 450 scale {0} {0} 8 [{0} 0 0 -{0} 0 {0}] "
                      "currentfile /ASCIIHexDecode filter false 3 colorimage\r\n".format(side))
            job.write(row * side)
            job.write(">\r\ngrestore\r\n")
        job.write("showpage\r\n")
    job.write("%%EOF\r\n")
PY
}

gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=pdfwrite -sPAPERSIZE=a4 -sOutputFile="$work/letterhead.pdf" \
  - <<<'%!PS
0.9 0.9 1 setrgbcolor 0 770 595 72 rectfill showpage' >/dev/null

settings() {  # settings OUTPUT DEBUG [plain]: watermark and background unless plain
  printf '[PDF Printer]\r\nshowsettings=never\r\nshowpdf=no\r\noutput=%s\r\ndebug=%s\r\n' "$1" "$2" \
    >"$work/program/global.ini"
  [[ ${3:-} == plain ]] && return
  printf 'watermarktext=CONFIDENTIAL\r\nsuperimpose=%s\r\n' "$work/letterhead.pdf" \
    >>"$work/program/global.ini"
}

gui() {  # gui PATH ARGUMENTS...: without a program of its own between the shell and gui
  local path=$1
  shift
  PATH="$path" XDG_RUNTIME_DIR="$work/runtime" APPDATA="$work/data" HOME="$work/home" \
    QUENTARIS_UI=headless "$work/program/gui" "$@" 2>>"$work/gui.err"
}

# gs_alone PARAMETERS...: Ghostscript on each parameter file in turn, from its folder as gui
# runs it: the job's Ghostscript work done by hand.
gs_alone() {
  (cd "$(dirname "$(command -v gs)")" && for parameters in "$@"; do
    gs @"$parameters" >/dev/null 2>&1 || exit 1
  done)
}

# elapsed COMMAND...: the wall time of one run, in seconds.
elapsed() {
  local start
  start=$(date +%s.%N)
  "$@" >/dev/null
  echo "$(date +%s.%N) - $start" | bc -l
}

smaller() {  # smaller BEST TIME: the smaller of the two; an empty BEST is none yet
  if [[ -z $1 ]] || (($(echo "$2 < $1" | bc -l))); then echo "$2"; else echo "$1"; fi
}

# seconds COMMAND...: the shortest wall time of the runs, in seconds.
seconds() {
  local best=""
  for ((run = 0; run < runs; run++)); do best=$(smaller "$best" "$(elapsed "$@")"); done
  echo "$best"
}

rows=("measure,job,value,unit,target,met")
row() {  # row MEASURE JOB VALUE UNIT TARGET MET
  rows+=("$1,$2,$3,$4,$5,$6")
}
fixed() { printf "%.${1}f" "$(echo "$2" | bc -l)"; }  # fixed DIGITS EXPRESSION
met() { if (($(echo "$1" | bc -l))); then echo yes; else echo NO; fi; }

jobs=("1p-text-1MB 1 text 1000000" "50p-image-10MB 50 image 10000000"
  "1000p-text-20MB 1000 text 20000000")
[[ $huge == yes ]] && jobs+=("1000p-image-1GB 1000 image 1000000000")

real_path=$PATH
stand_in_path="$work/stand-in:$PATH"
# The stand-in leaves the smallest complete PDF where the parameter file names it, so that gui
# ends well; it starts no program of its own.
cat >"$work/stand-in/gs" <<'GS'
#!/bin/sh
[ "$1" = --version ] && echo 10.00.0 && exit 0
while IFS= read -r line; do
  case $line in
    -sOutputFile=*) line=${line#*=\"} && printf '%%PDF-1.4\ntrailer\n<<>>\nstartxref\n0\n%%%%EOF\n' \
      >"${line%%\"*}" ;;
  esac
done <"${1#@}"
GS
chmod 755 "$work/stand-in/gs"

largest=""
for spec in "${jobs[@]}"; do
  read -r name pages kind bytes <<<"$spec"
  job="$work/$name.ps"
  echo "making $name" >&2
  make_job "$job" "$pages" "$kind" "$bytes"
  largest=$job
  # One run that keeps its files, for the parameter file Ghostscript alone is given.
  settings "$work/out/$name.pdf" yes
  gui "$real_path" "ps=$job" "printer=QUENTARIS PDF Printer" "doc=$name.ps" "sessionid=keep"
  params="$work/runtime/QUENTARIS/PDF Printer/keep_params.gs"
  # By hand, a Ghostscript that cannot draw the background PDF itself converts it first.
  background="$work/runtime/QUENTARIS/PDF Printer/keep_si_param_1.gs"
  [[ -f $background ]] || background=""
  echo "timing $name" >&2
  settings "$work/out/$name.pdf" no
  # Small jobs vary more from run to run, so they run more often; the runs of gui and of
  # Ghostscript alone take turns, so that a slower spell of the machine meets both.
  turns=$((pages > 50 ? runs : runs * 3))
  whole=""
  alone=""
  for ((turn = 0; turn < turns; turn++)); do
    whole=$(smaller "$whole" "$(elapsed gui "$real_path" "ps=$job" \
      "printer=QUENTARIS PDF Printer" "doc=$name.ps" "sessionid=bench")")
    alone=$(smaller "$alone" "$(elapsed gs_alone $background "$params")")
  done
  ratio=$(fixed 3 "$whole / $alone")
  row "whole job / Ghostscript alone" "$name" "$ratio" "ratio" "<= 1.03" "$(met "$ratio <= 1.03")"
  row "whole job" "$name" "$(fixed 3 "$whole")" "s" "" ""
  row "Ghostscript alone (background and document)" "$name" "$(fixed 3 "$alone")" "s" "" ""
  row "gui's own share" "$name" "$(fixed 1 "($whole - $alone) * 1000")" "ms" "" ""
  rm -f "$work/runtime/QUENTARIS/PDF Printer/"keep_*
done

echo "timing the page count" >&2
if [[ -x $build/bench_patch ]]; then
  csv=$("$build/bench_patch" --benchmark_filter='BM_PlainCopy|BM_PageCount/' \
    --benchmark_format=csv 2>/dev/null)
  rm -rf "${TMPDIR:-/tmp}/bench_patch"
  copy=$(awk -F, '/^"BM_PlainCopy/ {printf "%.0f", $6}' <<<"$csv")
  count=$(awk -F, '/^"BM_PageCount\// {printf "%.0f", $6}' <<<"$csv")
  share=$(fixed 3 "$count / $copy")
  row "page count / plain copy (200 MB text)" "bench_patch" "$share" "ratio" ">= 0.5" \
    "$(met "$share >= 0.5")"
  row "page count" "bench_patch" "$(fixed 0 "$count / 1048576")" "MB/s" "" ""
  row "plain copy" "bench_patch" "$(fixed 0 "$copy / 1048576")" "MB/s" "" ""
else
  row "page count / plain copy" "bench_patch" "n/a" "ratio" ">= 0.5" "not built"
fi

echo "timing the start-up" >&2
runs=$((runs * 5))
message=$(seconds gui "$real_path" "msg=Bench" "printer=QUENTARIS PDF Printer")
ms=$(fixed 1 "$message * 1000")
row "message-mode run" "-" "$ms" "ms" "< 20" "$(met "$ms < 20")"
settings "$work/out/startup.pdf" no plain
startup=$(seconds gui "$stand_in_path" "ps=$PWD/samples/report.ps" "printer=QUENTARIS PDF Printer" \
  "doc=report.ps" "sessionid=start")
ms=$(fixed 1 "$startup * 1000")
row "print job up to the Ghostscript start" "report.ps" "$ms" "ms" "< 20" "$(met "$ms < 20")"

echo "measuring peak memory" >&2
settings "$work/out/largest.pdf" no
peak=$( (/usr/bin/time -v env PATH="$stand_in_path" XDG_RUNTIME_DIR="$work/runtime" \
  APPDATA="$work/data" HOME="$work/home" QUENTARIS_UI=headless "$work/program/gui" "ps=$largest" \
  "printer=QUENTARIS PDF Printer" "doc=largest.ps" "sessionid=peak" >/dev/null) 2>&1 |
  awk '/Maximum resident set size/ {print $NF}')
mb=$(fixed 1 "$peak / 1024")
row "gui peak memory" "$(basename "$largest" .ps)" "$mb" "MB" "< 32" "$(met "$mb < 32")"

printf '%s\n' "${rows[@]}" >"$out/results.csv"
column -s, -t <"$out/results.csv"
echo "written to $out/results.csv" >&2
