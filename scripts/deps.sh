# Sourced by the other scripts: installs the Debian packages named in its
# arguments that are not installed yet (as root, or through sudo).
install_missing() {
  local missing=()
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# The chart program draws with Qt Charts (which needs Qt OpenGL to build) and
# saves SVG with Qt SVG.
BUILD_PACKAGES=(cmake ninja-build g++ pkgconf qt6-base-dev qt6-charts-dev libqt6opengl6-dev qt6-svg-dev libxcb1-dev libsqlite3-dev libbenchmark-dev fonts-liberation fonts-dejavu-core)
# faketime moves the meter's clock in the end-to-end tests; the desktop test
# runs the meter on Xvfb with a window manager and a tray host; the Wayland test
# runs it under weston (with XWayland, and Qt's Wayland platform) on a private
# session bus (dbus-run-session).
# The fuzz targets build with clang and its libFuzzer.
FUZZ_PACKAGES=(clang-14 libclang-rt-14-dev)
# Building the Debian package needs dpkg-shlibdeps and file; its test checks it
# with lintian, validates what it installs and meters a virtual link (ip; pgrep
# finds the meters it starts; inotifywait wakes it when the shared folder changes).
PACKAGE_PACKAGES=(dpkg-dev file)
TEST_PACKAGES=(faketime xvfb openbox trayer xdotool x11-utils imagemagick weston xwayland qt6-wayland dbus-daemon
  "${PACKAGE_PACKAGES[@]}" lintian iproute2 procps inotify-tools appstream desktop-file-utils man-db)
