#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package, built from this build folder and installed on this machine:
# lintian finds nothing above info level in it; its desktop entry, metainfo and
# manual pages pass their validators; installing it makes the shared data folder
# with the first-start mark; two members of the dialmeter group meter a
# connection in one store; a newer build (the patch level raised by one,
# built from the source folder in <build>/package-next) installed over it keeps
# the store, the journals, the group and the folder's mode (mending an older
# mode) and leaves a running meter running; removal keeps the records, purge
# deletes them.
# Exits 77 (skipped) when not root, when a tool is missing, or when this machine
# already has a meter installed (its records are never touched).
#   tst_package.sh BUILD-FOLDER SOURCE-FOLDER
set -u
build=$1 source=$2
for tool in cmake cpack dpkg-deb dpkg-shlibdeps apt-get lintian appstreamcli desktop-file-validate man runuser useradd ip pgrep inotifywait; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
[ "$(id -u)" -eq 0 ] || { echo "SKIP: installing a package needs root"; exit 77; }
folder=/var/lib/dialmeter
if dpkg-query -W dialmeter >/dev/null 2>&1 || [ -e "$folder" ]; then
  echo "SKIP: a meter is already installed here ($folder); the test leaves it alone"
  exit 77
fi
had_group=$(getent group dialmeter >/dev/null && echo yes)
# Debian's own setting: no one opens with O_CREAT another's file in a sticky
# folder that a group may write (the members then share files they did not make).
protection=/proc/sys/fs/protected_regular
had_protection=$(cat "$protection" 2>/dev/null)

work=$(mktemp -d)
users=(dmtest-ann dmtest-bob)
# The connection both users meter: a pair of virtual Ethernet links, up and
# running as soon as both ends are up, named by the store's link patterns.
link=dmpkg$$
meters=()
cleanup() {
  for meter in "${meters[@]}"; do kill "$meter" 2>/dev/null; done
  ip link delete "$link" 2>/dev/null
  [ -z "$had_protection" ] || echo "$had_protection" >"$protection" 2>/dev/null
  apt-get purge -y -qq dialmeter >/dev/null 2>&1
  for user in "${users[@]}"; do userdel "$user" 2>/dev/null; done
  [ -n "$had_group" ] || groupdel dialmeter 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

failed=0 passed=0
check() { # description, command...
  local what=$1; shift
  if "$@"; then passed=$((passed + 1)); else echo "FAIL: $what"; failed=$((failed + 1)); fi
}

cpack --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; echo "FAIL: cpack"; exit 1; }
deb=$(ls "$work"/package/dialmeter_*.deb)
version=$(dpkg-deb -f "$deb" Version)

# Debian's checker: errors and warnings fail; info-level remarks are printed.
lintian --display-info --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1
status=$?
grep -v 'running with root privileges' "$work/lintian.log"
check "lintian reports no error or warning (status $status)" [ "$status" -eq 0 ]
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libsqlite3-0 qt6-qpa-plugins adduser; do
  check "the package depends on $package" grep -q "$package" <<<"$depends"
done

# The installed tree, looked at before installing.
root=$work/root
dpkg-deb -x "$deb" "$root"
for file in bin/dialmeter bin/dialmeter-store bin/dialmeter-report bin/dialmeter-chart share/dialmeter/lang/Français.lang share/dialmeter/lang/English.lang \
  share/icons/hicolor/scalable/apps/dialmeter.svg share/icons/hicolor/48x48/apps/dialmeter.png \
  share/man/man1/dialmeter.1.gz share/man/man1/dialmeter-store.1.gz share/man/man1/dialmeter-report.1.gz \
  share/man/man1/dialmeter-chart.1.gz share/bash-completion/completions/dialmeter-report \
  share/doc/dialmeter/copyright share/doc/dialmeter/changelog.gz share/lintian/overrides/dialmeter; do
  check "the package holds $file" [ -f "$root/usr/$file" ]
done
# The one version reaches the changelog, the metainfo and the manual pages.
check "the changelog starts with version $version" \
  [ "$(zcat "$root/usr/share/doc/dialmeter/changelog.gz" | head -1)" = "dialmeter ($version) unstable; urgency=medium" ]
