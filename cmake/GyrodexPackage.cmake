# The Debian package: `cpack -G DEB` in the build folder makes gyrodex_VERSION_ARCH.deb, which
# installs into /usr. Its library dependencies are computed from the binaries (dpkg-shlibdeps);
# what no binary links to but the program loads at run time is added by hand.
set(CPACK_PACKAGE_NAME gyrodex)
set(CPACK_PACKAGE_VENDOR Vantoric)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Calendar wheel designer")
set(CPACK_PACKAGE_DESCRIPTION
    "Gyrodex designs a calendar of up to one year laid out as a wheel: 52 spokes (weeks) of 7 \
concentric rings (weekdays), with colours, highlighted days with short descriptions, and output \
to bitmap, print and vector drawings. The package holds the desktop program gyrodex and the \
command-line tool gyrodex-cli.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Gyrodex developers")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The X11 platform plugin and the fonts the windows and the wheel are laid out for.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation")
include(CPack)
