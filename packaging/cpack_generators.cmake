# Read by cpack once per generator: the .deb holds the program and the demo server as two
# packages under /usr, the archive the portable folder alone.
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_COMPONENTS_ALL program feed)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
elseif(CPACK_GENERATOR STREQUAL "TGZ")
  set(CPACK_COMPONENTS_ALL portable)
  # One folder in the archive, named like it.
  set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
  set(CPACK_PACKAGE_FILE_NAME quovella-${CPACK_PACKAGE_VERSION}-portable)
endif()
