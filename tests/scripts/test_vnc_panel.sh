#!/usr/bin/env bash
# scripts/run without a display: nothing but the loopback address listens,
# and a real VNC client sees the home screen as the offscreen grab draws it.
#   test_vnc_panel.sh <source folder> <qelR58N> <vnc_panel_check>
# Exit 77 (skipped) when a tool is missing.
set -uo pipefail
SRC="$1"
PROGRAM="$2"
CHECK="$3"

for tool in Xvfb xprop x11vnc vncsnapshot ss pgrep shuf; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is missing (scripts/setup installs it)"
    exit 77
  fi
done

work="$(mktemp -d)"
run=""
finish() {
  if [ -n "$run" ]; then
    kill -TERM -- "-$run" 2>/dev/null
    wait "$run" 2>/dev/null
  fi
  rm -rf "$work"
}
trap finish EXIT
fail() {
  echo "FAIL: $*"
  echo "--- scripts/run said:"
  cat "$work/run.log"
  exit 1
}

port=""
for p in $(shuf -i 20000-39999 -n 40); do
  if [ -z "$(ss -Htln "sport = :$p")" ]; then
    port="$p"
    break
  fi
done
[ -n "$port" ] || fail "no free port"

# the screenshots' device: three inputs with a signal; no wait for the chips
mkdir -p "$work/root" "$work/grab"
cat >"$work/root/sim.json" <<'JSON'
{
  "inputs": [
    {"slot": 2, "width": 1920, "height": 1080, "rate": 60},
    {"slot": 4, "width": 3840, "height": 2160, "rate": 30},
    {"slot": 1, "width": 1280, "height": 720, "rate": 60}
  ],
  "fpgas": [{"state": 3, "version": [1, 6, 11, 26]}, {"state": 3, "version": [1, 6, 11, 26]}],
  "fonts": 15,
  "settle_ms": 0
}
JSON
cp "$work/root/sim.json" "$work/grab/sim.json"

# its own process group, so that everything it starts can be stopped
set -m
env -u DISPLAY -u WAYLAND_DISPLAY QEL_ROOT="$work/root" QEL_VNC_PORT="$port" QEL_PROGRAM="$PROGRAM" \
  "$SRC/scripts/run" >"$work/run.log" 2>&1 &
run=$!
set +m

deadline=$((SECONDS + 20))
until grep -q "serving the panel on VNC at 127.0.0.1:$port" "$work/run.log"; do
  kill -0 "$run" 2>/dev/null || fail "scripts/run ended"
  [ "$SECONDS" -lt "$deadline" ] || fail "no VNC server within 20 s"
  sleep 0.1
done

# nothing listens beyond loopback: not the VNC port, nor anything we started
listeners="$(ss -Htln "sport = :$port" | awk '{print $4}')"
[ -n "$listeners" ] || fail "nothing listens on port $port"
ours="$(pgrep -g "$run" | tr '\n' ' ')"
for p in $ours; do
  listeners+=$'\n'"$(ss -Htlnp | grep "pid=$p," | awk '{print $4}')"
done
while read -r address; do
  [ -z "$address" ] && continue
  case "$address" in
    127.0.0.1:* | \[::1\]:*) ;;
    *) fail "listening beyond loopback: $address" ;;
  esac
done <<<"$listeners"
echo "listening: $(echo $listeners)"

# the panel shows once the program is up: try until it matches
result=""
while [ "$SECONDS" -lt "$deadline" ]; do
  if vncsnapshot -quiet -nocursor "127.0.0.1::$port" "$work/snap.jpg" >/dev/null 2>&1; then
    result="$(QEL_ROOT="$work/grab" "$CHECK" "$work/snap.jpg" "$work/pictures" 2>/dev/null)" && {
      echo "$result"
      exit 0
    }
  fi
  sleep 0.5
done
mkdir -p vnc_panel && cp "$work"/snap.jpg "$work"/pictures/*.png vnc_panel/ 2>/dev/null
fail "the VNC view differs from the offscreen grab: ${result:-no snapshot} (pictures in $PWD/vnc_panel)"
