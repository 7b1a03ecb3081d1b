# The Debian package (`make package`): CPack's DEB generator on what
# `cmake --install` installs, with /usr as prefix. The shared-library
# dependencies come from the binaries through dpkg-shlibdeps; only what no
# binary links (the font with Arial's metrics, Qt's Italian translations,
# the Wayland platform) is named here.
set(BREVAN_MAINTAINER "Brevan <info@brevan.it>" CACHE STRING "Maintainer of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brevan)
set(CPACK_PACKAGE_VENDOR Brevan)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${BREVAN_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "stima del valore di mercato di un'unità immobiliare")
set(CPACK_PACKAGE_DESCRIPTION
  "Brevan accompagna il perito (ingegnere, architetto, geometra) nella stima
del più probabile valore di mercato di un'unità immobiliare residenziale,
per capitalizzazione dei redditi e per comparazione diretta: descrizione,
superfici, giudizi, redditi, immobili di confronto, riepilogo e report di
stampa in PDF/A-1b.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
