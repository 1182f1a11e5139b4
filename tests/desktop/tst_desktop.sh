#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The built meter on a real X server with a window manager and a tray host: the
# console is cut to its skin's shape, the tray icon appears, a left click on it
# brings the pop-up (one window from its coming to its going), a right click
# opens the menu; a console stored hidden comes up hidden (slid away, or
# transparent) and "Montrer" brings it back; and "Quitter" or a stop signal
# ends the meter with its counters saved, even after a viewer was opened and
# closed; the period outlook and the chart of the year open from the tray menu,
# and a warning goes to the
# desktop's notification service, or to a balloon on the tray icon when there
# is none. Every step waits for the window, property or value it needs, with a
# generous deadline, so that a busy machine only makes it slower. Screenshots go
# to the folder named by the third argument. Exits 77 (skipped) when the X tools
# are missing.
set -u
meter=$1 store=$2 shots=${3:-$PWD/desktop-shots}
# The tests' stand-in for the notification service, built beside the meter.
notifier=${4:-$(dirname "$meter")/dialmeter-test-notifications}
for tool in Xvfb openbox trayer xdotool xwininfo xprop import dbus-daemon; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
mkdir -p "$shots"
work=$(mktemp -d)
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
# The meters reach no session bus but the one a step starts for them.
unset DBUS_SESSION_BUS_ADDRESS
pids=()
cleanup() { for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; wait "${pids[i]}" 2>/dev/null; done; rm -rf "$work"; }
trap cleanup EXIT

# wait_for SECONDS COMMAND...: true as soon as the command is, false at the deadline.
wait_for() {
  local deadline=$((SECONDS + $1)); shift
  until "$@"; do
    [ "$SECONDS" -ge "$deadline" ] && return 1
    sleep 0.1
  done
}
patience=30

exec 3<> >(:)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
read -r -t 10 number <&3 || { echo "FAIL: Xvfb did not start"; exit 1; }
export DISPLAY=:$number
# The tray host first: a window manager that is still starting may leave its
# panel unmapped.
trayer --edge top --align right --widthtype pixel --width 60 --heighttype pixel --height 26 >"$work/trayer.log" 2>&1 &
pids+=($!)
tray_host() { [ -n "$(xdotool search --onlyvisible --name '^panel$' 2>/dev/null)" ]; }
wait_for "$patience" tray_host || { echo "FAIL: the tray host did not start"; cat "$work/trayer.log"; exit 1; }
openbox >"$work/openbox.log" 2>&1 & pids+=($!)
window_manager() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wait_for "$patience" window_manager || { echo "FAIL: openbox did not start"; exit 1; }

failed=0 passed=0
check() { # description, command...
  local what=$1; shift
  if "$@"; then passed=$((passed + 1)); else echo "FAIL: $what"; failed=$((failed + 1)); fi
}

geometry() { xwininfo -id "$1" 2>/dev/null | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} /Width/{w=$NF} /Height/{h=$NF} END{print x, y, w, h}'; }
# The visible window of that process with that size, if any.
window_of() { # pid width height
  local w ww wh
  for w in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
    read -r _ _ ww wh <<<"$(geometry "$w")"
    [ "$ww" = "$2" ] && [ "$wh" = "$3" ] && { echo "$w"; return; }
  done
}
has_window() { [ -n "$(window_of "$@")" ]; }
# Every window of that process with that size, shown or not.
windows_sized() { # pid width height
  local w ww wh
  for w in $(xdotool search --pid "$1" 2>/dev/null); do
    read -r _ _ ww wh <<<"$(geometry "$w")"
    [ "$ww" = "$2" ] && [ "$wh" = "$3" ] && echo "$w"
  done
}
no_window() { ! has_window "$@"; }
# The visible window of that process whose title matches, if any.
titled() { xdotool search --all --onlyvisible --pid "$1" --name "$2" 2>/dev/null | head -n 1; }
has_titled() { [ -n "$(titled "$@")" ]; }
windows_of() { xdotool search --onlyvisible --pid "$1" 2>/dev/null | wc -l; }
more_windows() { [ "$(windows_of "$1")" -gt "$2" ]; }
# The tray icon: the meter's small visible window.
icon_of() {
  local w iw ih
  for w in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
    read -r _ _ iw ih <<<"$(geometry "$w")"
    [ "$iw" -lt 64 ] && [ "$ih" -lt 64 ] && { echo "$w"; return; }
  done
}
has_icon() { [ -n "$(icon_of "$1")" ]; }
place_of() { local x y; read -r x y _ <<<"$(geometry "$1")"; echo "$x $y"; }
at_place() { [ "$(place_of "$1")" = "$2" ]; }
# The window's opacity from 0 to 4294967295; a window without the property is opaque.
opacity() { xprop -id "$1" _NET_WM_WINDOW_OPACITY 2>/dev/null | awk '/= /{print $NF; found=1} END{if (!found) print 4294967295}'; }
opaque() { [ "$(opacity "$1")" = 4294967295 ]; }
running() { kill -0 "$1" 2>/dev/null; }
ended() { ! running "$1"; }
stored() { "$store" get "$1"; }
is_stored() { [ "$(stored "$1")" = "$2" ]; }

