# Release archives with CPack, from the install rules: on Windows
# maskfit-<version>-windows-x64.zip, elsewhere maskfit-<version>-linux-<cpu>.tar.gz.
# Each holds one top folder with the installed tree and a SHA256SUMS file
# that lists every other file. `scripts/release` builds both.
set(CPACK_PACKAGE_NAME maskfit)
set(CPACK_PACKAGE_VENDOR "The maskfit authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Byte-mask operations for 2D shapes, loaded by a game engine's job runtime")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME maskfit-${PROJECT_VERSION}-windows-x64)
else()
  set(CPACK_GENERATOR TGZ)
  string(TOLOWER "${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR}" MASKFIT_PACKAGE_SYSTEM)
  set(CPACK_PACKAGE_FILE_NAME maskfit-${PROJECT_VERSION}-${MASKFIT_PACKAGE_SYSTEM})
endif()
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
# The archives ship what users run: no debug information.
set(CPACK_STRIP_FILES ON)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/write_checksums.cmake)
include(CPack)
