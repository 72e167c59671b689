#!/usr/bin/env bash
# A message box of the popup sample answered from the keyboard: Escape gives
# 1 even for the "否/是" set, which has no button of that value; Enter presses
# the default button (the first created, "否(&N)", unless another is named);
# a letter presses the button whose access key it is. The sample's exit code
# is the box's result. A screenshot of each box is kept in the shots folder.
#   message_box_test.sh BIN_DIR UPD_EXE
source "$(dirname "$0")/lib.sh"
start_display
mkdir -p "$work/program" "$work/shots"
cp "$bin_dir/ui_popup_sample.exe" "$work/program/"

# answer NAME KEY EXPECTED SET ICON [DEFAULT]
answer() {
  local name=$1 key=$2 expected=$3
  shift 3
  "$root/scripts/wine-run.sh" "$work/program/ui_popup_sample.exe" box "$@" &
  kodaro_pid=$!
  wait_window 60 '^提示：$' >/dev/null
  screenshot "$work/shots/$name.png"
  xdotool key "$key"
  wait_exit 30
  [ "$exit_code" = "$expected" ] || fail "$name: result $exit_code, expected $expected"
}

answer escape Escape 1 4 32
answer enter Return 6 4 32
answer enter-default-yes Return 5 3 48 3
answer access-key y 5 4 64
echo "PASS"