# start_meter NAME: a meter on the data folder NAME (already prepared), in
# meter_pid, once its console and its icon are on screen.
start_meter() {
  "$meter" >"$work/$1.log" 2>&1 &
  meter_pid=$!
  pids+=($meter_pid)
  wait_for "$patience" has_window "$meter_pid" 250 101 && wait_for "$patience" has_icon "$meter_pid"
}
home() { export DIALMETER_HOME=$work/$1; mkdir -p "$DIALMETER_HOME"; }
# menu PID KEYS...: opens the tray menu, waits for it and types the keys.
menu() {
  local pid=$1 before; shift
  before=$(windows_of "$pid")
  xdotool mousemove --window "$(icon_of "$pid")" 8 8 click 3
  wait_for "$patience" more_windows "$pid" "$before" || return 1
  xdotool key "$@"
}
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }
not_viewable() { ! viewable "$1"; }
# close_by_window_manager WINDOW: closes it as the window manager does (its
# close key), and waits until it is off the screen.
close_by_window_manager() {
  [ -n "$1" ] || return 1
  xdotool windowactivate --sync "$1"
  xdotool key alt+F4
  wait_for "$patience" not_viewable "$1"
}
# stops_cleanly PID: the meter ended by itself, with status 0.
stops_cleanly() {
  wait_for "$patience" ended "$1" || return 1
  wait "$1" 2>/dev/null
}
total='SOFTWARE\Dialmeter\Variables\Total'

# A plain start: the console, its shape, the icon, the pop-up, the menu.
home plain
start_meter plain
check "the console and the tray icon come" has_window "$meter_pid" 250 101
import -window root "$shots/console-and-icon.png"
console=$(window_of "$meter_pid" 250 101)
read -r cx cy cw ch <<<"$(geometry "$console")"
check "console is 250 x 101" [ "$cw" = 250 ] && [ "$ch" = 101 ]
# Out of taskbars and task switchers, under the desktop entry's window class.
check "the console stays out of taskbars and pagers" \
  bash -c "xprop -id $console _NET_WM_STATE | grep -q '_NET_WM_STATE_SKIP_TASKBAR, _NET_WM_STATE_SKIP_PAGER'"
check "the console's window class is the desktop entry's" \
  bash -c "xprop -id $console WM_CLASS | grep -q '= \"org.example.Dialmeter\"'"
# The shape: the skin's rounded corner is cut away, its face is not.
corner=$(import -window root -crop 1x1+$((cx))+$((cy)) -depth 8 txt:- | tail -n 1)
face=$(import -window root -crop 1x1+$((cx + 125))+$((cy + 50)) -depth 8 txt:- | tail -n 1)
check "the console's corner shows the desktop, not the skin" grep -q -v -i 'FF0000' <<<"$corner"
check "the corner is cut away" grep -q -i -E '#(7F7F7F|808080|000000)' <<<"$corner"
check "the face is the console's" grep -q -v -i -E '#(7F7F7F|808080|000000)' <<<"$face"

icon=$(icon_of "$meter_pid")
check "the tray icon is there" [ -n "$icon" ]
if [ -n "$icon" ]; then
  xdotool mousemove --window "$icon" 8 8 click 1
  check "a left click brings the pop-up" wait_for "$patience" has_window "$meter_pid" 235 49
  import -window root "$shots/popup.png"
  # Every window the pop-up has, from its coming until it has gone and the
  # console is back.
  popup_under_way() { has_window "$meter_pid" 235 49 || ! opaque "$console"; }
  popup_windows=$(
    deadline=$((SECONDS + 60))
    while [ "$SECONDS" -lt "$deadline" ] && popup_under_way; do
      windows_sized "$meter_pid" 235 49
      sleep 0.05
    done | sort -u | wc -l)
  check "the pop-up is one window from its coming to its going" [ "$popup_windows" = 1 ]
  check "the pop-up goes" no_window "$meter_pid" 235 49

  # The Connection Viewer, closed by the window manager, hides; "Quitter" still
  # ends the meter.
  menu "$meter_pid" Down Down Return
  check "Connect Viewer opens" wait_for "$patience" has_titled "$meter_pid" 'Compte rendu'
  check "the window manager closes the viewer" close_by_window_manager "$(titled "$meter_pid" 'Compte rendu')"
  "$store" delete "$total" >/dev/null
  menu "$meter_pid" Up Return   # "Quitter" is the menu's last entry.
  import -window root "$shots/menu.png"
