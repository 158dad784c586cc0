#!/bin/bash
# End to end on Linux: the real arrowbench program on the X server, driven
# from outside with a user's tools: xdotool clicks and types, fields are
# read back through the clipboard (Ctrl+A, Ctrl+C, xclip), and Escape must
# end the program with exit code 0. Its window names itself to the desktop
# as arrowbench, with the packaged icon's pictures as its own.
# Usage: test_linux_app.sh PATH/arrowbench [screenshot.png [packaged-icon-32.png]]
set -u
app=$1
shot=${2:-}
icon=${3:-}
passed=0
failed=0

check() {  # what got expected
  if [ "$2" == "$3" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL $1: got '$2', expected '$3'"
  fi
}

# The controls' names (ID_V1, ...) and their rectangles in dialog units
# (RECT), written from the template by the build's own generator.
src=$(cd "$(dirname "$0")/../.." && pwd)
names=$(mktemp)
trap 'rm -f "$names"' EXIT
cmake -DRC="$src/res/main_dlg.rc" -DSH_OUT="$names" -P "$src/cmake/rc_to_table.cmake" || exit 1
. "$names"

# A view row's control: row $ID_ROW_COLOR 2 is the third row's colour field.
row() { echo $(($1 + $2 * ROW_STRIDE)); }

# The centre of a control in window pixels (7 x 13 dialog base units).
centre() {
  read -r x y w h <<<"${RECT[$1]}"
  echo "$(((x * 7 + 2) / 4 + (w * 7 + 2) / 8)) $(((y * 13 + 4) / 8 + (h * 13 + 4) / 16))"
}

click() {
  read -r cx cy <<<"$(centre "$1")"
  xdotool mousemove --sync --window "$win" "$cx" "$cy" click 1
}

set_field() {
  click "$1"
  xdotool key --clearmodifiers ctrl+a BackSpace
  [ -n "$2" ] && xdotool type --delay 2 -- "$2"
}

get_field() {
  printf '%s' "@@unread@@" | xclip -selection clipboard
  click "$1"
  xdotool key --clearmodifiers ctrl+a ctrl+c
  local text
  for _ in $(seq 100); do
    text=$(xclip -o -selection clipboard 2>/dev/null)
    [ "$text" != "@@unread@@" ] && break
    sleep 0.02
  done
  [ "$text" == "@@unread@@" ] && text=""  # an empty field copies nothing
  printf '%s' "$text"
}

"$app" &
pid=$!
win=""
for _ in $(seq 100); do
  win=$(xdotool search --name '^Arrowbench$' 2>/dev/null | head -n1)
  [ -n "$win" ] && break
  sleep 0.1
done
check "window found" "$([ -n "$win" ] && echo yes)" "yes"
[ -n "$win" ] || { echo "$passed passed, $failed failed"; kill $pid; exit 1; }
sleep 0.3

# What docks and task bars match to arrowbench.desktop, and show for it.
check "WM_CLASS" "$(xprop -id "$win" WM_CLASS)" 'WM_CLASS(STRING) = "arrowbench", "arrowbench"'
check "icon sizes" "$(xprop -len 1000000 -id "$win" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | tr '\n' ' ')" \
  "Icon (16 x 16) Icon (32 x 32) Icon (48 x 48) "
if [ -n "$icon" ]; then
  # The 32 px image, pixel for pixel, as ARGB numbers: in the window's
  # property and in the packaged PNG.
  window_icon=$(xprop -notype -len 1000000 -f _NET_WM_ICON 32c '=$0+' -id "$win" _NET_WM_ICON |
    sed 's/^[^=]*=//' | tr -d ' ' | tr ',' '\n' |
    awk 'NR == at + 1 { w = $1 } NR == at + 2 { h = $1; if (w == 32) from = NR + 1; at += 2 + w * h }
         from && NR >= from && NR < from + 1024 { print }')
  packaged_icon=$(convert "$icon" -depth 8 rgba:- | od -An -v -tu1 -w4 |
    awk '{ printf "%.0f\n", $4 * 16777216 + $1 * 65536 + $2 * 256 + $3 }')
  check "icon pixels" "$([ -n "$packaged_icon" ] && [ "$window_icon" == "$packaged_icon" ] && echo same)" "same"
fi

# button v1 v2 s1 -> v1 v2 v3 s2 afterwards
cases=(
  "$ID_ADD|1 2 3|4 5 6|0|1 2 3|4 5 6|5 7 9|0"
  "$ID_SUB| 1   2  3 |4 5 6|0|1 2 3|4 5 6|-3 -3 -3|0"
  "$ID_CROSS_PRODUCT|1 0 0|0 1 0|0|1 0 0|0 1 0|0 0 1|0"
  "$ID_DOT_PRODUCT|1 2 3|4 5 6|0|1 2 3|4 5 6|0 0 1|32"
  "$ID_MUL_SCALAR|1 2 3|x|  2 apples|1 2 3|x|2 4 6|32"
  "$ID_DIV_SCALAR|1 -2 0|x|0|1 -2 0|x|Infinity -Infinity NaN|32"
  "$ID_NORMALIZE|3 0 4|x|0|3 0 4|x|0.6 0 0.8|32"
  "$ID_LENGTH|3 4|x|0|3 4 0|x|0.6 0 0.8|5"
  "$ID_ADD|nothing|1,2,3|0|0 0 0|1 0 0|1 0 0|5"
  "$ID_LENGTH|1e20 0 0|x|0|1e+20 0 0|x|1 0 0|1e+20"
)
for row in "${cases[@]}"; do
  IFS='|' read -r button v1 v2 s1 v1_after v2_after v3 s2 <<<"$row"
  set_field $ID_V1 "$v1"
  set_field $ID_V2 "$v2"
  set_field $ID_S1 "$s1"
  click "$button"
  check "$button V1" "$(get_field $ID_V1)" "$v1_after"
  check "$button V2" "$(get_field $ID_V2)" "$v2_after"
  check "$button S1" "$(get_field $ID_S1)" "$s1"
  check "$button V3" "$(get_field $ID_V3)" "$v3"
  check "$button S2" "$(get_field $ID_S2)" "$s2"
done

# Typing into the read-only result field changes nothing.
click $ID_V3
xdotool type --delay 2 "99"
check "V3 read-only" "$(get_field $ID_V3)" "1 0 0"

# Enter in a field computes nothing.
set_field $ID_V1 "7 7 7"
set_field $ID_V2 "1 1 1"
click $ID_V1
xdotool key Return
check "Enter in V1" "$(get_field $ID_V3)" "1 0 0"

# A field text over 255 chars reaches the command as its first 255.
set_field $ID_V1 "$(printf '%251s' '')1 2 3"
click $ID_LENGTH
check "long V1" "$(get_field $ID_V1)" "1 2 0"
check "long S2" "$(get_field $ID_S2)" "2.23607"

# Redraw writes the view rows back in canonical text.
set_field $ID_ROW_VECTOR "1,2,3"
set_field $ID_ROW_OFFSET "  2  3 "
set_field $ID_ROW_COLOR "300 20"
click $ID_REDRAW
check "Redraw vector" "$(get_field $ID_ROW_VECTOR)" "1 0 0"
check "Redraw offset" "$(get_field $ID_ROW_OFFSET)" "2 3 0"
check "Redraw colour" "$(get_field $ID_ROW_COLOR)" "255 20 0"
check "Redraw leaves V1" "$(get_field $ID_V1)" "1 2 0"

if [ -n "$shot" ]; then
  set_field $ID_V1 "1 2 3"
  set_field $ID_V2 "0.5 -1 2"
  click $ID_CROSS_PRODUCT
  # Three vectors: one from the origin, one placed by its offset, one
  # ending at its offset (Inverse), partly below the ground.
  set_field $ID_ROW_VECTOR "2.5 0.5 1.5"; set_field $ID_ROW_OFFSET "0 0 0"; set_field $ID_ROW_COLOR "220 0 0"
  set_field "$(row $ID_ROW_VECTOR 1)" "0 0 2.5"; set_field "$(row $ID_ROW_OFFSET 1)" "1 -1 0"; set_field "$(row $ID_ROW_COLOR 1)" "200 0 200"
  set_field "$(row $ID_ROW_VECTOR 2)" "1 2 1"; set_field "$(row $ID_ROW_OFFSET 2)" "-1 1 0"; set_field "$(row $ID_ROW_COLOR 2)" "0 90 255"
  click "$(row $ID_ROW_INVERSE 2)"
  click $ID_REDRAW
  xdotool mousemove --window "$win" 600 10
  sleep 0.5
  import -window "$win" "$shot"
fi

# Escape ends the program at once, with exit code 0.
click $ID_V1
xdotool key Escape
for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.05; done
if kill -0 $pid 2>/dev/null; then
  check "exited after Escape" "running" "exited"
  kill $pid
else
  wait $pid
  check "exit code" "$?" "0"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
