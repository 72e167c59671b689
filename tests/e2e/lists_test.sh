#!/usr/bin/env bash
# The drop-downs and the page list of the main window: "512" picked with the
# mouse in the size drop-down and, later, "768" with the keyboard come back
# from the save command as symbols of that size; "高 - 30%" in the level
# drop-down gives a saved symbol of level H; a click on a page-list row moves
# the selection there.
source "$(dirname "$0")/lib.sh"
open_kodaro

side_of() {
  identify -format '%w x %h' "$1"
}

# Rows of the drop-downs: the shown list starts 2 pixels below the combo's
# bottom edge; rows are about 21 pixels high, so these points fall inside the
# wanted row whatever the font's exact height.
echo "== size 512 with the mouse"
click_at "$window" 535 449
screenshot "$shots/size-open.png"
click_at "$window" 530 517
sleep 2 # the preview worker looks twice a second
save_as "$work/s512.bmp"
[ "$(side_of "$work/s512.bmp")" = "512 x 512" ] || fail "saved $(side_of "$work/s512.bmp") for 512"
[ "$(zbarimg --raw -q "$work/s512.bmp")" = "Kodaro" ] || fail "the 512 symbol does not read back"

echo "== level H with the mouse, size 768 with the keyboard"
click_at "$window" 573 364
screenshot "$shots/level-open.png"
click_at "$window" 560 452
# The size drop-down: focused by a click that opens it, closed with Escape,
# then opened with Space, one row down from "512" and Enter.
click_at "$window" 535 449
xdotool key Escape
sleep 0.5
xdotool key space
sleep 0.8
xdotool key Down
sleep 0.3
xdotool key Return
sleep 2
save_as "$work/s768.bmp"
[ "$(side_of "$work/s768.bmp")" = "768 x 768" ] || fail "saved $(side_of "$work/s768.bmp") for 768"
[ "$(zbarimg --raw -q "$work/s768.bmp")" = "Kodaro" ] || fail "the 768 symbol does not read back"
# zbarimg tells no level; ZXingReader does.
level=$(ZXingReader "$work/s768.bmp" 2>/dev/null | sed -n 's/^EC Level: *//p')
[ "$level" = "H" ] || fail "the saved symbol has level '$level', not H"

echo "== page list"
screenshot "$shots/list-before.png"
crop "$shots/list-before.png" 8 112 104 28 "$shots/row1-before.png"
crop "$shots/list-before.png" 8 143 104 28 "$shots/row2-before.png"
click_at "$window" 60 156
mouse_at "$window" 300 250
screenshot "$shots/list-after.png"
crop "$shots/list-after.png" 8 112 104 28 "$shots/row1-after.png"
crop "$shots/list-after.png" 8 143 104 28 "$shots/row2-after.png"
# The highlight left row 1 and came to row 2; the painter shows the card's labels.
n1=$(differing_pixels "$shots/row1-before.png" "$shots/row1-after.png")
n2=$(differing_pixels "$shots/row2-before.png" "$shots/row2-after.png")
[ "$n1" -ge 50 ] 2>/dev/null || fail "row 1 unchanged ($n1 pixels)"
[ "$n2" -ge 50 ] 2>/dev/null || fail "row 2 unchanged ($n2 pixels)"
crop "$shots/list-before.png" 130 145 310 170 "$shots/labels-before.png"
crop "$shots/list-after.png" 130 145 310 170 "$shots/labels-after.png"
n3=$(differing_pixels "$shots/labels-before.png" "$shots/labels-after.png")
[ "$n3" -ge 100 ] 2>/dev/null || fail "the label block did not follow the kind ($n3 pixels)"

click_close "$window"
wait_exit 30
[ "$exit_code" = 0 ] || fail "exit code $exit_code"
echo "PASS"
