# The Debian package: `cpack -G DEB` in the build folder packs what `cmake --install` lays out
# under /usr into tortelet-studio_<version>_<arch>.deb. scripts/package.sh builds it.
set(CPACK_PACKAGE_NAME tortelet-studio)
set(CPACK_PACKAGE_VENDOR Vantrel)
set(CPACK_PACKAGE_CONTACT "Vantrel <tortelet@vantrel.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "pie-chart workbooks from a list of labelled amounts")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${PROJECT_SOURCE_DIR}/packaging/description.txt)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The windows and the drawn sheets are laid out for Arial; Liberation Sans has its metrics.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# What Debian expects of every package: the copyright and the changelog, compressed.
set(package_docs ${CMAKE_CURRENT_BINARY_DIR}/package-docs)
string(TIMESTAMP TORTELET_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in ${package_docs}/changelog @ONLY)
execute_process(COMMAND gzip -9 -n -f ${package_docs}/changelog COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${package_docs}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tortelet-studio)

include(CPack)
