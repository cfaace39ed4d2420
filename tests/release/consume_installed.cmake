# Builds examples/minimal_host against an installed maskfit, as a host
# vendor would, and runs it. MODE is `cmake` (find_package(maskfit CONFIG
# REQUIRED) through CMAKE_PREFIX_PATH) or `pkg-config` (the compiler called
# with what maskfit.pc says). The host must load the installed library, not
# the one in the build tree.
#   PREFIX      the installed tree        WORK      a scratch folder
#   EXAMPLE     examples/minimal_host     C_COMPILER, DL_LIBS, TOOLCHAIN, EMULATOR, GENERATOR
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
# Warnings in the public header fail the consumer's build.
set(strict_flags -Wall -Wextra -Werror)

include(${CMAKE_CURRENT_LIST_DIR}/run_checked.cmake)

if(MODE STREQUAL "cmake")
  set(toolchain "")
  if(TOOLCHAIN)
    set(toolchain -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN})
  endif()
  list(JOIN strict_flags " " flags)
  # A cross build searches for packages only below its target's root, so
  # there the package's folder is named directly.
  set(where -DCMAKE_PREFIX_PATH=${PREFIX})
  if(TOOLCHAIN)
    set(where -Dmaskfit_DIR=${PREFIX}/lib/cmake/maskfit)
  endif()
  run(${CMAKE_COMMAND} -S ${EXAMPLE} -B ${WORK} -G ${GENERATOR} ${toolchain} ${where} "-DCMAKE_C_FLAGS=${flags}")
  run(${CMAKE_COMMAND} --build ${WORK})
  file(GLOB host ${WORK}/minimal_host ${WORK}/minimal_host.exe)
else()
  set(ENV{PKG_CONFIG_PATH} ${PREFIX}/lib/pkgconfig)
  set(ENV{PKG_CONFIG_LIBDIR} ${PREFIX}/lib/pkgconfig)  # this package only, not the system's
  run(pkg-config --cflags maskfit)
  separate_arguments(cflags UNIX_COMMAND "${out}")
  # Hosts load the library by path and link nothing, but Libs must still
  # name a folder that holds what -lmaskfit links.
  run(pkg-config --libs maskfit)
  if(NOT out MATCHES "-L([^ ]+) -lmaskfit")
    message(FATAL_ERROR "maskfit.pc has no usable Libs: ${out}")
  endif()
  file(GLOB linkable ${CMAKE_MATCH_1}/libmaskfit.so ${CMAKE_MATCH_1}/libmaskfit.dll.a)
  if(NOT linkable)
    message(FATAL_ERROR "maskfit.pc's Libs name ${CMAKE_MATCH_1}, which holds no libmaskfit to link")
  endif()
  run(pkg-config --variable=library maskfit)
  string(STRIP "${out}" library)
  if(NOT EXISTS "${library}")
    message(FATAL_ERROR "maskfit.pc names the library ${library}, which does not exist")
  endif()
  set(host ${WORK}/minimal_host.exe)
  # As the example's CMakeLists.txt does: libdl for dlopen, or on Windows
  # the MinGW thread library linked in.
  set(system_libs -static)
  if(DL_LIBS)
    set(system_libs -l${DL_LIBS})
  endif()
  run(${C_COMPILER} -std=c11 ${strict_flags} ${EXAMPLE}/main.c ${cflags} ${system_libs}
      "-DMASKFIT_LIBRARY_PATH=\"${library}\"" -o ${host})
endif()

run(${EMULATOR} ${host})
string(REPLACE "\r" "" out "${out}")
file(REAL_PATH ${PREFIX} prefix)
string(REGEX REPLACE "([][+.*()^$?|\\\\])" "\\\\\\1" prefix_pattern "${prefix}")
set(expected "^maskfit [0-9.]+, loaded from [^\n]*${prefix_pattern}/[^\n]*maskfit[^\n]*\n"
             "CanPlace at \\(0, 0\\): 0\nCanPlace at \\(2, 2\\): 1\n"
             "board after BlitShape at \\(2, 2\\), dirty \\(2, 2\\)-\\(3, 3\\):\n"
             "\\.\\.\\.\\.\\.\\.\n\\.X\\.\\.\\.\\.\n\\.\\.##\\.\\.\n\\.\\.##\\.\\.\n"
             "\\.\\.\\.\\.\\.\\.\n\\.\\.\\.\\.\\.\\.\n"
             "frame chain head restored: yes\n")
string(JOIN "" expected ${expected})
if(NOT out MATCHES "${expected}")
  message(FATAL_ERROR "the example host said:\n${out}")
endif()
message(STATUS "the example host, built with ${MODE}, ran against ${prefix}")
