#!/usr/bin/env bash
# Start-up and the updater: a waiting update ends the program with code 0
# before any window shows, after the updater was started with "-h"; with the
# updater present and no update waiting, or with no updater at all, the window
# comes up.
source "$(dirname "$0")/lib.sh"
start_display
program=$(make_program_folder)

# Waits for the stand-in updater's record and checks it was started with -h.
expect_updater_started() {
  for _ in $(seq 200); do
    if [ -s "$program/upd-args.txt" ]; then break; fi
    sleep 0.1
  done
  [ -s "$program/upd-args.txt" ] || fail "upd.exe was not started"
  [ "$(cat "$program/upd-args.txt")" = "-h" ] ||
    fail "upd.exe got arguments: $(cat "$program/upd-args.txt")"
}

echo "== update waiting"
cp "$upd_exe" "$program/upd.exe"
mkdir -p "$program/Updata"
echo "kodaro 1.0.14" >"$program/Updata/updlist.dat"
start_kodaro "$program"
seen_window=false
for _ in $(seq 300); do
  if xdotool search --onlyvisible --name '^Kodaro$' >/dev/null 2>&1; then seen_window=true; fi
  if ! kill -0 "$kodaro_pid" 2>/dev/null; then break; fi
  sleep 0.1
done
wait_exit 5
[ "$exit_code" = 0 ] || fail "exit code $exit_code with an update waiting"
$seen_window && fail "a window showed although an update was waiting"
expect_updater_started

echo "== updater present, nothing waiting"
rm -rf "$program/Updata" "$program/upd-args.txt"
start_kodaro "$program"
wait_window 60 >/dev/null
expect_updater_started
click_close "$(xdotool search --onlyvisible --name '^Kodaro$' | head -n1)"
wait_exit 30
[ "$exit_code" = 0 ] || fail "exit code $exit_code after closing"

echo "== no updater"
rm -f "$program/upd.exe" "$program/upd-args.txt"
start_kodaro "$program"
wait_window 60 >/dev/null
echo "PASS"
