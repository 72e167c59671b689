# Shared by the whole-program tests. Each test runs Kodaro from a program
# folder of its own (a copy of the build's bin layout), so the build folder
# stays clean.
#   source lib.sh BIN_DIR UPD_EXE
set -euo pipefail

bin_dir=$1
upd_exe=$2
root=${KODARO_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
work=$(mktemp -d)
source "$root/scripts/virtual-display.sh"
xvfb_pid=""
kodaro_pid=""

e2e_cleanup() {
  if [ -n "$kodaro_pid" ] && kill -0 "$kodaro_pid" 2>/dev/null; then
    kill "$kodaro_pid" 2>/dev/null || true
  fi
  # Programs still running from our folder (Kodaro left open by a test that
  # passed, or one that hung) must not outlive the test on a shared display.
  pkill -f -- "$work/program/" 2>/dev/null || true
  for _ in $(seq 50); do
    pgrep -f -- "$work/program/" >/dev/null 2>&1 || break
    sleep 0.1
  done
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  # E2E_KEEP=folder keeps the screenshots for a look after a failure.
  if [ -n "${E2E_KEEP:-}" ] && [ -d "$work/shots" ]; then
    mkdir -p "$E2E_KEEP" && cp "$work"/shots/*.png "$E2E_KEEP/" || true
  fi
  rm -rf "$work"
}
trap e2e_cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The display to run on. One Wine server cannot serve windows on two X
# displays at once, so under the test run's display (and its Wine server) the
# tests use that display and run one at a time; alone, a test brings its own.
start_display() {
  start_virtual_display || fail "Xvfb did not start"
}

# A program folder: Kodaro.exe, its DLLs and the Resource folder.
make_program_folder() {
  local dir="$work/program"
  mkdir -p "$dir"
  cp "$bin_dir/Kodaro.exe" "$dir/"
  cp "$bin_dir"/*.dll "$dir/" 2>/dev/null || true
  cp -r "$bin_dir/Resource" "$dir/"
  echo "$dir"
}

# Starts Kodaro.exe of a program folder in the background.
start_kodaro() {
  "$root/scripts/wine-run.sh" "$1/Kodaro.exe" &
  kodaro_pid=$!
}

# Waits for the program to end and sets exit_code. Fails after seconds.
wait_exit() {
  local seconds=$1
  for _ in $(seq $((seconds * 10))); do
    if ! kill -0 "$kodaro_pid" 2>/dev/null; then
      exit_code=0
      wait "$kodaro_pid" || exit_code=$?
      kodaro_pid=""
      return 0
    fi
    sleep 0.1
  done
  fail "Kodaro did not end within $seconds s"
}

# The id of the visible main window (or of the window whose name matches the
# pattern given second), waiting for it up to seconds.
wait_window() {
  local seconds=$1 name=${2:-^Kodaro$} id=""
  for _ in $(seq $((seconds * 10))); do
    id=$(xdotool search --onlyvisible --name "$name" 2>/dev/null | head -n1 || true)
    if [ -n "$id" ]; then
      # The show animation grows the window from its middle; let it finish.
      sleep 1.5
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  fail "no window named $name within $seconds s"
}

# Sets WX WY WW WH from the window's geometry.
read_geometry() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  WX=$X WY=$Y WW=$WIDTH WH=$HEIGHT
}

# open_kodaro: starts Kodaro from a fresh program folder on the run's display
# and waits for its window; sets program, window, its geometry and the shots
# folder.
open_kodaro() {
  start_display
  program=$(make_program_folder)
  start_kodaro "$program"
  window=$(wait_window 60)
  read_geometry "$window"
  shots=$work/shots
  mkdir -p "$shots"
}

# Moves the mouse to window coordinates and lets hover looks settle.
mouse_at() {
  xdotool mousemove --window "$1" "$2" "$3"
  sleep 0.8
}

click_at() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
  sleep 0.8
}

# Closes the window with its caption's close button (the rightmost caption
# button: 27 x 20, 11 pixels from the right edge, 7 from the top).
click_close() {
  click_at "$1" $((680 - 11 - 14)) 17
}

# Screenshot of the whole screen into file.
screenshot() {
  /usr/bin/import -window root "$1"
}

# crop SHOT X Y W H OUT: a region given in window coordinates.
crop() {
  /usr/bin/convert "$1" -crop "$4x$5+$((WX + $2))+$((WY + $3))" +repage "$6"
}

# Number of pixels that differ by more than a few percent.
differing_pixels() {
  /usr/bin/compare -metric AE -fuzz 6% "$1" "$2" null: 2>&1 || true
}

# The id of the visible window whose name matches the pattern, waiting for it
# up to the seconds given second (5 by default).
dialog_id() {
  local id
  for _ in $(seq $((${2:-5} * 10))); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.1
  done
  fail "no window named $1"
}

# pick_file X Y PATH: clicks the ".." button at window coordinates x y and
# chooses the file at the unix path in the open dialog (pasted into its name
# box, then Enter).
pick_file() {
  click_at "$window" "$1" "$2"
  dialog_id '^请选择图片文件$' >/dev/null
  sleep 0.5
  printf '%s' "Z:${3//\//\\}" | xclip -selection clipboard >/dev/null 2>&1
  xdotool key ctrl+v
  sleep 0.3
  xdotool key Return
  sleep 1
  [ -z "$(xdotool search --onlyvisible --name '^请选择图片文件$' 2>/dev/null)" ] ||
    fail "the open dialog did not take $3"
}

# Waits for the save dialog and prints its window id; fails without one.
save_dialog() {
  local dialog
  dialog=$(dialog_id '保存到' 10)
  sleep 0.5
  echo "$dialog"
}

# Saves the preview of $window through "保存[S]" and its dialog into file (a
# path under $work); fails when the file does not appear.
save_as() {
  local file=$1
  click_at "$window" 620 449
  save_dialog >/dev/null
  xdotool type --delay 20 "Z:${file//\//\\}"
  xdotool key Return
  wait_file "$file"
}

# Waits up to five seconds for file to hold something; fails otherwise.
wait_file() {
  for _ in $(seq 50); do
    if [ -s "$1" ]; then return 0; fi
    sleep 0.1
  done
  fail "nothing saved to $1"
}

# The text of an edit box of $window: a click into it, Control+A, Control+C
# (an empty box copies nothing and leaves the marker).
box_text() { # x y
  printf "nothing copied" | xclip -selection clipboard >/dev/null 2>&1
  click_at "$window" "$1" "$2"
  xdotool key --window "$window" ctrl+a ctrl+c
  sleep 0.5
  local text
  text=$(timeout 5 xclip -o -selection clipboard)
  [ "$text" = "nothing copied" ] || printf '%s' "$text"
}
# The decode page's result and path boxes.
result_text() { box_text 300 300; }
path_text() { box_text 300 186; }
# The decode report, once there is one (a loaded machine may take a while).
wait_result() {
  local got=""
  for _ in $(seq 15); do
    got=$(result_text)
    [ -n "$got" ] && break
    sleep 1
  done
  printf '%s' "$got"
}
expect_result() { # expected what
  local got
  got=$(wait_result)
  [ "$got" = "$1" ] || fail "$2: the result box reads '$got'"
}
