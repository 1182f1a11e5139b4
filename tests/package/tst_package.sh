#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package, built from this build folder and installed on this machine:
# its desktop entry, metainfo and manual pages pass their validators; installing
# it makes the shared data folder with the first-start mark; two members of the
# dialmeter group share one store; removal keeps the records, purge deletes them.
# Exits 77 (skipped) when not root, when a tool is missing, or when this machine
# already has a meter installed (its records are never touched).
set -u
build=$1
for tool in cpack dpkg-deb dpkg-shlibdeps apt-get appstreamcli desktop-file-validate man runuser useradd; do
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
cleanup() {
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
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libsqlite3-0 qt6-qpa-plugins adduser; do
  check "the package depends on $package" grep -q "$package" <<<"$depends"
done

# The installed tree, looked at before installing.
root=$work/root
dpkg-deb -x "$deb" "$root"
for file in bin/dialmeter bin/dialmeter-store share/dialmeter/lang/Français.lang share/dialmeter/lang/English.lang \
  share/icons/hicolor/scalable/apps/dialmeter.svg share/icons/hicolor/48x48/apps/dialmeter.png \
  share/man/man1/dialmeter.1.gz share/man/man1/dialmeter-store.1.gz; do
  check "the package holds $file" [ -f "$root/usr/$file" ]
done
desktop=$(ls "$root"/usr/share/applications/*.desktop)
metainfo=$(ls "$root"/usr/share/metainfo/*.metainfo.xml)
check "desktop-file-validate accepts the desktop entry" desktop-file-validate "$desktop"
check "appstreamcli accepts the metainfo" appstreamcli validate --no-net "$metainfo"
check "the metainfo launches the desktop entry" grep -q ">$(basename "$desktop")</launchable>" "$metainfo"
check "the desktop entry's icon is installed" [ -f "$root/usr/share/icons/hicolor/scalable/apps/$(sed -n 's/^Icon=//p' "$desktop").svg" ]
for page in dialmeter dialmeter-store; do
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

# Two members of the group, one after the other, share one store.
[ -z "$had_protection" ] || echo 2 >"$protection" 2>/dev/null ||
  echo "NOTE: fs.protected_regular cannot be raised here; files are shared without that protection"
for user in "${users[@]}"; do
  useradd --no-create-home --home-dir "$work/$user" --groups dialmeter "$user"
  mkdir -p "$work/$user" && chown "$user" "$work/$user"
  runuser -u "$user" -- env -i HOME="$work/$user" PATH=/usr/bin:/bin timeout -s TERM 3 /usr/bin/dialmeter \
    >"$work/$user.log" 2>&1
  check "$user's meter ran until stopped (status $?)" [ $? -eq 124 ]
  check "$user's meter wrote to the shared store" bash -c "! grep -q -i \"pas pu\\|erreur\" \"$work/$user.log\""
done
users_stored=$(/usr/bin/dialmeter-store list 'SOFTWARE\Dialmeter\User\' | cut -f 2)
for user in "${users[@]}"; do
  check "$user has a user slot in the shared store" grep -q -x "$user" <<<"$users_stored"
  check "$user's month is in the shared store" /usr/bin/dialmeter-store get "SOFTWARE\\Dialmeter\\Variables\\$user"
done
check "every file in the shared folder is the group's to write" \
  [ -z "$(find "$folder" -mindepth 1 \( ! -group dialmeter -o ! -perm -g+rw \))" ]
check "the first start is still to come" [ "$(/usr/bin/dialmeter-store get 'SOFTWARE\Dialmeter\Options\FirstBoot')" = 1 ]

# An upgrade mends the folder of an older installation, which was not sticky.
chmod 2775 "$folder"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --reinstall "$deb" >"$work/reinstall.log" 2>&1
check "an upgrade makes the shared folder sticky again" [ "$(stat -c '%a' "$folder")" = 3775 ]

apt-get remove -y -qq dialmeter >/dev/null 2>&1
check "removal keeps the records" [ -f "$folder/registry.db" ]
apt-get purge -y -qq dialmeter >/dev/null 2>&1
check "purge deletes them" [ ! -e "$folder" ]

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
