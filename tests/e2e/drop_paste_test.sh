#!/usr/bin/env bash
# Pictures handed to Kodaro: a picture file dropped on the window (from the
# create page) switches to the decode page and decodes it as if chosen with
# ".."; several files, a folder and a file that is no picture get a message
# and leave the preview alone; on the decode page Control+V decodes a bitmap
# or a file from the clipboard, while text still pastes into the path box.
# Drops and clipboard contents come from picture_sender.exe, run under the
# same Wine server.
source "$(dirname "$0")/lib.sh"
sender=$3
open_kodaro
pics="$work/图片"
mkdir -p "$pics/folder"
qrencode -v 3 -l M -s 4 -o "$pics/拖入.png" "dropped 你好"
qrencode -v 2 -l H -s 5 -o "$work/pasted.png" "pasted bitmap"
convert "$work/pasted.png" -type TrueColor BMP3:"$work/pasted.bmp"
qrencode -v 1 -l Q -s 4 -o "$pics/copied.png" "copied file"
printf 'not a picture' >"$pics/notes.png"

winpath() { printf 'Z:%s' "${1//\//\\}"; }
send() { timeout 30 "$root/scripts/wine-run.sh" "$sender" "$@" || fail "picture_sender $1 failed"; }
drop() { send drop 300 250 "$@"; sleep 1; }
report() { # version level data
  printf '解码序号: 1\n模型版本: %s\n容错等级: %s\n解码数据: \n%s' "$1" "$2" "$3"
}
shot() { screenshot "$shots/$1.png"; crop "$shots/$1.png" 452 120 206 207 "$shots/$1-preview.png"; }
same_preview() {
  local n
  n=$(differing_pixels "$shots/$1-preview.png" "$shots/$2-preview.png")
  [ "$n" -le 4 ] 2>/dev/null || fail "$3 ($n pixels of the preview differ)"
}

echo "== a picture dropped on the create page"
drop "$(winpath "$pics/拖入.png")"
expect_result "$(report 3 '低 - 15%' 'dropped 你好')" "dropped picture"
[ "$(path_text)" = "$(winpath "$pics/拖入.png")" ] || fail "the dropped path is not in the path box"
mouse_at "$window" 300 440
shot dropped
# zbarimg reads the UTF-8 bytes as Latin-1; the ASCII start is enough here.
case "$(zbarimg --raw -q "$shots/dropped-preview.png" 2>/dev/null)" in
  "dropped "*) ;;
  *) fail "the dropped picture is not in the preview" ;;
esac

echo "== drops that cannot be decoded"
drop "$(winpath "$pics/拖入.png")" "$(winpath "$pics/copied.png")"
expect_result "一次只能解码一个图片文件。" "two files"
drop "$(winpath "$pics/folder")"
expect_result "这是一个文件夹，请给出一个图片文件。" "a folder"
drop "$(winpath "$pics/notes.png")"
expect_result "无法读取此格式文件。" "a file that is no picture"
mouse_at "$window" 300 440
shot after-bad-drops
same_preview dropped after-bad-drops "a bad drop changed the preview"

echo "== Control+V with a bitmap, then with a file"
paste() { # sender arguments...
  send "$@"
  click_at "$window" 300 300
  xdotool key --window "$window" ctrl+v
  sleep 1
}
paste dib "$(winpath "$work/pasted.bmp")"
expect_result "$(report 2 '高 - 30%' 'pasted bitmap')" "pasted bitmap"
mouse_at "$window" 300 440
shot pasted
[ "$(zbarimg --raw -q "$shots/pasted-preview.png" 2>/dev/null)" = "pasted bitmap" ] ||
  fail "the pasted bitmap is not in the preview"
paste files "$(winpath "$pics/copied.png")"
expect_result "$(report 1 '中等 - 25%' 'copied file')" "pasted file"
[ "$(path_text)" = "$(winpath "$pics/copied.png")" ] || fail "the pasted file is not in the path box"

echo "== text still pastes into the path box"
printf 'typed path' | xclip -selection clipboard
click_at "$window" 300 186
xdotool key --window "$window" ctrl+a ctrl+v
sleep 0.5
[ "$(path_text)" = "typed path" ] || fail "text was not pasted into the path box"
echo "PASS"
