#!/usr/bin/env bash
# Saving through the real save dialog: a name typed without an extension over
# an existing file brings the replace question ("no" keeps the old bytes,
# "yes" replaces them); PNG and SVG chosen as the type give files zbarimg
# reads, the SVG after rendering at two sizes; a picture that is no symbol
# of ours (dropped on the window) is saved as an SVG holding it.
source "$(dirname "$0")/lib.sh"
sender=$3
open_kodaro

# Waits for the replace question: a second, small window under the
# dialog's title.
question_window() {
  local id geometry
  for _ in $(seq 50); do
    for id in $(xdotool search --onlyvisible --name '保存到' 2>/dev/null); do
      geometry=$(xdotool getwindowgeometry --shell "$id" 2>/dev/null) || continue
      eval "$geometry"
      if [ "$WIDTH" -lt 400 ] && [ "$HEIGHT" -lt 300 ]; then
        sleep 0.5
        return 0
      fi
    done
    sleep 0.1
  done
  return 1
}

# In the open save dialog: picks the type (1 BMP, 2 PNG, 3 SVG), types the
# Windows form of the path and presses Return.
save_typed() {
  local type=$1 path=$2
  save_dialog >/dev/null
  if [ "$type" -gt 1 ]; then
    xdotool key alt+t
    for _ in $(seq $((type - 1))); do xdotool key Down; done
    sleep 0.3
    xdotool key alt+n
  fi
  xdotool type --delay 20 "Z:${path//\//\\}"
  xdotool key Return
}
click_save() { click_at "$window" 620 449; }

# Renders the SVG at two sizes and reads each back.
expect_svg_reads() { # svg want
  xmllint --noout "$1" || fail "$1 is not well-formed"
  for size in 90 1000; do
    rsvg-convert -w "$size" -h "$size" -b white "$1" -o "$shots/$(basename "$1" .svg)-$size.png" ||
      fail "rsvg-convert failed at $size"
    got=$(zbarimg --raw -q "$shots/$(basename "$1" .svg)-$size.png" || true)
    [ "$got" = "$2" ] || fail "$1 rendered at $size reads '$got'"
  done
}

# Some content of our own, so the files do not merely hold the default symbol.
want="Kodaro export <&> 123"
click_at "$window" 300 220
xdotool type --delay 30 "$want"
sleep 1.5

echo "== a name without extension over an existing file"
printf 'old bytes' >"$work/over.bmp"
click_save
save_typed 1 "$work/over"
question_window || fail "no replace question"
screenshot "$shots/question.png"
xdotool key n
sleep 1
[ "$(cat "$work/over.bmp")" = "old bytes" ] || fail "answering no changed the file"
save_dialog >/dev/null
xdotool key Return
question_window || fail "no replace question the second time"
xdotool key y
for _ in $(seq 50); do
  [ "$(head -c 2 "$work/over.bmp")" = "BM" ] && break
  sleep 0.1
done
[ "$(zbarimg --raw -q "$work/over.bmp")" = "$want" ] || fail "answering yes did not save the symbol"

echo "== PNG"
click_save
save_typed 2 "$work/symbol"
wait_file "$work/symbol.png"
[ "$(head -c 8 "$work/symbol.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
  fail "symbol.png is no PNG"
[ "$(zbarimg --raw -q "$work/symbol.png")" = "$want" ] || fail "the PNG does not read back"

echo "== SVG"
click_save
save_typed 3 "$work/symbol"
wait_file "$work/symbol.svg"
expect_svg_reads "$work/symbol.svg" "$want"

echo "== SVG of a picture dropped on the window, saved from the preview's toolbar"
qrencode -s 4 -o "$work/dropped.png" "dropped picture"
timeout 30 "$root/scripts/wine-run.sh" "$sender" drop 300 250 "Z:${work//\//\\}\\dropped.png" ||
  fail "the drop failed"
sleep 1
mouse_at "$window" 550 200
click_at "$window" 642 314
save_typed 3 "$work/picture"
wait_file "$work/picture.svg"
expect_svg_reads "$work/picture.svg" "dropped picture"

click_close "$window"
wait_exit 30
[ "$exit_code" = 0 ] || fail "exit code $exit_code"
echo "PASS"
