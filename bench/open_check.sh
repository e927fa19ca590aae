#!/usr/bin/env bash
# bench/open_check.sh [build-dir]
#
# Runs qelbench's "open ratio" and qel_open_check (the same openings, taken
# by pressing the menu buttons and timed by other means) and prints their
# ratios side by side, per device and screen. Fails when a screen's ratios
# differ by more than QEL_OPEN_CHECK_LIMIT (default 0.2) or a screen is
# missing from either. QEL_OPEN_RATIO_ONLY and QEL_OPEN_RATIO_DEVICE choose
# for both.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${1:-$ROOT/build}"
LIMIT="${QEL_OPEN_CHECK_LIMIT:-0.2}"
for exe in "$BUILD/bench/qelbench" "$BUILD/bench/qel_open_check"; do
  [ -x "$exe" ] || { echo "missing $exe (build first)" >&2; exit 1; }
done
OUT="$(mktemp -d)"
trap 'rm -rf "$OUT"' EXIT
"$BUILD/bench/qelbench" "open ratio" >"$OUT/bench" 2>"$OUT/bench.err" || { cat "$OUT/bench.err" "$OUT/bench" >&2; exit 1; }
"$BUILD/bench/qel_open_check" >"$OUT/check" 2>"$OUT/check.err" || { cat "$OUT/check.err" "$OUT/check" >&2; exit 1; }

# "<device> device: ..." starts a device; "  <name>  open ... <ratio> x" is a screen
awk -v limit="$LIMIT" '
  /^[a-z]+ device:/ { device = $1; next }
  / open .* bare form .* x$/ {
    name = $0; sub(/^  /, "", name); sub(/ +open .*/, "", name)
    key = device SUBSEP name
    if (FILENAME == ARGV[1]) { bench[key] = $(NF - 1); order[++n] = key } else check[key] = $(NF - 1)
  }
  END {
    printf "%-8s %-28s %7s %7s %7s\n", "device", "screen", "bench", "check", "diff"
    bad = 0
    for (i = 1; i <= n; ++i) {
      key = order[i]; split(key, part, SUBSEP)
      if (!(key in check)) continue   # views only the bench has (main menu, home screen)
      d = bench[key] - check[key]; if (d < 0) d = -d
      flag = d > limit + 1e-9 ? "  <- differs" : ""
      if (flag != "") bad = 1
      printf "%-8s %-28s %6.2fx %6.2fx %6.2f%s\n", part[1], part[2], bench[key], check[key], d, flag
    }
    for (key in check) if (!(key in bench)) { split(key, part, SUBSEP); printf "%s %s: not in the bench\n", part[1], part[2]; bad = 1 }
    exit bad
  }' "$OUT/bench" "$OUT/check"
