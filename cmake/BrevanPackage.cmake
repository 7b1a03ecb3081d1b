# SPDX-License-Identifier: GPL-2.0-or-later
# The Debian package (`make package`): CPack's DEB generator on what
# `cmake --install` installs, with /usr as prefix. The shared-library
# dependencies come from the binaries through dpkg-shlibdeps; only what no
# binary links is named here. The program cannot do without Qt's Italian
# translations (else the standard dialogs speak English) nor its fonts:
# Liberation Sans stands in for Arial in the windows, the reports and the
# PDF, and DejaVu Sans is what fontconfig gives for the menus' sans-serif
# (without it a root that has only the Liberation fonts draws them in
# Liberation Mono) and the metafile child's symbols. So they are Depends:
# an install without recommended packages has them too.
set(BREVAN_MAINTAINER "Progetto Brevan <brevan@brevan.example>" CACHE STRING "Maintainer of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brevan)
set(CPACK_PACKAGE_VENDOR "Progetto Brevan")
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
stampa in PDF/A-1b. Software libero sotto la GNU GPL, versione 2 o
successiva.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/COPYING)
# The .deb points to /usr/share/common-licenses/GPL-2 from its copyright
# file, as Debian asks, instead of carrying a second copy of the licence.
set(CPACK_COMPONENTS_ALL Unspecified)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, fonts-liberation2, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
