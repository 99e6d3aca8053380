#!/usr/bin/env bash
# Workbook reading and writing: CQrExcelSheet against the npm packages xlsx (SheetJS) and
# exceljs on the same 100,000 x 8 sheet of Korean and Latin text and numbers.
#   bench/excel.sh [BUILD_DIR] [ROWS]
# Prints seconds (wall and CPU), ratios against the faster reference, and our peak memory.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
rows=${2:-100000}
tool=$build/bench/bench_excel_tool
node_dir=$here/bench/node
if [ ! -x "$tool" ]; then
  cmake --build "$build" --target bench_excel_tool >/dev/null
fi
if [ ! -d "$node_dir/node_modules/exceljs" ] || [ ! -d "$node_dir/node_modules/xlsx" ]; then
  (cd "$node_dir" && npm install --no-audit --no-fund --silent)
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# run NAME CMD...: wall seconds, CPU seconds and peak RSS (KB) of the command
run() {
  local name=$1; shift
  /usr/bin/time -f "%e %U %S %M" -o "$work/$name.time" "$@" >"$work/$name.out"
  read -r wall user sys rss <"$work/$name.time"
  cpu=$(echo "$user + $sys" | bc)
  echo "$name $wall $cpu $rss" >>"$work/results"
  printf "  %-14s wall %6.2f s  cpu %6.2f s  peak %7.1f MB\n" "$name" "$wall" "$cpu" "$(echo "$rss / 1024" | bc -l)"
}

echo "Writing $rows x 8 cells:"
run ours-write "$tool" make "$rows" "$work/ours.xlsx"
run xlsx-write node "$node_dir/excel.js" write xlsx "$rows" "$work/sheetjs.xlsx"
run exceljs-write node "$node_dir/excel.js" write exceljs "$rows" "$work/exceljs.xlsx"

echo "Reading the same workbook (written by us):"
run ours-read "$tool" read "$work/ours.xlsx"
run xlsx-read node "$node_dir/excel.js" read xlsx "$work/ours.xlsx"
run exceljs-read node "$node_dir/excel.js" read exceljs "$work/ours.xlsx"
echo "Reading the workbook written by exceljs (shared strings):"
run ours-read-sst "$tool" read "$work/exceljs.xlsx"
run xlsx-read-sst node "$node_dir/excel.js" read xlsx "$work/exceljs.xlsx"
run exceljs-read-sst node "$node_dir/excel.js" read exceljs "$work/exceljs.xlsx"

# The cell counts must agree, or the comparison means nothing.
for f in ours-read xlsx-read exceljs-read; do
  echo "  $f: $(cat "$work/$f.out")"
done

ratio() { # ratio OURS A B FIELD: faster of A and B divided by ours
  awk -v o="$1" -v a="$2" -v b="$3" -v f="$4" '
    $1==o {ov=$f} $1==a {av=$f} $1==b {bv=$f}
    END {m = (av < bv ? av : bv); printf "%.1f", m / ov}' "$work/results"
}
peak() { awk -v n="$1" '$1==n {printf "%.1f", $4/1024}' "$work/results"; }
echo
echo "Ratios (faster reference / ours; above 1 means we are faster):"
echo "  read  wall $(ratio ours-read xlsx-read exceljs-read 2)x  cpu $(ratio ours-read xlsx-read exceljs-read 3)x"
echo "  read (shared strings) wall $(ratio ours-read-sst xlsx-read-sst exceljs-read-sst 2)x  cpu $(ratio ours-read-sst xlsx-read-sst exceljs-read-sst 3)x"
echo "  write wall $(ratio ours-write xlsx-write exceljs-write 2)x  cpu $(ratio ours-write xlsx-write exceljs-write 3)x"
echo "Our peak memory: read $(peak ours-read) MB, read (shared strings) $(peak ours-read-sst) MB, write $(peak ours-write) MB"
