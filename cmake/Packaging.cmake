# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package (cpack -G DEB in a build folder): the installed tree under
# /usr, library dependencies computed by dpkg-shlibdeps, and the scripts that
# make and keep the machine-wide data folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dialmeter)
set(CPACK_PACKAGE_VENDOR Dialmeter)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "meter of dial-up connection time against a monthly package")
set(CPACK_PACKAGE_DESCRIPTION "Dialmeter counts the seconds a dial-up link is up, into the day, the month
and each user's month, compares the month with a monthly package of hours,
files each month in a report and keeps a yearly journal of connections.
Every member of the dialmeter group shares one meter.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${DIALMETER_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://${DIALMETER_WEBSITE}")
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt finds its display plugins at run time: no library link names them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "adduser, qt6-qpa-plugins")
# A Wayland session without XWayland needs Qt's Wayland platform.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  ${PROJECT_SOURCE_DIR}/resources/debian/postinst
  ${PROJECT_SOURCE_DIR}/resources/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
include(CPack)
