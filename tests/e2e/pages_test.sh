#!/usr/bin/env bash
# The preview toolbar shows while the mouse is over the preview (the right
# and bottom edges are outside) and is left alone on the about page; a tab
# click switches the page, a click on the selected tab changes nothing; the
# beautify page's colour/picture choice and the decode page's source options
# show and hide their controls, and a page comes back as it was left.
source "$(dirname "$0")/lib.sh"
open_kodaro

# region NAME: the window region of a part of the window in the latest shot.
shot() {
  screenshot "$shots/$1.png"
}
region() { # shot-name x y w h out-name
  crop "$shots/$1.png" "$2" "$3" "$4" "$5" "$shots/$6.png"
}
toolbar() { region "$1" 451 300 208 28 "$1-toolbar"; }
differs() { # a b minimum
  local n
  n=$(differing_pixels "$shots/$1.png" "$shots/$2.png")
  [ "$n" -ge "$3" ] 2>/dev/null
}
same() { # a b
  local n
  n=$(differing_pixels "$shots/$1.png" "$shots/$2.png")
  [ "$n" -le 4 ] 2>/dev/null || { echo "$1 vs $2: $n pixels differ" >&2; return 1; }
}

echo "== preview toolbar"
mouse_at "$window" 300 250
shot away
toolbar away
mouse_at "$window" 657 326
shot inside
toolbar inside
differs away-toolbar inside-toolbar 100 || fail "toolbar not shown at (657, 326)"
mouse_at "$window" 658 326
shot outside
toolbar outside
same away-toolbar outside-toolbar || fail "toolbar not hidden at (658, 326)"

echo "== tabs"
tabs() { region "$1" 15 30 330 80 "$1-tabs"; }
bottom() { region "$1" 580 436 80 26 "$1-button"; }
page() { region "$1" 120 115 320 300 "$1-page"; }
tabs away
bottom away
page away
click_at "$window" 137 70
mouse_at "$window" 300 250
shot decode
tabs decode
bottom decode
page decode
differs away-tabs decode-tabs 50 || fail "the decode tab did not take the selected look"
differs away-button decode-button 20 || fail "the save button did not give way to the decode button"
differs away-page decode-page 50 || fail "the page texts did not change"
click_at "$window" 137 70
mouse_at "$window" 300 250
shot again
region decode 0 0 680 475 decode-window
region again 0 0 680 475 again-window
same decode-window again-window || fail "clicking the selected tab changed the window"

echo "== about page"
preview() { region "$1" 450 111 210 280 "$1-preview"; }
click_at "$window" 297 70
mouse_at "$window" 300 250
shot about
preview about
preview again
differs again-preview about-preview 500 || fail "the preview area is still shown on the about page"
mouse_at "$window" 657 326
shot about-hover
toolbar about
toolbar about-hover
same about-toolbar about-hover-toolbar || fail "the toolbar changed on the about page"

echo "== beautify page: colour or picture"
click_at "$window" 217 70
mouse_at "$window" 300 440
shot colour
swatch() { region "$1" 187 231 60 20 "$1-swatch"; }
browse() { region "$1" 414 232 20 19 "$1-browse"; }
swatch colour
browse colour
click_at "$window" 260 214
mouse_at "$window" 300 440
shot picture
swatch picture
browse picture
differs colour-swatch picture-swatch 300 || fail "the foreground swatch stayed after choosing a picture"
differs colour-browse picture-browse 30 || fail "the foreground '..' button did not show"
click_at "$window" 57 70
click_at "$window" 217 70
mouse_at "$window" 300 440
shot picture-again
swatch picture-again
browse picture-again
same picture-swatch picture-again-swatch || fail "the swatch came back with the page"
same picture-browse picture-again-browse || fail "the '..' button did not come back with the page"

echo "== decode page: source options"
click_at "$window" 137 70
mouse_at "$window" 300 440
shot local
region local 414 177 20 19 local-browse
click_at "$window" 300 158
mouse_at "$window" 300 440
shot web
region web 414 177 20 19 web-browse
region web 340 146 24 24 web-radio
differs local-browse web-browse 30 || fail "the '..' button stayed for a web address"

click_at "$window" 57 70
mouse_at "$window" 300 250
shot back
# Below the tabs (the clicked tab now carries the focus mark), apart from the
# preview and its scan mark, which the colour/picture clicks had regenerated.
region back 0 110 445 365 back-page
region away 0 110 445 365 away-page
region back 445 420 235 55 back-bottom
region away 445 420 235 55 away-bottom
same away-page back-page || fail "the create page did not come back as it was"
same away-bottom back-bottom || fail "the bottom bar did not come back as it was"
echo "== toolbar icon: decode the preview"
mouse_at "$window" 491 200
click_at "$window" 491 314
mouse_at "$window" 300 440
shot icon
region icon 414 177 20 19 icon-browse
region icon 580 436 80 26 icon-button
region icon 340 146 24 24 icon-radio
differs web-radio icon-radio 20 || fail "the preview did not become the decode source"
same web-browse icon-browse || fail "the '..' button shows with the preview as the source"
differs away-button icon-button 20 || fail "the decode icon did not open the decode page"
echo "PASS"
