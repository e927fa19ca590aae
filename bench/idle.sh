#!/usr/bin/env bash
# bench/idle.sh [build-dir] [seconds] [rounds]
#
# Idle cost of the running program on the default simulated device, measured
# side by side in one run with a bare Qt program that only runs a 10 ms timer
# (qel_bare_timer). Both run offscreen; after a warm-up (the program's start-up
# wait, QEL_IDLE_WARMUP seconds, default 6) both are sampled over the same
# `rounds` (default 5) windows of `seconds` (default 10) each; the figures are
# the medians over the rounds:
#   cpu      utime + stime of the process (/proc/<pid>/stat), % of one core
#   run      run time summed over its threads (/proc/<pid>/task/*/schedstat)
#   wake/s   voluntary + non-voluntary context switches summed over threads
#            (/proc/<pid>/task/*/status), per second
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${1:-$ROOT/build}"
SECS="${2:-10}"
ROUNDS="${3:-5}"
WARM="${QEL_IDLE_WARMUP:-6}"
PROGRAM="$BUILD/qelR58N"
BARE="$BUILD/bench/qel_bare_timer"
for exe in "$PROGRAM" "$BARE"; do
  [ -x "$exe" ] || { echo "missing $exe (build first)" >&2; exit 1; }
done

DEVICE="$(mktemp -d)"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
  rm -rf "$DEVICE"
}
trap cleanup EXIT
mkdir -p "$DEVICE/data" "$DEVICE/mnt/usb1"
cp "$ROOT/scripts/sim.default.json" "$DEVICE/sim.json"

export QT_QPA_PLATFORM=offscreen
QEL_ROOT="$DEVICE" "$PROGRAM" >"$DEVICE/program.log" 2>&1 &
PROG_PID=$!
pids+=("$PROG_PID")
"$BARE" >/dev/null 2>&1 &
BARE_PID=$!
pids+=("$BARE_PID")

sleep "$WARM"
for p in "$PROG_PID" "$BARE_PID"; do
  kill -0 "$p" 2>/dev/null || { echo "process $p ended early" >&2; cat "$DEVICE/program.log" >&2; exit 1; }
done

# "<cpu ticks> <run ns> <context switches>" of a process now
sample() {
  local pid=$1 ticks run=0 switches=0 t
  ticks=$(awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/$pid/stat")
  for t in /proc/"$pid"/task/*; do
    [ -r "$t/schedstat" ] && run=$((run + $(cut -d' ' -f1 "$t/schedstat" 2>/dev/null || echo 0)))
    switches=$((switches + $(awk '/ctxt_switches/ { s += $2 } END { print s + 0 }' "$t/status" 2>/dev/null || echo 0)))
  done
  echo "$ticks $run $switches"
}

hz=$(getconf CLK_TCK)
threads=$(ls /proc/"$PROG_PID"/task | wc -l)
echo "idle, $ROUNDS rounds of $SECS s (program: $threads threads)"
printf "%-34s %8s %8s %8s\n" "" "cpu %" "run %" "wake/s"
rows=()
for ((round = 1; round <= ROUNDS; round++)); do
  read -r p_ticks0 p_run0 p_sw0 < <(sample "$PROG_PID")
  read -r b_ticks0 b_run0 b_sw0 < <(sample "$BARE_PID")
  start_ns=$(date +%s%N)
  sleep "$SECS"
  read -r p_ticks1 p_run1 p_sw1 < <(sample "$PROG_PID")
  read -r b_ticks1 b_run1 b_sw1 < <(sample "$BARE_PID")
  end_ns=$(date +%s%N)
  rows+=("$(awk -v el="$((end_ns - start_ns))" -v hz="$hz" \
      -v pt="$((p_ticks1 - p_ticks0))" -v pr="$((p_run1 - p_run0))" -v ps="$((p_sw1 - p_sw0))" \
      -v bt="$((b_ticks1 - b_ticks0))" -v br="$((b_run1 - b_run0))" -v bs="$((b_sw1 - b_sw0))" 'BEGIN {
    s = el / 1e9
    printf "%.4f %.4f %.2f %.4f %.4f %.2f", 100 * pt / hz / s, 100 * pr / el, ps / s, 100 * bt / hz / s, 100 * br / el, bs / s
  }')")
done

# one line per round, then the medians and the ratio of the medians
printf '%s\n' "${rows[@]}" | awk '
function median(col,   i, n, v, t, j) {
  n = 0
  for (i = 1; i <= NR; i++) v[++n] = val[i, col]
  for (i = 2; i <= n; i++) { t = v[i]; for (j = i - 1; j >= 1 && v[j] > t; j--) v[j + 1] = v[j]; v[j + 1] = t }
  return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
}
{ for (c = 1; c <= 6; c++) val[NR, c] = $c
  printf "round %-28d %8.2f %8.2f %8.1f   bare %5.2f %5.2f %6.1f   ratio %4.2f %4.2f\n", NR, $1, $2, $3, $4, $5, $6, \
         ($4 > 0 ? $1 / $4 : 0), ($5 > 0 ? $2 / $5 : 0) }
END {
  pc = median(1); prun = median(2); pw = median(3); bc = median(4); brun = median(5); bw = median(6)
  printf "%-34s %8.2f %8.2f %8.1f\n", "qelR58N, default simulated device", pc, prun, pw
  printf "%-34s %8.2f %8.2f %8.1f\n", "bare Qt program, one 10 ms timer", bc, brun, bw
  printf "%-34s %8s %8s %8s\n", "ratio of medians (goal 1.3 or less)", \
         (bc > 0 ? sprintf("%.2f", pc / bc) : "-"), (brun > 0 ? sprintf("%.2f", prun / brun) : "-"), \
         (bw > 0 ? sprintf("%.2f", pw / bw) : "-")
}'
