#!/usr/bin/env bash
# Adds the "model1" class to a decoder benchmark corpus: symbols of the old
# QR model (versions 1-14, any level and mask) written by the model1_symbol
# tool, then turned, tilted, blurred and JPEG-compressed with ImageMagick.
# Usage: make_model1_class.sh CORPUS_FOLDER MODEL1_SYMBOL_TOOL [PICTURES]
set -euo pipefail
out=$1/model1
tool=$2
count=${3:-20}
convert=/usr/bin/convert
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
RANDOM=1414
# Bytes a symbol of each version holds at level H.
capacity=(0 7 14 22 32 44 56 70 85 100 121 142 162 189 207)
words=(kodaro quick brown fox data symbol 12345 "https://example.org/p?id=" old model)
mkdir -p "$out"
for ((i = 0; i < count; i++)); do
  version=$((1 + RANDOM % 14))
  level=$((RANDOM % 4))
  # A few words, a half to all of what this version holds at level H.
  length=$((capacity[version] / 2 + RANDOM % (capacity[version] / 2 + 1)))
  text="m1-$RANDOM"
  while [ ${#text} -lt "$length" ]; do text="$text ${words[$((RANDOM % ${#words[@]}))]}"; done
  text=${text:0:$length}
  text=${text% }
  "$tool" "$tmp/s.pgm" "$version" "$level" $((RANDOM % 8)) $((3 + RANDOM % 3)) "$text"
  w=$("$convert" "$tmp/s.pgm" -format %w info:)
  r() { echo $((RANDOM % (w / 8))); }
  "$convert" "$tmp/s.pgm" -background white -virtual-pixel white -rotate $((RANDOM % 360)) +repage \
    -distort Perspective "0,0 $(r),$(r)  $w,0 $((w - $(r))),$(r)  $w,$w $((w - $(r))),$((w - $(r)))  0,$w $(r),$((w - $(r)))" \
    +repage -blur 0x0.7 -quality $((40 + RANDOM % 21)) "$tmp/p.jpg"
  "$convert" "$tmp/p.jpg" -colorspace Gray -depth 8 "$out/$i.pgm"
  printf '%s\n' "$text" >"$out/$i.txt"
done
