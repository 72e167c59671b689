#!/usr/bin/env bash
# Decodes every NAME.bmp that the encoder component test wrote with zbarimg and
# compares the text with NAME.txt. Fails when zbarimg is missing (set-up
# installs it).
set -uo pipefail
dir=$1
if ! command -v zbarimg >/dev/null; then
  echo "zbarimg is not installed (scripts/setup.sh installs zbar-tools)" >&2
  exit 1
fi
shopt -s nullglob
files=("$dir"/*.bmp)
if [ ${#files[@]} -eq 0 ]; then
  echo "no bitmaps in $dir"
  exit 1
fi
failed=0
for bmp in "${files[@]}"; do
  expected="${bmp%.bmp}.txt"
  got=$(zbarimg -Sdisable -Sqrcode.enable --raw -q "$bmp" 2>/dev/null; echo x)
  want=$(cat "$expected"; echo; echo x)
  if [ "$got" != "$want" ]; then
    echo "FAIL $bmp: expected [$(cat "$expected")], read [${got%x}]"
    failed=$((failed + 1))
  fi
done
echo "$(( ${#files[@]} - failed )) passed, $failed failed"
[ "$failed" -eq 0 ]
