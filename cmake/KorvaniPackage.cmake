# The Debian package, built by CPack from the install rules: `cpack -G DEB` in a build tree, or
# scripts/package.sh. Depends comes from dpkg-shlibdeps; Debian's copyright and changelog files
# are added from the install component "debian", which a plain `cmake --install` leaves out.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvani)
set(CPACK_PACKAGE_VENDOR "${KORVANI_ORGANIZATION_NAME}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "Korvani works out a birth chart in the sidereal zodiac of Vedic astrology.
From the date and local time of birth, the birthplace's coordinates, the time
zone and the Daylight Saving setting it computes where the Sun, the Moon and
the planets stood, and shows for each of them its decanate, the ten-degree
third of its sign, with what that decanate means.
.
The package holds the desktop program korvani and the headless command
korvani-chart, which prints the same chart as a table, JSON or CSV.")
set(CPACK_PACKAGE_HOMEPAGE_URL "${KORVANI_PRODUCT_SITE}")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_PACKAGE_CONTACT "${KORVANI_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

# Everything of a plain install, plus the component with Debian's own files.
set(CPACK_INSTALL_CMAKE_PROJECTS
    "${PROJECT_BINARY_DIR};${PROJECT_NAME};ALL;/"
    "${PROJECT_BINARY_DIR};${PROJECT_NAME};debian;/")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KORVANI_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Named as well as found: korvani-chart writes its texts through {fmt}'s shared library. Qt SQL
# loads its SQLite driver as a plugin at run time, which dpkg-shlibdeps cannot see. The fonts are
# no library: the charts, and korvani-chart --svg in particular, draw in DejaVu Sans.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libfmt9, libqt6sql6-sqlite, fonts-dejavu-core")
# The precise engine's module opens the Swiss Ephemeris library and reads its ephemeris files
# only when the precise engine is chosen; everything else runs without them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libswe2.0, swe-basic-data")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
