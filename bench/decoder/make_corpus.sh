#!/usr/bin/env bash
# Generates the decoder benchmark corpus into the folder given: per class of
# distortion, greyscale PGM pictures made with qrencode and ImageMagick, each
# with a .txt file listing the payloads it holds (one per line).
# Usage: make_corpus.sh OUTPUT_FOLDER [PICTURES_PER_CLASS]
set -euo pipefail
out=$1
count=${2:-20}
convert=/usr/bin/convert
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
RANDOM=4242
levels=(L M Q H)
words=(kodaro quick brown fox 二维码 測試 data symbol 12345 "https://example.org/p?id=" café ünïcode)

payload() { # a payload of varied length and content, no line breaks
  local n=$((RANDOM % 6)) text="item-$RANDOM"
  local length=$((8 + (RANDOM % 5) * (RANDOM % 80)))
  while [ ${#text} -lt $length ]; do text="$text ${words[$((RANDOM % ${#words[@]}))]}"; done
  if [ $n -eq 0 ]; then text="$RANDOM$RANDOM$RANDOM$RANDOM"; fi
  printf '%s' "$text"
}

symbol() { # file, module size, payload
  qrencode -l "${levels[$((RANDOM % 4))]}" -s "$2" -m 4 -o "$1" "$3"
}

make_class() { # class, module size, convert options...
  local class=$1 size=$2
  shift 2
  mkdir -p "$out/$class"
  for ((i = 0; i < count; i++)); do
    local text
    text=$(payload)
    symbol "$tmp/s.png" "$size" "$text"
    "$convert" "$tmp/s.png" -background white "$@" +repage -colorspace Gray -depth 8 "$out/$class/$i.pgm"
    printf '%s\n' "$text" >"$out/$class/$i.txt"
  done
}

make_class clean 4
make_class module2px 2
make_class inverted 4 -negate
make_class mirrored 4 -flop
make_class lowcontrast 4 +level 42%,58%
make_class blur 4 -blur 0x1.7
make_class noise 4 -attenuate 3 +noise Gaussian

mkdir -p "$out/rotation" "$out/perspective" "$out/jpeg20" "$out/multi"
for ((i = 0; i < count; i++)); do
  text=$(payload)
  symbol "$tmp/s.png" $((3 + RANDOM % 3)) "$text"
  "$convert" "$tmp/s.png" -background white -rotate $((5 + RANDOM % 350)) +repage -colorspace Gray -depth 8 "$out/rotation/$i.pgm"
  printf '%s\n' "$text" >"$out/rotation/$i.txt"

  text=$(payload)
  symbol "$tmp/s.png" 5 "$text"
  w=$("$convert" "$tmp/s.png" -format %w info:)
  r() { echo $((RANDOM % (w / 4))); }
  "$convert" "$tmp/s.png" -virtual-pixel white -background white -distort Perspective \
    "0,0 $(r),$(r)  $w,0 $((w - $(r))),$(r)  $w,$w $((w - $(r))),$((w - $(r)))  0,$w $(r),$((w - $(r)))" \
    +repage -colorspace Gray -depth 8 "$out/perspective/$i.pgm"
  printf '%s\n' "$text" >"$out/perspective/$i.txt"

  text=$(payload)
  symbol "$tmp/s.png" 4 "$text"
  "$convert" "$tmp/s.png" -resize 80% -quality 20 "$tmp/s.jpg"
  "$convert" "$tmp/s.jpg" -colorspace Gray -depth 8 "$out/jpeg20/$i.pgm"
  printf '%s\n' "$text" >"$out/jpeg20/$i.txt"

  n=$((2 + RANDOM % 3))
  : >"$out/multi/$i.txt"
  parts=()
  for ((k = 0; k < n; k++)); do
    text=$(payload)
    symbol "$tmp/m$k.png" 3 "$text"
    printf '%s\n' "$text" >>"$out/multi/$i.txt"
    parts+=("$tmp/m$k.png")
  done
  if [ $n -eq 4 ]; then
    "$convert" \( "${parts[0]}" "${parts[1]}" +append \) \( "${parts[2]}" "${parts[3]}" +append \) \
      -background white -append -colorspace Gray -depth 8 "$out/multi/$i.pgm"
  else
    "$convert" "${parts[@]}" -background white -gravity center +append -colorspace Gray -depth 8 "$out/multi/$i.pgm"
  fi
done
# Everything a phone photo of a printout adds at once: turned, in
# perspective, lit unevenly, slightly blurred, noisy and JPEG-compressed.
mkdir -p "$out/combined"
for ((i = 0; i < count; i++)); do
  text=$(payload)
  symbol "$tmp/s.png" $((3 + RANDOM % 3)) "$text"
  w=$("$convert" "$tmp/s.png" -format %w info:)
  q() { echo $((RANDOM % (w / 8))); }
  "$convert" "$tmp/s.png" -background white -rotate $((RANDOM % 360)) +repage -virtual-pixel white \
    -distort Perspective "0,0 $(q),$(q)  $w,0 $((w - $(q))),$(q)  $w,$w $((w - $(q))),$((w - $(q)))  0,$w $(q),$((w - $(q)))" \
    +repage "$tmp/r.png"
  cw=$("$convert" "$tmp/r.png" -format %w info:)
  ch=$("$convert" "$tmp/r.png" -format %h info:)
  "$convert" "$tmp/r.png" \( -size "${ch}x${cw}" gradient:white-gray45 -rotate 90 \) -compose multiply -composite \
    -blur 0x0.9 -attenuate 1.2 +noise Gaussian -quality 45 "$tmp/c.jpg"
  "$convert" "$tmp/c.jpg" -colorspace Gray -depth 8 "$out/combined/$i.pgm"
  printf '%s\n' "$text" >"$out/combined/$i.txt"
done
touch "$out/.complete"
