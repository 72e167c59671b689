#!/usr/bin/env bash
# The command line: --encode writes a symbol file that zbarimg reads back,
# --decode prints the report of a qrencode picture on standard output (through
# a redirection and a pipe), failures go to standard error with exit code 2,
# bad arguments with the usage and exit code 1, --help prints the usage.
source "$(dirname "$0")/lib.sh"
start_display
program=$(make_program_folder)
pics="$work/图片 目录"
mkdir -p "$pics"

winpath() { printf 'Z:%s' "${1//\//\\}"; }
# kodaro ARGS...: runs the program, its output in $out and $err, exit code in $rc.
kodaro() {
  rc=0
  timeout 60 "$root/scripts/wine-run.sh" "$program/Kodaro.exe" "$@" \
    >"$work/out.txt" 2>"$work/err.txt" || rc=$?
  # The runner passes standard error through a filter that may still be
  # writing when the program has ended.
  if [ "$rc" != 0 ]; then
    for _ in $(seq 50); do
      [ -s "$work/err.txt" ] && break
      sleep 0.1
    done
    sleep 0.2
  fi
  out=$(tr -d '\r' <"$work/out.txt")
  err=$(tr -d '\r' <"$work/err.txt")
}
expect() { # rc what
  [ "$rc" = "$1" ] || fail "$2: exit code $rc (stdout '$out', stderr '$err')"
}

echo "== help and bad arguments"
kodaro --help
expect 0 "--help"
case "$out" in 用法:*--encode*--decode*) ;; *) fail "--help printed '$out'" ;; esac
for bad in "--bogus" "--encode x" "--encode x --out" "--encode x --out o.bmp --size 1000" \
  "--encode x --out o.bmp --level Z" "--decode a.png --out o.bmp" "picture.png"; do
  # shellcheck disable=SC2086
  kodaro $bad
  expect 1 "'$bad'"
  [ -z "$out" ] || fail "'$bad' printed on standard output: $out"
  case "$err" in *用法:*) ;; *) fail "'$bad' gave no usage line: $err" ;; esac
done

echo "== encode, then read back"
kodaro --encode "Kodaro CLI" --out "$(winpath "$work/plain.bmp")"
expect 0 "encode"
[ "$(head -c 2 "$work/plain.bmp")" = BM ] && [ "$(identify -format '%wx%h' "$work/plain.bmp")" = 256x256 ] ||
  fail "the default symbol is not a 256 px BMP"
[ "$(zbarimg --raw -q "$work/plain.bmp")" = "Kodaro CLI" ] || fail "zbarimg does not read the symbol"
# As in a fresh window's preview, the default logo's blue (no module's black or white) is at (110, 110).
case "$(convert "$work/plain.bmp" -format '%[pixel:p{110,110}]' info:)" in
  *"(0,0,0)"* | *"(255,255,255)"* | black | white) fail "the symbol has no logo in its middle" ;;
esac

text="二维码 Kodaro ☕ 命令行"
kodaro --encode "$text" --out "$(winpath "$pics/符号.bmp")" --level H --size 600
expect 0 "encode Chinese text"
[ "$(identify -format '%wx%h' "$pics/符号.bmp")" = "600x600" ] || fail "--size 600 was not kept"
# zbarimg guesses the text's character set; ZXingReader reads UTF-8 as it is.
zxing=$(ZXingReader "$pics/符号.bmp" 2>/dev/null)
got=$(sed -n 's/^Text: *"\(.*\)"$/\1/p' <<<"$zxing")
[ "$got" = "$text" ] || fail "ZXingReader read '$got'"
grep -q 'EC Level: *H' <<<"$zxing" || fail "--level H was not used"

kodaro --encode "Kodaro PNG" --out "$(winpath "$work/symbol.PNG")" --size 128
expect 0 "encode to PNG"
[ "$(identify -format '%m %wx%h' "$work/symbol.PNG")" = "PNG 128x128" ] || fail "no 128 px PNG"
[ "$(zbarimg --raw -q "$work/symbol.PNG")" = "Kodaro PNG" ] || fail "zbarimg does not read the PNG"
kodaro --encode "Kodaro SVG" --out "$(winpath "$work/symbol.svg")"
expect 0 "encode to SVG"
rsvg-convert -w 300 -h 300 -b white "$work/symbol.svg" -o "$work/svg.png" || fail "rsvg-convert failed"
[ "$(zbarimg --raw -q "$work/svg.png")" = "Kodaro SVG" ] || fail "zbarimg does not read the SVG"
kodaro --encode "x" --out "$(winpath "$work/x.jpg")"
expect 1 "an extension without a format"

kodaro --encode "x" --out "$(winpath "$work/no such folder/x.bmp")"
expect 2 "a file in a missing folder"
[ -n "$err" ] || fail "no reason for the failed write"
kodaro --encode "$(head -c 4000 /dev/zero | tr '\0' 'A')" --level H --out "$(winpath "$work/long.bmp")"
expect 2 "a text too long for a symbol"
[ ! -e "$work/long.bmp" ] || fail "a file was written for a text too long"

echo "== decode"
qrencode -v 3 -l M -s 4 -o "$pics/qrencode.png" "Kodaro e2e 你好"
kodaro --decode "$(winpath "$pics/qrencode.png")"
expect 0 "decode"
[ "$out" = "$(printf '解码序号: 1\n模型版本: 3\n容错等级: 低 - 15%%\n解码数据: \nKodaro e2e 你好')" ] ||
  fail "decode printed '$out'"
[ -z "$err" ] || fail "decode wrote to standard error: $err"
# The symbol written above reads back through the program itself, in a pipe.
got=$(timeout 60 "$root/scripts/wine-run.sh" "$program/Kodaro.exe" --decode \
  "$(winpath "$pics/符号.bmp")" 2>/dev/null | tr -d '\r' | tail -n 1)
[ "$got" = "$text" ] || fail "the Chinese symbol decoded through a pipe as '$got'"
# A report that cannot be written is no success.
rc=0
timeout 60 "$root/scripts/wine-run.sh" "$program/Kodaro.exe" --decode \
  "$(winpath "$pics/qrencode.png")" >/dev/full 2>/dev/null || rc=$?
[ "$rc" = 2 ] || fail "a report written to a full disk ended with $rc"

convert -size 120x120 xc:white "$work/blank.png"
kodaro --decode "$(winpath "$work/blank.png")"
expect 2 "a picture without a symbol"
[ -z "$out" ] && [ "$err" = "未找到 QR 代码符号。" ] || fail "no symbol: '$out' / '$err'"
kodaro --decode "$(winpath "$work/missing.png")"
expect 2 "a missing file"
[ "$err" = "文件未找到！" ] || fail "a missing file: '$err'"
printf 'not a picture' >"$work/text.png"
kodaro --decode "$(winpath "$work/text.png")"
expect 2 "a file that is no picture"
[ "$err" = "无法读取此格式文件。" ] || fail "no picture: '$err'"
# No window was shown by any of it.
[ -z "$(xdotool search --onlyvisible --name '^Kodaro$' 2>/dev/null)" ] || fail "a window is showing"
echo "PASS"
