#!/usr/bin/env bash
# Renders Kodaro's artwork from the SVG sources under resources/src/ into the
# files the program ships (resources/Resource/...) and embeds (framework/,
# sites/, kinds/, app/), then checks every output's pixel size.
#   resources/make-artwork.sh            render and check
#   resources/make-artwork.sh --sheet F  also write a contact sheet (x4) to F
# The outputs are committed; the build never runs this script.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
src="$here/src"
sheet=""
if [ "${1:-}" = "--sheet" ]; then sheet="${2:?--sheet needs a file name}"; fi

# Tools: rsvg-convert (librsvg2-bin), convert/identify/montage (imagemagick),
# python3 for the generated placeholder pattern. Installed when missing.
packages=(librsvg2-bin imagemagick python3)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=()
  if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# ImageMagick from Debian, not a stand-in earlier on PATH.
IM=/usr/bin
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# Expected sizes of every output, checked at the end: "path WxH".
expected=()

png() { # png SRC.svg OUT.png WxH
  mkdir -p "$(dirname "$here/$2")"
  rsvg-convert "$src/$1" -o "$tmp/r.png"
  # Time stamps and colour-space chunks left out so that a re-run gives
  # identical files; 96 dpi stated so that GDI+ draws it at its pixel size.
  "$IM/convert" "$tmp/r.png" -units PixelsPerInch -density 96 \
    -define png:exclude-chunks=date,time,tEXt,zTXt,iTXt,bKGD,gAMA,cHRM,sRGB,iCCP \
    -define png:color-type=6 "PNG32:$here/$2"
  expected+=("$2 $3")
}

jpg() { # jpg SRC.svg OUT.jpg WxH
  mkdir -p "$(dirname "$here/$2")"
  rsvg-convert "$src/$1" -o "$tmp/r.png"
  "$IM/convert" "$tmp/r.png" -background white -flatten -strip -quality 92 \
    -sampling-factor 1x1 -units PixelsPerInch -density 96 "$here/$2"
  expected+=("$2 $3")
}

ico() { # ico OUT.ico SRC16 SRC32 SRC48, each SRC "file.svg" or "file.svg@SIZE"
  mkdir -p "$(dirname "$here/$1")"
  local i=0 parts=() s file size
  for s in "$2" "$3" "$4"; do
    file="${s%@*}" size=()
    if [ "$s" != "$file" ]; then size=(-w "${s#*@}" -h "${s#*@}"); fi
    rsvg-convert "${size[@]}" "$src/$file" -o "$tmp/i$i.png"
    parts+=("$tmp/i$i.png")
    i=$((i + 1))
  done
  "$IM/convert" "${parts[@]}" -strip "$here/$1"
  expected+=("$1 16x16,32x32,48x48")
}

# Files shipped in the Resource folder beside the program.
python3 "$src/Resource/make-placeholder.py"
jpg Resource/Main/Bg.svg Resource/Main/Bg.jpg 680x475
for t in Create Decode Diy About; do
  png "Resource/Main/Tab/$t.svg" "Resource/Main/Tab/$t.png" 40x40
done
for t in Create Decode Diy Copy Save; do
  png "Resource/Main/Preview/$t.svg" "Resource/Main/Preview/$t.png" 24x24
done
png Resource/Main/help.svg Resource/Main/help.png 24x20
jpg Resource/qr.svg Resource/qr.jpg 206x207
png Resource/Logo.svg Resource/Logo.png 128x128

# Pictures embedded in the programs.
png framework/SkinStrip.svg framework/SkinStrip.png 729x20
png framework/RadioGlyph.svg framework/RadioGlyph.png 68x17
png framework/MsgBoxBack.svg framework/MsgBoxBack.png 2x160
png framework/MsgBoxIcons.svg framework/MsgBoxIcons.png 200x40
png framework/ComboFrame.svg framework/ComboFrame.png 40x26
png framework/ComboArrow.svg framework/ComboArrow.png 30x12
jpg uninstall/Background.svg uninstall/Background.jpg 600x435
for s in taobao weibo qzone tqq renren sohu kaixin001 tieba douban; do
  png "sites/$s.svg" "sites/$s.png" 16x16
done
for k in text card url dial message wifi; do
  png "kinds/$k.svg" "kinds/$k.png" 24x24
done

# Icons of the program and of the uninstaller.
ico app/kodaro.ico app/kodaro-16.svg Resource/Logo.svg@32 Resource/Logo.svg@48
ico app/uninstall.ico app/uninstall-16.svg app/uninstall.svg@32 app/uninstall.svg@48

# Every output must have exactly its required size (all frames, for icons).
status=0
for e in "${expected[@]}"; do
  file="${e% *}" want="${e#* }"
  got="$("$IM/identify" -format '%wx%h,' "$here/$file")"
  got="${got%,}"
  if [ "$got" != "$want" ]; then
    echo "wrong size: $file is $got, wants $want" >&2
    status=1
  fi
done
if [ $status -ne 0 ]; then exit $status; fi
echo "${#expected[@]} files rendered, sizes checked"

# Contact sheet: the small artwork x4 without smoothing (single pixels show),
# then the big pictures at their own size, on a mid grey so that white and
# dark artwork both show, each with its file name.
if [ -n "$sheet" ]; then
  small=() big=()
  n=0
  for e in "${expected[@]}"; do
    file="${e% *}"
    if [ "$("$IM/identify" -format '%[fx:max(w,h)]' "$here/$file[0]")" -le 64 ]; then
      "$IM/convert" "$here/$file[0]" -scale 400% -background '#7A8794' -flatten "$tmp/s$n.png"
      small+=(-label "$(basename "$file")" "$tmp/s$n.png")
    else
      "$IM/convert" "$here/$file[0]" -background '#7A8794' -flatten "$tmp/s$n.png"
      big+=(-label "$(basename "$file")" "$tmp/s$n.png")
    fi
    n=$((n + 1))
  done
  opts=(-geometry '+10+10' -background '#5B6672' -fill white -font DejaVu-Sans -pointsize 14)
  parts=()
  if [ ${#small[@]} -gt 0 ]; then "$IM/montage" "${small[@]}" -tile 8x "${opts[@]}" "$tmp/small.png"; parts+=("$tmp/small.png"); fi
  if [ ${#big[@]} -gt 0 ]; then "$IM/montage" "${big[@]}" -tile 4x "${opts[@]}" "$tmp/big.png"; parts+=("$tmp/big.png"); fi
  "$IM/convert" "${parts[@]}" -background '#5B6672' -append "$sheet"
  echo "contact sheet: $sheet"
fi
