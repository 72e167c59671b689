#!/usr/bin/env bash
# The create page end to end: each content kind typed into its boxes, saved
# through the real save dialog and read back with zbarimg; a save before any
# regeneration gives a real BMP symbol; a site shortcut's address reaches the
# symbol; texts stay when the kind changes.
source "$(dirname "$0")/lib.sh"
open_kodaro

# Rows of the page list (one kind each), 31 pixels apart.
kind_row() {
  click_at "$window" 60 $((126 + 31 * ($1 - 1)))
}

# Types into the box at x y after the text already there.
type_into() {
  click_at "$window" "$1" "$2"
  xdotool key ctrl+End
  xdotool type --delay 30 "$3"
}

# Lets the preview follow (it looks twice a second), saves, and checks what
# the saved symbol reads (line breaks compared without carriage returns).
expect_saved() {
  local name=$1 want=$2 got
  sleep 1.5
  screenshot "$shots/$name.png"
  save_as "$work/$name.bmp"
  got=$(zbarimg --raw -q "$work/$name.bmp" | tr -d '\r' || true)
  [ "$got" = "$(printf '%s' "$want" | tr -d '\r')" ] || fail "$name reads '$got', not '$want'"
}

echo "== save before the first regeneration"
save_as "$work/first.bmp"
[ "$(head -c 2 "$work/first.bmp")" = "BM" ] || fail "the first save is no BMP"
[ "$(zbarimg --raw -q "$work/first.bmp")" = "Kodaro" ] || fail "the first save is not the default symbol"

echo "== text with a line break"
type_into 300 220 "hello"
xdotool key Return
xdotool type --delay 30 "world"
expect_saved text $'hello\nworld'

echo "== web address through a site shortcut, then typed"
kind_row 3
click_at "$window" 247 187
expect_saved site "http://www.taobao.com/"
click_at "$window" 247 187
expect_saved site-again "http://www.taobao.com/"
click_at "$window" 300 158
xdotool key ctrl+a
xdotool type --delay 30 "http://example.org/a?b=1"
expect_saved web "http://example.org/a?b=1"

echo "== number to dial"
kind_row 4
type_into 300 158 "+86 10086"
expect_saved dial "TEL:+86 10086"

echo "== message"
kind_row 5
type_into 300 158 "13800138000"
type_into 300 230 "see you, at 5"
expect_saved message "SMSTO:13800138000:see you, at 5"

echo "== Wi-Fi login with separators, each encryption"
kind_row 6
type_into 300 158 'my;net,"x\'
type_into 300 186 'p;a,s"s\'
expect_saved wifi-wpa 'WIFI:T:WPA;S:my\;net\,\"x\\;P:p\;a\,s\"s\\;'
click_at "$window" 300 214
click_at "$window" 300 259
expect_saved wifi-wep 'WIFI:T:WEP;S:my\;net\,\"x\\;P:p\;a\,s\"s\\;'
click_at "$window" 300 214
click_at "$window" 300 280
expect_saved wifi-open 'WIFI:S:my\;net\,\"x\\;P:p\;a\,s\"s\\;'

echo "== card with every field"
kind_row 2
type_into 230 158 "Li Lei"
type_into 390 158 "li@example.org"
type_into 230 186 "123"
type_into 390 186 "456"
type_into 300 213 "1 Road, Town"
type_into 300 241 "acme.example/"
type_into 230 269 "Acme"
type_into 390 269 "Boss"
type_into 300 300 "line1"
xdotool key Return
xdotool type --delay 30 "line2"
expect_saved card $'BEGIN:VCARD\nVERSION:3.0\nN:Li Lei\nEMAIL:li@example.org\nTEL:123\nFAX:456\nADR:1 Road\\, Town\nORG:Acme\nTITLE:Boss\nURL:http://acme.example/\nNOTE:line1\\nline2\nEND:VCARD'

echo "== texts stay across kinds"
kind_row 1
type_into 300 220 "!"
expect_saved text-again $'hello\nworld!'

click_close "$window"
wait_exit 30
[ "$exit_code" = 0 ] || fail "exit code $exit_code"
echo "PASS"
