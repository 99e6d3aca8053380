#!/usr/bin/env bash
# Models from databases at national scale:
#   1. `termwise check` of a generated 1,000,000-column DDL script (two files) against the full
#      7th-edition common standard, JSON report and fix script (goal with MIX=distinct: under 15 s,
#      under 1 GB peak, 3x faster than step 3);
#   2. `termwise check` of a live PostgreSQL catalog of 100,000 columns (goal: under 20 s).
#   3. beside the DDL check, bench/check_reference.py (the core of the check in Python) on the same files.
#   bench/model.sh [BUILD_DIR] [DDL_COLUMNS] [CATALOG_COLUMNS] [MIX]
# MIX: registered (default) or distinct, the name mix of make_ddl.py.
# Prints wall and CPU seconds and the peak memory of each run. Needs python3 and the PostgreSQL
# server programs (the catalog is loaded into a throw-away server of scripts/with-postgres).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
ddl_columns=${2:-1000000}
catalog_columns=${3:-100000}
mix=${4:-registered}
exe=$build/termwise
# The 7th edition, which the earlier figures of this benchmark were taken against.
standard=$(ls "$here"/../shared/public-standard/*7차*.xlsx 2>/dev/null | head -n 1 || true)
[ -n "$standard" ] || standard=$(ls /work/shared/public-standard/*7차*.xlsx | head -n 1)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TERMWISE_DATA_DIR=$work/data
mkdir -p "$TERMWISE_DATA_DIR"

run() {
  local name=$1; shift
  /usr/bin/time -f "%e %U %S %M" -o "$work/$name.time" "$@" >"$work/$name.out" 2>"$work/$name.err" || {
    cat "$work/$name.err" | tr '\r' '\n' | tail -n 5 >&2; exit 1; }
  read -r wall user sys rss <"$work/$name.time"
  printf "  %-18s wall %6.2f s  cpu %6.2f s  peak %7.1f MB\n" "$name" "$wall" "$(echo "$user + $sys" | bc)" \
    "$(echo "$rss / 1024" | bc -l)"
}

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
"$exe" repo init "sqlite:$work/repo.db" >/dev/null
"$exe" standard import --repo "sqlite:$work/repo.db" --area PUB "$standard" >/dev/null 2>&1
python3 "$here/bench/make_ddl.py" "$work/repo.db" "$ddl_columns" model "$work/tables.sql" "$work/comments.sql" --mix "$mix"
echo "DDL script: $(du -m "$work/tables.sql" | cut -f1) MB tables + $(du -m "$work/comments.sql" | cut -f1) MB comments"
run "check-ddl" "$exe" check --input "$work/tables.sql" --input "$work/comments.sql" \
  --repo "sqlite:$work/repo.db" --area PUB --output "$work/check.json" --fix-script "$work/fix.sql"
grep -E "^(columns|with logical name|conforming|fix script)" "$work/check-ddl.out" | sed 's/^/    /'
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
run "check-python" python3 "$here/bench/check_reference.py" "$work/repo.db" PUB "$work/reference.json" \
  "$work/tables.sql" "$work/comments.sql"
sed 's/^/    /' "$work/check-python.err"

python3 "$here/bench/make_ddl.py" "$work/repo.db" "$catalog_columns" bench "$work/ctables.sql" "$work/ccomments.sql"
"$here/scripts/with-postgres" bash -c '
  set -e
  psql -q "$TERMWISE_TEST_PG" -c "CREATE SCHEMA bench" >/dev/null
  psql -q -v ON_ERROR_STOP=1 "$TERMWISE_TEST_PG" -f "'"$work"'/ctables.sql" >/dev/null
  psql -q -v ON_ERROR_STOP=1 "$TERMWISE_TEST_PG" -f "'"$work"'/ccomments.sql" >/dev/null
  echo "load average: $(cut -d" " -f1-3 /proc/loadavg)" >&2
  /usr/bin/time -f "%e %U %S %M" -o "'"$work"'/catalog.time" "'"$exe"'" check --input "$TERMWISE_TEST_PG" \
    --schema bench --repo "sqlite:'"$work"'/repo.db" --area PUB --output "'"$work"'/catalog.json" \
    --fix-script "'"$work"'/catalog-fix.sql" >"'"$work"'/catalog.out" 2>"'"$work"'/catalog.err"
' >"$work/server.log" 2>&1 || { tail -n 20 "$work/server.log" >&2; tr '\r' '\n' <"$work/catalog.err" | tail -n 5 >&2; exit 1; }
grep "^load average" "$work/server.log"
read -r wall user sys rss <"$work/catalog.time"
printf "  %-18s wall %6.2f s  cpu %6.2f s  peak %7.1f MB\n" "check-catalog" "$wall" "$(echo "$user + $sys" | bc)" \
  "$(echo "$rss / 1024" | bc -l)"
grep -E "^(columns|attributes|conforming)" "$work/catalog.out" | sed 's/^/    /'