fi
check "Quitter ends the meter" stops_cleanly "$meter_pid"
check "the counters were saved" is_stored "$total" 00:00:00

# A console stored hidden comes up hidden, in the style chosen, and "Montrer"
# (the menu's entry above "Quitter") brings it back. Then, with the journal
# viewer open and the console closed by the window manager, a stop signal still
# ends the meter.
home transparent
"$store" set 'SOFTWARE\Dialmeter\Options\Caché' True
"$store" set 'SOFTWARE\Dialmeter\Options\OldHideWay' False
"$store" set 'SOFTWARE\Dialmeter\Options\X' 9000
"$store" set 'SOFTWARE\Dialmeter\Options\Y' 400
check "a console hidden by fading is on screen" start_meter transparent
console=$(window_of "$meter_pid" 250 101)
if [ -n "$console" ]; then
  check "fully transparent" [ "$(opacity "$console")" = 0 ]
  check "where it was designed to stand" at_place "$console" "333 26"
  menu "$meter_pid" Up Up Return
  check "Montrer fades it in" wait_for "$patience" opaque "$console"
  check "and it stays there" at_place "$console" "333 26"
  check "the store says it is shown" wait_for "$patience" is_stored 'SOFTWARE\Dialmeter\Options\Caché' False
  import -window root "$shots/shown-after-fade.png"
  menu "$meter_pid" Down Down Down Down Return
  check "Journal opens" wait_for "$patience" has_titled "$meter_pid" 'Journal des connexions'
  check "the window manager closes the console" close_by_window_manager "$console"
fi
"$store" delete "$total" >/dev/null
kill -TERM "$meter_pid"
check "SIGTERM ends the meter, the journal open" stops_cleanly "$meter_pid"
check "and saves the counters" is_stored "$total" 00:00:00

home slid
"$store" set 'SOFTWARE\Dialmeter\Options\Caché' True
"$store" set 'SOFTWARE\Dialmeter\Options\X' 9000
"$store" set 'SOFTWARE\Dialmeter\Options\Y' 400
check "a console hidden by sliding is on screen" start_meter slid
console=$(window_of "$meter_pid" 250 101)
if [ -n "$console" ]; then
  check "slid away by 225 pixels" at_place "$console" "825 26"
  menu "$meter_pid" Up Up Return
  check "Montrer slides it back" wait_for "$patience" at_place "$console" "600 26"
fi
kill -TERM "$meter_pid"
check "SIGTERM ends the meter" stops_cleanly "$meter_pid"

# A first start: the Options dialog comes first, its "OK" brings the console.
home first
"$store" set 'SOFTWARE\Dialmeter\Options\FirstBoot' 1
"$meter" >"$work/first.log" 2>&1 &
first_pid=$!
pids+=($first_pid)
check "a first start shows the Options dialog" wait_for "$patience" has_titled "$first_pid" 'Options de Dialmeter'
dialog=$(titled "$first_pid" 'Options de Dialmeter')
check "and not the console" [ -z "$(window_of "$first_pid" 250 101)" ]
if [ -n "$dialog" ]; then
  import -window root "$shots/first-start.png"
  xdotool mousemove --window "$dialog" 332 328 click 1   # "OK"
