# Sourced by the scripts and the whole-program tests.
# start_virtual_display: when no DISPLAY is set, starts Xvfb, exports its
# DISPLAY and leaves its process id in xvfb_pid (empty when a display was
# already there). Fails when Xvfb does not come up within ten seconds.
# Every display is 1280 x 1024: Wine may keep the screen size of the first
# display its server saw, so all displays of one prefix should agree.
start_virtual_display() {
  xvfb_pid=""
  if [ -n "${DISPLAY:-}" ]; then return 0; fi
  local fdfile
  fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 200); do
    if [ -s "$fdfile" ]; then break; fi
    sleep 0.05
  done
  if [ ! -s "$fdfile" ]; then
    rm -f "$fdfile"
    return 1
  fi
  export DISPLAY=":$(head -n1 "$fdfile")"
  rm -f "$fdfile"
}