desktop=$(ls "$root"/usr/share/applications/*.desktop)
metainfo=$(ls "$root"/usr/share/metainfo/*.metainfo.xml)
check "desktop-file-validate accepts the desktop entry" desktop-file-validate "$desktop"
check "appstreamcli accepts the metainfo" appstreamcli validate --no-net "$metainfo"
check "the metainfo launches the desktop entry" grep -q ">$(basename "$desktop")</launchable>" "$metainfo"
check "the metainfo names the licence" grep -q '<project_license>GPL-3.0-or-later</project_license>' "$metainfo"
check "the metainfo's newest release is $version" \
  [ "$(grep -o -m 1 '<release version="[^"]*"' "$metainfo")" = "<release version=\"$version\"" ]
for page in dialmeter dialmeter-store dialmeter-report dialmeter-chart; do
  check "the manual page of $page names version $version" \
    bash -c "zcat '$root/usr/share/man/man1/$page.1.gz' | head -1 | grep -q -F 'Dialmeter $version'"
done
check "the desktop entry's icon is installed" [ -f "$root/usr/share/icons/hicolor/scalable/apps/$(sed -n 's/^Icon=//p' "$desktop").svg" ]
for page in dialmeter dialmeter-store dialmeter-report dialmeter-chart; do
  warnings=$(LC_ALL=C.UTF-8 man --warnings -E UTF-8 -l -Tutf8 -Z "$root/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  check "the manual page of $page formats without warnings: $warnings" [ -z "$warnings" ]
done

# Installing it.
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$deb" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log"; echo "FAIL: the package does not install"; exit 1; }
check "the shared folder belongs to the dialmeter group, set-group-id and sticky" \
  [ "$(stat -c '%G %A' "$folder")" = "dialmeter drwxrwsr-t" ]
check "the store is the group's to write" [ "$(stat -c '%G %A' "$folder/registry.db")" = "dialmeter -rw-rw-r--" ]
check "the installed store tool reads the first-start mark" \
  [ "$(env -u DIALMETER_HOME /usr/bin/dialmeter-store get 'SOFTWARE\Dialmeter\Options\FirstBoot')" = 1 ]

# Two members of the group, one after the other, meter a connection in one store.
[ -z "$had_protection" ] || echo 2 >"$protection" 2>/dev/null ||
  echo "NOTE: fs.protected_regular cannot be raised here; files are shared without that protection"
for user in "${users[@]}"; do
  useradd --no-create-home --home-dir "$work/$user" --groups dialmeter "$user"
  mkdir -p "$work/$user" && chown "$user" "$work/$user"
done
as_member() { # user, command...: run as that member of the group, with a bare environment
  local user=$1; shift
  runuser -u "$user" -- env -i HOME="$work/$user" PATH=/usr/bin:/bin "$@"
}
store() { as_member "${users[0]}" /usr/bin/dialmeter-store "$@"; }
wait_for() { # description, command...: checks again at each change in the shared folder, for up to two minutes
  local what=$1 deadline=$((SECONDS + 120)); shift
  until "$@"; do
    [ $SECONDS -lt $deadline ] || { echo "FAIL: waited two minutes for $what"; failed=$((failed + 1)); return 1; }
    # A journal line or the lock's holder is written there; the one-second limit
    # covers a change made between the check and the start of the watch.
    inotifywait -qq -t 1 -e modify,create,close_write,moved_to "$folder" >/dev/null 2>&1
  done
  passed=$((passed + 1))
}
meter_of() { # user: the process number of that user's meter holding the shared folder
  local pid
  pid=$(head -n 1 "$folder/dialmeter.lock" 2>/dev/null) && [ -n "$pid" ] &&
    [ "$(stat -c %U "/proc/$pid" 2>/dev/null)" = "$1" ] && [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = dialmeter ] &&
    echo "$pid"
}
start_meter() { # user; sets session, the process whose child is the meter
  runuser -u "$1" -- env -i HOME="$work/$1" PATH=/usr/bin:/bin /usr/bin/dialmeter >>"$work/$1.log" 2>&1 &
  session=$!
  meters+=("$session")
  wait_for "$1's meter to hold the shared folder" meter_of "$1" >/dev/null
}
stop_meter() { # user: ends the meter as the desktop's log-out does and checks how it ended
  local pid
  pid=$(pgrep -P "$session" -x dialmeter)
  check "$1's meter still holds the shared folder" [ "$(meter_of "$1")" = "$pid" ]
  if [ -n "$pid" ]; then
    kill -TERM "$pid"
    if timeout 120 tail --pid="$pid" -f /dev/null; then
      passed=$((passed + 1))
    else
      echo "FAIL: waited two minutes for $1's meter to end"; failed=$((failed + 1)); kill -KILL "$pid"
    fi
  else
    kill "$session"
  fi
  wait "$session"
  check "$1's meter stopped cleanly on SIGTERM (status $?)" [ $? -eq 0 ]
  check "$1's meter reported no error" bash -c "! grep -q -i \"pas pu\\|erreur\" \"$work/$1.log\""
}
journal_lines() { # user, word: how many journal lines of that user hold that word
  cat "$folder"/*.txt 2>/dev/null | grep -c -E " $1 +$2([[:space:]]|\$)"
}
journal_says() { # user, word, count: that many such lines
  [ "$(journal_lines "$1" "$2")" -eq "$3" ]
}

ip link add "$link" type veth peer name "${link}p" && ip link set "${link}p" up ||
  { echo "FAIL: no virtual link can be made here"; exit 1; }
store set 'SOFTWARE\Dialmeter\Options\Interfaces' "$link"
for user in "${users[@]}"; do
  ip link set "$link" up
  start_meter "$user"
  wait_for "$user's connection to open in the journal" journal_says "$user" Connexion 1
  ip link set "$link" down
  wait_for "$user's connection to close in the journal" journal_says "$user" Déconnexion 1
  stop_meter "$user"
done
users_stored=$(store list 'SOFTWARE\Dialmeter\User\' | cut -f 2)
for user in "${users[@]}"; do
  check "$user has a user slot in the shared store" grep -q -x "$user" <<<"$users_stored"
  check "$user's month is in the shared store" store get "SOFTWARE\\Dialmeter\\Variables\\$user"
done
# The report tool reads the shared folder and leaves nothing there.
report() { as_member "${users[1]}" /usr/bin/dialmeter-report "$@"; }
check "the installed report tool lists both members' connections" \
  [ "$(report connections --format csv | tr -d '\r' | grep -c -E ",(${users[0]}|${users[1]})\$")" -eq 2 ]
check "the installed report tool gives the outlook to a status bar" \
  grep -q '"class":"nopackage"' <<<"$(report outlook --format waybar)"
check "every file in the shared folder is the group's to write" \
  [ -z "$(find "$folder" -mindepth 1 \( ! -group dialmeter -o ! -perm -g+rw \))" ]
check "the first start is still to come" [ "$(store get 'SOFTWARE\Dialmeter\Options\FirstBoot')" = 1 ]

# A newer build installed over this one, while a meter runs, on the folder mode
# of an older installation (not sticky).
records() { # what an upgrade keeps: every stored value, the journals, the folder's group and mode
  store list 'SOFTWARE\Dialmeter\'
  (cd "$folder" && md5sum -- *.txt)
  stat -c '%G %a' "$folder"
}
records >"$work/records.before"
next=$build/package-next
IFS=. read -r major minor patch <<<"$version"
next_version=$major.$minor.$((patch + 1))
{
  cmake -S "$source" -B "$next" -G "$(sed -n 's/^CMAKE_GENERATOR:INTERNAL=//p' "$build/CMakeCache.txt")" \
    -DCMAKE_BUILD_TYPE="$(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$build/CMakeCache.txt")" \
    -DDIALMETER_PATCH_RAISE=1 -DDIALMETER_TESTS=OFF -DDIALMETER_BENCH=OFF &&
    cmake --build "$next" -j "${CMAKE_BUILD_PARALLEL_LEVEL:-2}" &&
    cpack --config "$next/CPackConfig.cmake" -B "$work/package-next"
} >"$work/next.log" 2>&1 || { tail -n 30 "$work/next.log"; echo "FAIL: the newer build"; exit 1; }
next_deb=$(ls "$work"/package-next/dialmeter_*.deb)
check "the newer build is version $next_version" [ "$(dpkg-deb -f "$next_deb" Version)" = "$next_version" ]
start_meter "${users[1]}"
running=$(pgrep -P "$session" -x dialmeter)
chmod 2775 "$folder"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$next_deb" >"$work/upgrade.log" 2>&1
check "the newer build installs over the older one (status $?)" [ $? -eq 0 ] || cat "$work/upgrade.log"
check "version $next_version is installed" [ "$(dpkg-query -W -f '${Version}' dialmeter)" = "$next_version" ]
check "the upgrade mends the shared folder's mode" [ "$(stat -c '%G %a' "$folder")" = "dialmeter 3775" ]
check "the meter running through the upgrade still holds the folder" [ "$(meter_of "${users[1]}")" = "$running" ]
records >"$work/records.after"
check "the upgrade keeps the store, the journals, the group and the folder's mode: $(diff "$work/records.before" "$work/records.after")" \
  cmp -s "$work/records.before" "$work/records.after"
# The meter started before the upgrade goes on metering.
ip link set "$link" up
wait_for "a connection after the upgrade to open in the journal" journal_says "${users[1]}" Connexion 2
ip link set "$link" down
wait_for "a connection after the upgrade to close in the journal" journal_says "${users[1]}" Déconnexion 2
stop_meter "${users[1]}"

apt-get remove -y -qq dialmeter >/dev/null 2>&1
check "removal keeps the records" bash -c "[ -f $folder/registry.db ] && ls $folder/*.txt >/dev/null"
apt-get purge -y -qq dialmeter >/dev/null 2>&1
check "purge deletes them" [ ! -e "$folder" ]

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