fi
check "its OK brings the console" wait_for "$patience" has_window "$first_pid" 250 101
import -window root "$shots/after-first-ok.png"
options=$("$store" list 'SOFTWARE\Dialmeter\Options\')
for name in Langage LaunchAtWinStartup Pourcent Alarm Raz Forfait Forf Pop indivisible Top OldHideWay X Y Ancrage; do
  check "OK wrote $name" grep -q -i -F "Options\\$name"$'\t' <<<"$options"
done
check "the first start is over" is_stored 'SOFTWARE\Dialmeter\Options\FirstBoot' 0
kill "$first_pid"

# The period outlook from the tray menu (its fifth entry), and a warning at 80 %
# of the package through the notification service: the tests' stand-in, on a
# session bus of its own.
home outlook
"$store" set 'SOFTWARE\Dialmeter\Options\Forfait' 20:00:00
"$store" set 'SOFTWARE\Dialmeter\Variables\Total' 17:00:00
{ read -r bus_address; read -r bus_pid; } < <(dbus-daemon --session --fork --print-address=1 --print-pid=1)
pids+=("$bus_pid")
export DBUS_SESSION_BUS_ADDRESS=$bus_address
"$notifier" >"$work/notifications.log" 2>&1 &
pids+=($!)
service_ready() { grep -q '^ready' "$work/notifications.log"; }
check "the notification service is on the bus" wait_for "$patience" service_ready
warned() { [ "$(grep -c $'^notify\tDialmeter\t0\tdialmeter\t80 % du forfait utilisé\t' "$work/notifications.log")" = 1 ]; }
check "a meter with a package" start_meter outlook
check "warns once through the notification service" wait_for "$patience" warned
menu "$meter_pid" Down Down Down Down Down
import -window root "$shots/menu-outlook.png"
xdotool key Return
check "the period outlook opens from the menu" wait_for "$patience" has_titled "$meter_pid" 'Bilan de la période'
outlook=$(titled "$meter_pid" 'Bilan de la période')
if [ -n "$outlook" ]; then
  import -frame -window "$outlook" "$shots/outlook.png"
  check "the window manager closes the outlook" close_by_window_manager "$outlook"
fi
kill -TERM "$meter_pid"
check "SIGTERM ends the meter" stops_cleanly "$meter_pid"
check "and it warned only once" warned
unset DBUS_SESSION_BUS_ADDRESS

# The chart of the year from the tray menu (its third entry): a program of its
# own, started beside the meter, on a year of three users' months.
home chart
year=$(date +%Y)
"$store" set 'SOFTWARE\Dialmeter\Options\Forfait' 20:00:00
for slot in 0:Total 1:alice 2:bob 3:carol; do "$store" set "SOFTWARE\Dialmeter\User\\${slot%%:*}" "${slot#*:}"; done
for month in $(seq 1 $(($(date +%-m) - 1))); do
  "$store" set "SOFTWARE\Dialmeter\Compte Rendu\\$year\\$month\\alice" "$(printf '%02d:15:00' $((3 + month % 5)))"
  "$store" set "SOFTWARE\Dialmeter\Compte Rendu\\$year\\$month\\bob" "$(printf '%02d:40:00' $((2 + month % 4)))"
  [ $((month % 3)) = 0 ] && "$store" set "SOFTWARE\Dialmeter\Compte Rendu\\$year\\$month\\carol" 09:30:00
done
"$store" set 'SOFTWARE\Dialmeter\Variables\alice' 04:20:00
"$store" set 'SOFTWARE\Dialmeter\Variables\bob' 02:10:00
"$store" set 'SOFTWARE\Dialmeter\Variables\Total' 06:30:00
check "a meter with a year of figures" start_meter chart
menu "$meter_pid" Down Down Down Return
chart_title="Graphique de l'année"
chart_shown() { [ -n "$(xdotool search --all --onlyvisible --name "$chart_title" 2>/dev/null)" ]; }
check "the chart of the year opens from the menu" wait_for "$patience" chart_shown
chart=$(xdotool search --all --onlyvisible --name "$chart_title" 2>/dev/null | head -n 1)
if [ -n "$chart" ]; then
  # Painted: an empty window has a colour or two, a drawn chart hundreds.
  painted() { [ "$(import -window "$chart" -format '%k' info: 2>/dev/null)" -gt 100 ] 2>/dev/null; }
  check "the chart is drawn" wait_for "$patience" painted
  import -frame -window "$chart" "$shots/chart.png"
  check "the window manager closes the chart" close_by_window_manager "$chart"
fi
kill -TERM "$meter_pid"
check "SIGTERM ends the meter" stops_cleanly "$meter_pid"

# Without a notification service, the warning is a balloon on the tray icon:
# one more window of the meter's.
home balloon
"$store" set 'SOFTWARE\Dialmeter\Options\Forfait' 20:00:00
"$store" set 'SOFTWARE\Dialmeter\Variables\Total' 17:00:00
check "a meter with a package, no notification service" start_meter balloon
check "warns with a balloon on the tray icon" wait_for "$patience" more_windows "$meter_pid" 2
import -window root "$shots/balloon.png"
kill -TERM "$meter_pid"
check "SIGTERM ends the meter" stops_cleanly "$meter_pid"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
