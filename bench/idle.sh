#!/usr/bin/env bash
# bench/idle.sh [build-dir] [seconds]
#
# Idle cost of the running program on the default simulated device, measured
# side by side in one run with a bare Qt program that only runs a 10 ms timer
# (qel_bare_timer). Both run offscreen; after a warm-up (the program's start-up
# wait, QEL_IDLE_WARMUP seconds, default 6) both are sampled over the same
# `seconds` (default 10):
#   cpu      utime + stime of the process (/proc/<pid>/stat), % of one core
#   run      run time summed over its threads (/proc/<pid>/task/*/schedstat)
#   wake/s   voluntary + non-voluntary context switches summed over threads
#            (/proc/<pid>/task/*/status), per second
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${1:-$ROOT/build}"
SECS="${2:-10}"
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

read -r p_ticks0 p_run0 p_sw0 < <(sample "$PROG_PID")
read -r b_ticks0 b_run0 b_sw0 < <(sample "$BARE_PID")
start_ns=$(date +%s%N)
sleep "$SECS"
read -r p_ticks1 p_run1 p_sw1 < <(sample "$PROG_PID")
read -r b_ticks1 b_run1 b_sw1 < <(sample "$BARE_PID")
end_ns=$(date +%s%N)

hz=$(getconf CLK_TCK)
threads=$(ls /proc/"$PROG_PID"/task | wc -l)
awk -v el="$((end_ns - start_ns))" -v hz="$hz" -v threads="$threads" \
    -v pt="$((p_ticks1 - p_ticks0))" -v pr="$((p_run1 - p_run0))" -v ps="$((p_sw1 - p_sw0))" \
    -v bt="$((b_ticks1 - b_ticks0))" -v br="$((b_run1 - b_run0))" -v bs="$((b_sw1 - b_sw0))" 'BEGIN {
  s = el / 1e9
  pc = 100 * pt / hz / s; bc = 100 * bt / hz / s
  prun = 100 * pr / el; brun = 100 * br / el
  pw = ps / s; bw = bs / s
  printf "idle over %.1f s (program: %d threads)\n", s, threads
  printf "%-34s %8s %8s %8s\n", "", "cpu %", "run %", "wake/s"
  printf "%-34s %8.2f %8.2f %8.1f\n", "qelR58N, default simulated device", pc, prun, pw
  printf "%-34s %8.2f %8.2f %8.1f\n", "bare Qt program, one 10 ms timer", bc, brun, bw
  printf "%-34s %8s %8s %8s\n", "ratio (goal 1.5 or less)", \
         (bc > 0 ? sprintf("%.2f", pc / bc) : "-"), (brun > 0 ? sprintf("%.2f", prun / brun) : "-"), \
         (bw > 0 ? sprintf("%.2f", pw / bw) : "-")
}'
