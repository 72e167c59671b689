#!/usr/bin/env bash
# Writes the picture part of the seed corpus: small real symbol pictures
# (qrencode, some turned, mirrored or inverted) in the fuzz target's format,
# two bytes of width then greyscale rows. The bits_* seeds (hand-made bit
# streams), the m1_* seeds (old-model symbols from the benchmark's
# model1_symbol tool) and the regress_* seeds (inputs fuzzing once found
# faults with) are kept as they are.
set -euo pipefail
out=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/seeds
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$out"

seed() { # name, convert options..., from $tmp/src.png
  local name=$1
  shift
  /usr/bin/convert "$tmp/src.png" -background white "$@" +repage -depth 8 gray:"$tmp/px"
  local width
  width=$(/usr/bin/convert "$tmp/src.png" -background white "$@" +repage -format %w info:)
  printf "\\x$(printf %02x $((width & 255)))\\x$(printf %02x $((width >> 8)))" >"$out/$name.raw"
  cat "$tmp/px" >>"$out/$name.raw"
}

qrencode -o "$tmp/src.png" -s 2 -m 2 -l M -v 1 "HELLO 123"
seed v1 ; seed v1_rot30 -rotate 30 ; seed v1_mirror -flop ; seed v1_negate -negate
qrencode -o "$tmp/src.png" -s 2 -m 2 -l H -v 2 "https://example.org/?q=1"
seed v2 ; seed v2_blur -blur 0x0.6
qrencode -o "$tmp/src.png" -s 2 -m 2 -l L -v 7 "version seven with version information 0123456789"
seed v7
qrencode -o "$tmp/src.png" -s 2 -m 2 -l Q -8 "$(printf '\xc4\xe3\xba\xc3')"
seed gbk
printf '\x88\x9f\x88\xa0' | qrencode -o "$tmp/src.png" -s 2 -m 2 -k
seed kanji
qrencode -S -v 1 -o "$tmp/sa.png" -s 2 -m 2 "STRUCTURED APPEND ACROSS SEVERAL SYMBOLS OF VERSION ONE"
cp "$tmp"/sa-01.png "$tmp/src.png"
seed structured

# Picture files for the header checks, as they are; the icon after 0xFF 0xFF.
qrencode -o "$tmp/src.png" -s 1 -m 2 -l M "HEADER"
for ext in png bmp gif jpg tif; do
  /usr/bin/convert "$tmp/src.png" "$out/file_v1.$ext"
done
/usr/bin/convert "$tmp/src.png" "$tmp/v1.ico"
{ printf '\xff\xff'; cat "$tmp/v1.ico"; } >"$out/file_v1_ico"
