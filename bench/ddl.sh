#!/usr/bin/env bash
# The DDL reader's cost on the scripts that cost it most: one 50 MB statement of each kind
# (goal: peak under 500 MB, time linear in the size) and 20,000 / 50,000 tables of one name
# across schemas and re-created (goal: under 2 s). bench/ddl.sh [BUILD_DIR] [MB]
# Prints wall and CPU seconds and the peak memory of each read (bench_ddl, the reader alone).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
mb=${2:-50}
exe=$build/bench/bench_ddl
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

run() {
  local name=$1 file=$2
  /usr/bin/time -f "%e %U %S %M" -o "$work/time" "$exe" "$file" >"$work/out" 2>&1 || { cat "$work/out" >&2; exit 1; }
  read -r wall user sys rss <"$work/time"
  printf "  %-16s %6.1f MB  wall %6.2f s  cpu %6.2f s  peak %7.1f MB  %s\n" "$name" \
    "$(echo "$(stat -c %s "$file") / 1048576" | bc -l)" "$wall" "$(echo "$user + $sys" | bc)" \
    "$(echo "$rss / 1024" | bc -l)" "$(cat "$work/out")"
}

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
for kind in columns check comment insert; do
  for size in $((mb / 2)) "$mb"; do
    python3 "$here/bench/make_huge_ddl.py" "$kind" "$size" "$work/$kind.sql"
    run "$kind $size MB" "$work/$kind.sql"
  done
done
for kind in schemas recreate; do
  for n in 20000 50000; do
    python3 "$here/bench/make_huge_ddl.py" "$kind" "$n" "$work/$kind.sql"
    run "$kind $n" "$work/$kind.sql"
  done
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
