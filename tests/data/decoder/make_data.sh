#!/usr/bin/env bash
# Regenerates the decoder test pictures with an outside encoder (qrencode)
# and ImageMagick. Greyscale PGM files (one pixel per module) feed the
# portable decoder's tests; PNG, BMP, JPEG, GIF, TIFF and ICO files feed the
# DLL and report tests.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
convert=/usr/bin/convert
pgm() { "$convert" "$1" -colorspace Gray -depth 8 "$2"; }

# Kanji mode needs Shift_JIS input.
printf '日本語のテキスト、漢字モード' | iconv -f UTF-8 -t SHIFT_JIS | qrencode -k -s 1 -m 4 -o "$tmp/k.png"
pgm "$tmp/k.png" kanji.pgm
# Byte data in GBK, as older Chinese generators wrote it.
printf '中文测试：你好，世界' | iconv -f UTF-8 -t GBK | qrencode -8 -s 1 -m 4 -o "$tmp/g.png"
pgm "$tmp/g.png" gbk.pgm
printf '中文测试：你好，世界' | iconv -f UTF-8 -t GBK | qrencode -8 -s 4 -o gbk.png
# Shift_JIS byte data (hiragana and kanji) without kanji mode.
printf 'ひらがなと漢字のデータ' | iconv -f UTF-8 -t SHIFT_JIS | qrencode -8 -s 1 -m 4 -o "$tmp/s.png"
pgm "$tmp/s.png" sjis_bytes.pgm

# Data full of mark look-alikes once negated: a light-on-dark picture of it
# must still be read after the dark-on-light passes spent their grids.
qrencode -l Q -s 1 -m 4 -o "$tmp/b.png" 'item-30155 ünïcode 二维码 https://example.org/p?id= https://example.org/p?id= https://example.org/p?id= fox kodaro data 12345 https://example.org/p?id='
pgm "$tmp/b.png" busy_data.pgm

# Byte data without an ECI in the legacy charsets of East Asia and Western
# Europe, as older generators wrote it: charsets.txt lists each picture with
# the charset it was written in and its text.
: >charsets.txt
n=0
while IFS=$'\t' read -r charset text; do
  n=$((n + 1))
  printf '%s' "$text" | iconv -f UTF-8 -t "$charset" | qrencode -8 -s 1 -m 4 -o "$tmp/c.png"
  pgm "$tmp/c.png" "charset_$n.pgm"
  printf 'charset_%s.pgm\t%s\t%s\n' "$n" "$charset" "$text" >>charsets.txt
done <<'EOF_CHARSETS'
SHIFT_JIS	ﾃﾞｻﾞｲﾝ
SHIFT_JIS	ｺﾝﾋﾟｭｰﾀｰ
SHIFT_JIS	ﾎﾟｲﾝﾄｶｰﾄﾞ
SHIFT_JIS	ｺｰﾋｰ ｶﾌｪ
SHIFT_JIS	ﾃﾞｻﾞｲﾝ事務所
SHIFT_JIS	ｶﾌﾞｼｷｶﾞｲｼｬ 山田商店
SHIFT_JIS	東京都渋谷区
SHIFT_JIS	ありがとうございます
SHIFT_JIS	会議室
GBK	二维码生成器
GBK	北京市朝阳区建国路88号
GBK	欢迎光临
GBK	价格：￥25.00
GBK	张伟
GBK	谢谢
GBK	电话：13800138000
BIG5	中文測試
BIG5	繁體中文
BIG5	台北市信義區
BIG5	歡迎光臨
EUC-KR	안녕하세요
EUC-KR	한국어 텍스트
EUC-KR	서울특별시 강남구
EUC-KR	감사합니다
ISO-8859-1	Café crème
ISO-8859-1	Müller & Söhne
ISO-8859-1	¿Dónde está?
ISO-8859-1	naïve façade
ISO-8859-1	Straße 5
EOF_CHARSETS

# Labels round a bottle: the paper bent round a cylinder over 55 and 65
# degrees of its round.
qrencode -l M -s 4 -m 4 -o "$tmp/b.png" "https://example.org/bottle?batch=2026-12&lot=A17"
"$convert" "$tmp/b.png" -background white -virtual-pixel white -distort Plane2Cylinder 55 \
  -colorspace Gray -depth 8 bottle_55.pgm
qrencode -l M -s 4 -m 4 -o "$tmp/b.png" \
  "label on a bottle, batch 2026-12, lot A17, best before 2027-06-30 ABCDEFGHIJ"
"$convert" "$tmp/b.png" -background white -virtual-pixel white -distort Plane2Cylinder 65 \
  -colorspace Gray -depth 8 bottle_65.pgm

# A small symbol photographed blurred, noisy and unevenly lit: blur swells
# its marks, which then measure half again their true module size.
qrencode -l Q -s 3 -m 4 -o "$tmp/p.png" item-355
"$convert" "$tmp/p.png" -background white -rotate 50 +repage -virtual-pixel white \
  -distort Perspective "0,0 0,7  87,0 85,0  87,87 85,87  0,87 0,85" +repage "$tmp/r.png"
"$convert" -seed 355 "$tmp/r.png" \( -size 125x125 gradient:white-gray45 -rotate 90 \) \
  -compose multiply -composite -blur 0x0.9 -attenuate 1.2 +noise Gaussian -quality 45 "$tmp/p.jpg"
pgm "$tmp/p.jpg" swollen_marks.pgm

# Structured append: three version 1 symbols whose parity (XOR of all data
# bytes) is 0x0A.
message="STRUCTURED APPEND ACROSS THREE SYMBOLS"
parity=0
for ((i = 0; i < ${#message}; i++)); do
  parity=$((parity ^ $(printf '%d' "'${message:i:1}")))
done
last=$((parity ^ 0x0A))
message="$message$(printf "\\x$(printf %02x $last)")"
qrencode -S -v 1 -l M -s 1 -m 4 -o "$tmp/sa.png" "$message"
for n in 1 2 3; do pgm "$tmp/sa-0$n.png" "sa_$n.pgm"; done
qrencode -S -v 1 -l M -s 4 -o "$tmp/sa4.png" "$message"
cp "$tmp/sa4-02.png" sa_2_of_3.png
if [ -e "$tmp/sa-04.png" ]; then echo "expected exactly three symbols" >&2; exit 1; fi

# The report's plain example in every picture format GDI+ reads.
qrencode -v 3 -l M -s 4 -o v3m_abc.png ABC
"$convert" v3m_abc.png v3m_abc.bmp
"$convert" v3m_abc.png -quality 90 v3m_abc.jpg
"$convert" v3m_abc.png v3m_abc.gif
"$convert" v3m_abc.png -compress lzw v3m_abc.tif
"$convert" v3m_abc.png -define icon:auto-resize=128 v3m_abc.ico

# Two symbols side by side, the left one read first.
qrencode -l Q -s 4 -o "$tmp/left.png" "LEFT SYMBOL"
qrencode -l H -s 4 -o "$tmp/right.png" "right symbol"
"$convert" "$tmp/left.png" "$tmp/right.png" +append two_symbols.png

# Text with a character outside code page 936.
printf 'Smile \xf0\x9f\x98\x80 ok' | qrencode -8 -l L -s 4 -o emoji.png

# No symbol at all; a file that is no picture; a picture too large to decode.
"$convert" -size 200x150 gradient:white-gray40 blank.png
printf 'this is not a picture\n' > not_a_picture.png
"$convert" -size 10000x5001 xc:white -depth 1 too_large.png
