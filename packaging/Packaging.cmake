# Installation layout and the Debian package (make package). The version comes from project().
include(GNUInstallDirs)

string(TIMESTAMP TERMWISE_RELEASE_DATE "%Y-%m-%d" UTC) # honours SOURCE_DATE_EPOCH
set(TERMWISE_APP_ID com.quarro.termwise)
set(pkg ${CMAKE_CURRENT_SOURCE_DIR}/packaging)
set(gen ${CMAKE_CURRENT_BINARY_DIR}/packaging)

configure_file(${pkg}/${TERMWISE_APP_ID}.metainfo.xml.in ${gen}/${TERMWISE_APP_ID}.metainfo.xml @ONLY)
configure_file(${pkg}/termwise.1.in ${gen}/termwise.1 @ONLY)
# Debian wants man pages compressed with gzip -9n.
add_custom_command(OUTPUT ${gen}/termwise.1.gz
  COMMAND gzip -9nc ${gen}/termwise.1 > ${gen}/termwise.1.gz
  DEPENDS ${gen}/termwise.1 VERBATIM)
add_custom_target(termwise_manpage ALL DEPENDS ${gen}/termwise.1.gz)

install(TARGETS termwise RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS termwise_web LIBRARY DESTINATION ${TERMWISE_MODULE_DIR})
install(FILES ${pkg}/${TERMWISE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${gen}/${TERMWISE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${gen}/termwise.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
foreach(size 48 128 256)
  install(FILES resources/icons/termwise-${size}.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME termwise.png)
endforeach()
install(FILES resources/icons/termwise.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# Themes are looked up beside the program first, then here.
install(DIRECTORY resources/themes/ DESTINATION ${CMAKE_INSTALL_DATADIR}/termwise/Theme FILES_MATCHING PATTERN "*.ini")
install(FILES resources/samples/model.xlsx resources/samples/termwise.json resources/samples/new-words.csv
  DESTINATION ${CMAKE_INSTALL_DATADIR}/termwise/samples)
# A tiny common standard in the published three-file layout, for the guide's import and check examples.
install(FILES resources/samples/ddl/shop-tables.sql resources/samples/ddl/shop-comments.sql
  DESTINATION ${CMAKE_INSTALL_DATADIR}/termwise/samples/ddl)
install(FILES resources/samples/public-standard/words.csv resources/samples/public-standard/domains.csv
  resources/samples/public-standard/terms.csv DESTINATION ${CMAKE_INSTALL_DATADIR}/termwise/samples/public-standard)
# The public common standard as published, with its note (publisher, edition, terms of use).
install(DIRECTORY resources/standard/ DESTINATION ${CMAKE_INSTALL_DATADIR}/termwise/standard)
install(FILES docs/guide.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/termwise)
install(DIRECTORY docs/screenshots DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/termwise FILES_MATCHING PATTERN "*.png")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME termwise)
set(CPACK_PACKAGE_VENDOR Quarro)
set(CPACK_PACKAGE_CONTACT "Termwise maintainers <termwise@quarro.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "data standardisation of data-model attribute names")
set(CPACK_PACKAGE_DESCRIPTION "Termwise splits the Korean logical attribute names and physical column names of a data
model into standard words, proposes domains and terms from a local analysis dictionary and a metadata
repository (SQLite, PostgreSQL, Oracle), and registers accepted standards there. Desktop program and
command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded as plug-ins, so dpkg-shlibdeps cannot see them: the SQL drivers of the repository and
# the dictionary, and the platform plug-ins of the window.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libqt6sql6-psql, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-nanum, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libqt6sql6-odbc")
include(CPack)
