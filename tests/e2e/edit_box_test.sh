#!/usr/bin/env bash
# The edit boxes of the controls sample, driven from the keyboard and the
# mouse: ASCII text typed and selected with Shift+Home, copied and pasted into
# the multi-line box, a character from the keyboard layout ("é") inserted
# once, the decimal box keeping one ".", and a password typed. The sample
# writes every box's text to a file when it closes.
#   edit_box_test.sh BIN_DIR UPD_EXE
source "$(dirname "$0")/lib.sh"
start_display
mkdir -p "$work/program" "$work/shots"
cp "$bin_dir/controls_sample.exe" "$work/program/"
texts="$work/texts.txt"
"$root/scripts/wine-run.sh" "$work/program/controls_sample.exe" 0 "Z:$texts" &
kodaro_pid=$!

window=""
for _ in $(seq 600); do
  window=$(xdotool search --onlyvisible --name '^Kodaro controls$' 2>/dev/null | head -n1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || fail "no sample window"
sleep 1.5
# "é" sits on a key of the layout, as on a French keyboard: the key left of
# "1" becomes "é" while the sample runs (a key that xdotool maps only for the
# moment of typing reaches Wine unreliably). The map is changed while the
# sample holds its connection, since an X server left without clients resets
# its keyboard; Wine reads the new map when told of the change.
key=49
original=$(xmodmap -pke | awk -v k="$key" '$2 == k {sub(/^keycode +[0-9]+ = ?/, ""); print}')
restore_key() {
  xmodmap -e "keycode $key = $original" || true
  e2e_cleanup
}
trap restore_key EXIT
xmodmap -e "keycode $key = eacute Eacute"
sleep 0.5
read_geometry "$window"

# The single-line box holds "单行 single".
click_at "$window" 60 137
xdotool key End
xdotool type --delay 50 ' hello é'
xdotool key shift+Home ctrl+c
screenshot "$work/shots/edit-selection.png"

# The multi-line box: paste at the end of its text.
click_at "$window" 300 300
xdotool key ctrl+End Return ctrl+v
sleep 0.3
screenshot "$work/shots/edit-multi.png"

click_at "$window" 60 172
xdotool type --delay 30 'pw'
click_at "$window" 60 207
xdotool type --delay 30 '3.1.4'
sleep 0.3

click_close "$window"
wait_exit 30
[ -s "$texts" ] || fail "the sample wrote no texts"
grep -qx 'single=单行 single hello é' "$texts" || fail "single box: $(grep '^single=' "$texts")"
grep -qx 'password=pw' "$texts" || fail "password box: $(grep '^password=' "$texts")"
grep -qx 'decimal=3.14' "$texts" || fail "decimal box: $(grep '^decimal=' "$texts")"
grep -q '^multi=.*right edge of the box\\n单行 single hello é$' "$texts" ||
  fail "multi-line box: $(grep '^multi=' "$texts")"
echo "PASS"
