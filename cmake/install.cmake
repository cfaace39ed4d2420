# What `cmake --install` puts where: the library (the .so with its version
# links, or the DLL and its import library), the public headers, the CMake
# package (find_package(maskfit CONFIG)), the pkg-config file, the demo and
# the documents. Archives (cmake/packaging.cmake) are made from the same rules.
include(CMakePackageConfigHelpers)

set(MASKFIT_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/maskfit)
# A Windows prefix is a folder of its own: the documents sit at its top, as
# users of a zip expect. Elsewhere they go where the system keeps documents.
if(WIN32)
  set(MASKFIT_DOC_DIR .)
else()
  set(MASKFIT_DOC_DIR ${CMAKE_INSTALL_DOCDIR})
endif()

install(TARGETS maskfit maskfit_headers EXPORT maskfitTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${PROJECT_SOURCE_DIR}/include/maskfit/maskfit.h
              ${PROJECT_BINARY_DIR}/include/maskfit/maskfit_version.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/maskfit)

install(EXPORT maskfitTargets NAMESPACE maskfit:: DESTINATION ${MASKFIT_CMAKE_DIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/maskfitConfig.cmake.in
  ${PROJECT_BINARY_DIR}/maskfitConfig.cmake INSTALL_DESTINATION ${MASKFIT_CMAKE_DIR})
# The entry points and records change only with the major version.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/maskfitConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/maskfitConfig.cmake ${PROJECT_BINARY_DIR}/maskfitConfigVersion.cmake
        DESTINATION ${MASKFIT_CMAKE_DIR})

# pkg-config: the prefix is found from the .pc file's own place, so that an
# unpacked archive works wherever it lies.
file(RELATIVE_PATH MASKFIT_PC_TO_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
string(REGEX REPLACE "/$" "" MASKFIT_PC_TO_PREFIX "${MASKFIT_PC_TO_PREFIX}")
set(MASKFIT_PC_LIBRARY_FILE "$<TARGET_FILE_NAME:maskfit>")
if(WIN32)
  set(MASKFIT_PC_LIBRARY_DIR "\${prefix}/${CMAKE_INSTALL_BINDIR}")
else()
  set(MASKFIT_PC_LIBRARY_DIR "\${libdir}")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/maskfit.pc.in ${PROJECT_BINARY_DIR}/maskfit.pc.configured @ONLY)
file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/maskfit.pc INPUT ${PROJECT_BINARY_DIR}/maskfit.pc.configured)
install(FILES ${PROJECT_BINARY_DIR}/maskfit.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

install(FILES ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${PROJECT_SOURCE_DIR}/docs/abi.md
        DESTINATION ${MASKFIT_DOC_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/docs/integrators.md DESTINATION ${MASKFIT_DOC_DIR} RENAME README.md)
