#!/usr/bin/env bash
# Reads every rendered symbol in the folder with zbarimg and compares the text
# with the payload beside it. Fails when any differs or nothing was rendered.
set -uo pipefail
folder=$1
count=0
failed=0
for bmp in "$folder"/*.bmp; do
  [ -e "$bmp" ] || continue
  expected="${bmp%.bmp}.txt"
  count=$((count + 1))
  got=$(zbarimg -Sdisable -Sqrcode.enable --raw -q "$bmp" 2>/dev/null; printf x)
  got=${got%x}
  want=$(cat "$expected"; printf '\nx')
  want=${want%x}
  if [ "$got" != "$want" ]; then
    echo "FAIL $(basename "$bmp"): read '${got%$'\n'}'"
    failed=$((failed + 1))
  fi
done
echo "$count symbols read with zbarimg, $failed differ from their payload"
[ "$count" -gt 0 ] && [ "$failed" -eq 0 ]
