# Install rules for what is not a program, and the Debian package CPack makes
# of the installed tree (/usr/bin, the menu entry, the icon, the documents).
include(GNUInstallDirs)

set(FM_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})
install(FILES ${FM_PACKAGING_DIR}/feedmill.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${FM_PACKAGING_DIR}/feedmill.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${FM_PACKAGING_DIR}/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME feedmill)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "饲料生产销售综合管理系统 - feed mill management")
# CPack puts the summary before it as the synopsis apt shows in lists.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "The integrated management application of a feed mill: sales on turnover slips,\n"
    "returns and payments, customer accounts, products and prices, feed formulas,\n"
    "production and its cost, the raw-material warehouse and supplier accounts, with\n"
    "printed slips, statements, price lists and cost reports. Screens and documents\n"
    "are in Chinese. Includes fmadmin, which sets up a mill's catalogs on PostgreSQL,\n"
    "SQL Server or the embedded SQLite engine.")
string(REPLACE ";" "" CPACK_DEBIAN_PACKAGE_DESCRIPTION "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}")
set(FEEDMILL_MAINTAINER "feedmill developers <feedmill@localhost>" CACHE STRING "Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${FEEDMILL_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The libraries the programs link come from dpkg-shlibdeps; what Qt loads at
# run time is named here: the SQL drivers, the desktop's platform plugin, the
# fonts that have the Chinese glyphs, and Qt's own Chinese dialog texts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6sql6-sqlite, libqt6sql6-psql, libqt6sql6-odbc, qt6-qpa-plugins, fonts-noto-cjk, qt6-translations-l10n")
# SQL Server is reached through FreeTDS; a PostgreSQL mill needs a server somewhere.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "tdsodbc")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "postgresql")
include(CPack)

add_test(NAME package_deb COMMAND ${CMAKE_SOURCE_DIR}/tools/check-package ${CMAKE_BINARY_DIR})
set_tests_properties(package_deb PROPERTIES LABELS package)
