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

# Photographs of printed symbols, simulated: each class adds what one kind of
# shot does to a symbol on paper, and every one ends as a phone's JPEG at
# quality 30 to 60.
quality() { echo $((30 + RANDOM % 31)); }
long_payload() { # a larger version: 150 to 500 characters
  local text
  text=$(payload)
  while [ ${#text} -lt $((150 + RANDOM % 350)) ]; do text="$text $(payload)"; done
  printf '%s' "${text:0:500}"
}
slant() { # perspective corner offsets up to a 1/$2 of the width $1
  local w=$1 d=$2
  r() { echo $((RANDOM % (w / d))); }
  echo "0,0 $(r),$(r)  $w,0 $((w - $(r))),$(r)  $w,$w $((w - $(r))),$((w - $(r)))  0,$w $(r),$((w - $(r)))"
}
photo() { # class, index, text, convert options applied to $tmp/s.png
  local class=$1 i=$2 text=$3
  shift 3
  mkdir -p "$out/$class"
  "$convert" "$tmp/s.png" -background white -virtual-pixel white "$@" +repage -quality "$(quality)" "$tmp/p.jpg"
  "$convert" "$tmp/p.jpg" -colorspace Gray -depth 8 "$out/$class/$i.pgm"
  printf '%s\n' "$text" >"$out/$class/$i.txt"
}
for ((i = 0; i < count; i++)); do
  # Wrapped round a bottle or a can, seen a little from the side.
  text=$(payload)
  symbol "$tmp/s.png" $((4 + RANDOM % 3)) "$text"
  w=$("$convert" "$tmp/s.png" -format %w info:)
  photo curved "$i" "$text" -distort Plane2Cylinder $((40 + RANDOM % 41)) \
    -distort Perspective "$(slant "$w" 10)" -blur 0x0.6

  # A large version at a strong slant through a wide lens (barrel distortion).
  text=$(long_payload)
  symbol "$tmp/s.png" 4 "$text"
  w=$("$convert" "$tmp/s.png" -format %w info:)
  photo slanted "$i" "$text" -distort Perspective "$(slant "$w" 5)" \
    -distort Barrel "0.0 0.0 0.0$((2 + RANDOM % 5)) 0.95" -blur 0x0.5

  # A shadow falls across the symbol, and the light fades to one side.
  text=$(payload)
  symbol "$tmp/s.png" $((4 + RANDOM % 2)) "$text"
  w=$("$convert" "$tmp/s.png" -format %w info:)
  x1=$((RANDOM % w)) x2=$((RANDOM % w))
  "$convert" -size "${w}x${w}" gradient:white-gray60 -rotate $((RANDOM % 360)) -gravity center \
    -extent "${w}x${w}" \( -size "${w}x${w}" xc:white -fill "gray$((35 + RANDOM % 25))" \
    -draw "polygon $x1,0 $w,0 $w,$w $x2,$w" -blur 0x$((4 + RANDOM % 12)) \) -compose multiply \
    -composite "$tmp/light.png"
  photo shadow "$i" "$text" "$tmp/light.png" -compose multiply -composite -attenuate 0.8 +noise Gaussian

  # A shaking hand.
  text=$(payload)
  symbol "$tmp/s.png" 5 "$text"
  photo motion "$i" "$text" -rotate $((RANDOM % 30 - 15)) -motion-blur "0x$((2 + RANDOM % 3))+$((RANDOM % 180))"

  # A small symbol somewhere in a large, busy photograph.
  text=$(payload)
  symbol "$tmp/s.png" $((2 + RANDOM % 2)) "$text"
  w=$("$convert" "$tmp/s.png" -format %w info:)
  "$convert" "$tmp/s.png" -background white -virtual-pixel white -distort Perspective "$(slant "$w" 10)" \
    +repage "$tmp/small.png"
  "$convert" -size 2000x1500 -seed "$RANDOM" plasma:gray70-gray30 -colorspace Gray \
    "$tmp/small.png" -geometry "+$((100 + RANDOM % 1500))+$((100 + RANDOM % 1000))" -composite "$tmp/s.png"
  photo large "$i" "$text" -blur 0x0.4
done
touch "$out/.complete"
