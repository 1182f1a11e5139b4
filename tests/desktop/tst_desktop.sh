#!/usr/bin/env bash
# The built meter on a real X server with a window manager and a tray host: the
# console is cut to its skin's shape, the tray icon appears, a left click on it
# brings the pop-up, a right click opens the menu, and "Quitter" ends the meter
# with its counters saved. Screenshots go to the folder named by the third
# argument. Exits 77 (skipped) when the X tools are missing.
set -u
meter=$1 store=$2 shots=${3:-$PWD/desktop-shots}
for tool in Xvfb openbox trayer xdotool xwininfo import; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
mkdir -p "$shots"
work=$(mktemp -d)
export DIALMETER_HOME=$work/home
mkdir -p "$DIALMETER_HOME"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
pids=()
cleanup() { for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; wait "${pids[i]}" 2>/dev/null; done; rm -rf "$work"; }
trap cleanup EXIT

exec 3<> >(:)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
read -r -t 10 number <&3 || { echo "FAIL: Xvfb did not start"; exit 1; }
export DISPLAY=:$number
openbox >"$work/openbox.log" 2>&1 & pids+=($!)
trayer --edge top --align right --widthtype pixel --width 60 --heighttype pixel --height 26 >"$work/trayer.log" 2>&1 &
pids+=($!)
sleep 1

failed=0 passed=0
check() { # description, command...
  local what=$1; shift
  if "$@"; then passed=$((passed + 1)); else echo "FAIL: $what"; failed=$((failed + 1)); fi
}

"$meter" >"$work/meter.log" 2>&1 &
meter_pid=$!
pids+=($meter_pid)
for _ in $(seq 50); do
  [ "$(xdotool search --onlyvisible --pid "$meter_pid" 2>/dev/null | wc -l)" -ge 2 ] && break
  sleep 0.2
done
sleep 1
import -window root "$shots/console-and-icon.png"

geometry() { xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} /Width/{w=$NF} /Height/{h=$NF} END{print x, y, w, h}'; }
# The visible window of that process with that size, if any.
window_of() { # pid width height
  local w ww wh
  for w in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
    read -r _ _ ww wh <<<"$(geometry "$w")"
    [ "$ww" = "$2" ] && [ "$wh" = "$3" ] && { echo "$w"; return; }
  done
}
console=$(window_of "$meter_pid" 250 101)
read -r cx cy cw ch <<<"$(geometry "$console")"
check "console is 250 x 101" [ "$cw" = 250 ] && [ "$ch" = 101 ]
# The shape: the skin's rounded corner is cut away, its face is not.
corner=$(import -window root -crop 1x1+$((cx))+$((cy)) -depth 8 txt:- | tail -n 1)
face=$(import -window root -crop 1x1+$((cx + 125))+$((cy + 50)) -depth 8 txt:- | tail -n 1)
check "the console's corner shows the desktop, not the skin" grep -q -v -i 'FF0000' <<<"$corner"
check "the corner is cut away" grep -q -i -E '#(7F7F7F|808080|000000)' <<<"$corner"
check "the face is the console's" grep -q -v -i -E '#(7F7F7F|808080|000000)' <<<"$face"

icon=
for w in $(xdotool search --onlyvisible --pid "$meter_pid"); do
  read -r ix iy iw ih <<<"$(geometry "$w")"
  [ "$iw" -lt 64 ] && [ "$ih" -lt 64 ] && icon=$w
done
check "the tray icon is there" [ -n "$icon" ]
if [ -n "$icon" ]; then
  xdotool mousemove --window "$icon" 8 8 click 1
  sleep 1.2
  import -window root "$shots/popup.png"
  popup=$(window_of "$meter_pid" 235 49)
  check "a left click brings the pop-up" [ -n "$popup" ]
  sleep 4
  xdotool mousemove --window "$icon" 8 8 click 3
  sleep 1
  import -window root "$shots/menu.png"
  # "Quitter" is the menu's last entry.
  xdotool key Up Return
  for _ in $(seq 50); do kill -0 "$meter_pid" 2>/dev/null || break; sleep 0.2; done
fi
check "Quitter ends the meter" bash -c "! kill -0 $meter_pid 2>/dev/null"
wait "$meter_pid" 2>/dev/null
check "the meter ended cleanly" [ $? -eq 0 ]
check "the counters were saved" [ "$("$store" get 'SOFTWARE\Dialmeter\Variables\Total')" = 00:00:00 ]

# A first start: the Options dialog comes first, its "OK" brings the console.
export DIALMETER_HOME=$work/first
mkdir -p "$DIALMETER_HOME"
"$store" set 'SOFTWARE\Dialmeter\Options\FirstBoot' 1
"$meter" >"$work/first.log" 2>&1 &
first_pid=$!
pids+=($first_pid)
dialog=
for _ in $(seq 50); do
  dialog=$(xdotool search --onlyvisible --pid "$first_pid" --name 'Options de Dialmeter' 2>/dev/null | head -n 1)
  [ -n "$dialog" ] && break
  sleep 0.2
done
check "a first start shows the Options dialog" [ -n "$dialog" ]
check "and not the console" [ -z "$(window_of "$first_pid" 250 101)" ]
if [ -n "$dialog" ]; then
  sleep 0.5
  import -window root "$shots/first-start.png"
  xdotool mousemove --window "$dialog" 332 328   # "OK"
  sleep 0.3
  xdotool click 1
  sleep 1.5
  import -window root "$shots/after-first-ok.png"
fi
check "its OK brings the console" [ -n "$(window_of "$first_pid" 250 101)" ]
options=$("$store" list 'SOFTWARE\Dialmeter\Options\')
for name in Langage LaunchAtWinStartup Pourcent Alarm Raz Forfait Forf Pop indivisible Top OldHideWay X Y Ancrage; do
  check "OK wrote $name" grep -q -i -F "Options\\$name"$'\t' <<<"$options"
done
check "the first start is over" [ "$("$store" get 'SOFTWARE\Dialmeter\Options\FirstBoot')" = 0 ]
kill "$first_pid"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
