# Makes the release archive of a build tree with CPack, unpacks it as a user
# would, and checks it: exactly the files listed in CONTENTS (<version> and
# <config> stand for the version and the build type), SHA256SUMS right for every other file, the library's
# export table, the version inside the library file, on Windows the DLLs the
# binaries import, and the packaged demo reporting the packaged library's
# version.
#   BUILD_TREE  the built tree (CPackConfig.cmake)   WORK  a scratch folder
#   NAME        the archive's name without extension  CONTENTS, VERSION, CONFIG (build type)
#   LIBRARY     the library's path inside the archive
#   LISTER, EXPECTED_EXPORTS (as for check_exports.cmake)
#   VERSION_TOOL  x86_64-w64-mingw32-windres or readelf   EMULATOR  to run the demo
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/unpacked)

include(${CMAKE_CURRENT_LIST_DIR}/run_checked.cmake)

run(cpack --config ${BUILD_TREE}/CPackConfig.cmake -B ${WORK}/out)
file(GLOB archive ${WORK}/out/${NAME}.zip ${WORK}/out/${NAME}.tar.gz)
if(NOT archive)
  message(FATAL_ERROR "CPack made no ${NAME} archive in ${WORK}/out")
endif()
run(${CMAKE_COMMAND} -E chdir ${WORK}/unpacked ${CMAKE_COMMAND} -E tar xf ${archive})
set(top ${WORK}/unpacked/${NAME})

# Nothing missing, nothing extra.
file(GLOB_RECURSE found LIST_DIRECTORIES false RELATIVE ${top} ${top}/*)
list(SORT found)
file(READ ${CONTENTS} listed)
string(REPLACE "<version>" "${VERSION}" listed "${listed}")
string(TOLOWER "${CONFIG}" config)
string(REPLACE "<config>" "${config}" listed "${listed}")
string(REGEX REPLACE "\n$" "" listed "${listed}")
string(REPLACE "\n" ";" listed "${listed}")
list(SORT listed)
if(NOT found STREQUAL listed)
  string(REPLACE ";" "\n  " found "${found}")
  string(REPLACE ";" "\n  " listed "${listed}")
  message(FATAL_ERROR "${NAME} holds other files than ${CONTENTS} lists:\n  ${found}\nnot:\n  ${listed}")
endif()

# Every file but SHA256SUMS itself is listed with its hash.
file(STRINGS ${top}/SHA256SUMS sums)
list(REMOVE_ITEM found SHA256SUMS)
list(LENGTH found file_count)
list(LENGTH sums sum_count)
if(NOT file_count EQUAL sum_count)
  message(FATAL_ERROR "SHA256SUMS lists ${sum_count} files, the archive holds ${file_count} besides it")
endif()
foreach(line IN LISTS sums)
  string(REGEX MATCH "^([0-9a-f]+)  (.+)$" matched "${line}")
  file(SHA256 ${top}/${CMAKE_MATCH_2} actual)
  if(NOT matched OR NOT actual STREQUAL CMAKE_MATCH_1)
    message(FATAL_ERROR "SHA256SUMS is wrong about: ${line}")
  endif()
endforeach()

# The shipped library's export table is the host's list of names.
set(LIBRARY ${top}/${LIBRARY})
set(EXPECTED ${EXPECTED_EXPORTS})
include(${CMAKE_CURRENT_LIST_DIR}/../check_exports.cmake)

# The version inside the file: the DLL's VERSIONINFO resource or the ELF note.
string(REPLACE "." ", " version_words "${VERSION}")
if(VERSION_TOOL MATCHES "windres$")
  run(${VERSION_TOOL} -i ${LIBRARY} -O rc)
  set(expected "FILEVERSION ${version_words}, 0" "VALUE \"ProductVersion\", \"${VERSION}\"")
else()
  run(${VERSION_TOOL} -n ${LIBRARY})
  string(HEX "${VERSION}" hex)
  string(REGEX REPLACE "(..)" "\\1 " hex "${hex}")
  set(expected "maskfit +0x[0-9a-f]+\tNT_VERSION" "description data: ${hex}00")
endif()
foreach(pattern IN LISTS expected)
  if(NOT out MATCHES "${pattern}")
    message(FATAL_ERROR "the version of ${LIBRARY} is not ${VERSION}:\n${out}")
  endif()
endforeach()

file(GLOB demo ${top}/bin/maskfit-demo ${top}/bin/maskfit-demo.exe)
# On Windows the DLL and the demo need nothing but the system's DLLs.
if(LISTER MATCHES "objdump$")
  foreach(binary IN ITEMS ${LIBRARY} ${demo})
    run(${LISTER} -p ${binary})
    string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${out}")
    list(REMOVE_ITEM imports "DLL Name: KERNEL32.dll" "DLL Name: msvcrt.dll")
    if(imports)
      message(FATAL_ERROR "${binary} needs more than the system's DLLs: ${imports}")
    endif()
  endforeach()
endif()

# The packaged demo finds the packaged library by itself and reads its version.
run(${EMULATOR} ${demo} --version)
string(REPLACE "\r" "" out "${out}")
string(REPLACE "." "\\." version_pattern "${VERSION}")
if(NOT out MATCHES "library: [^\n]*${NAME}[^\n]*\nlibrary version: ${version_pattern}\n")
  message(FATAL_ERROR "the packaged demo does not report the packaged library's version:\n${out}")
endif()
message(STATUS "${NAME}: ${file_count} files, checksums, exports and version ${VERSION} all right")
