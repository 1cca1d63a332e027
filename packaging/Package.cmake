# The Debian package of the installed tree: `cpack -G DEB` in the build directory.
# Included from the top-level CMakeLists.txt after the install rules.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvanta)
# All four parts: CPack would otherwise take only major.minor.patch.
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Orvanta developers")
set(CPACK_PACKAGE_CONTACT "Orvanta developers <dev@orvanta.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "trading practice on a candlestick chart")
set(CPACK_PACKAGE_DESCRIPTION
    "Orvanta replays a K-line file (the layouts of the common exporters) bar by bar on
a candlestick chart, in its own or a higher timeframe, while the user trades sizes,
pending orders, stop loss and take profit against a practice account that starts at
1,000,000. Every trade is appended to a daily log file.
The package also holds orvanta-snapshot, which renders bars of a K-line file as a
PNG picture.")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# dpkg-shlibdeps turns the libraries the programs link (Qt 6 widgets, gui, core, print support,
# the C++ runtime) into versioned dependencies.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Needed at run time but never linked: the fonts the drawing code asks for by name and one that
# has the Chinese texts. The X11 platform plugin comes with libqt6gui6, which only recommends the
# package of the other platform plugins; depending on it gives the same toolkit either way.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation, fonts-wqy-microhei")

include(CPack)
