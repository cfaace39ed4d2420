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

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT code EQUAL 0)
    list(JOIN ARGN " " command)
    message(FATAL_ERROR "failed (${code}): ${command}\n${out}${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

if(MODE STREQUAL "cmake")
  set(toolchain "")
  if(TOOLCHAIN)
    set(toolchain -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN})
  endif()
  list(JOIN strict_flags " " flags)
  run(${CMAKE_COMMAND} -S ${EXAMPLE} -B ${WORK} -G ${GENERATOR} ${toolchain}
      -DCMAKE_PREFIX_PATH=${PREFIX} "-DCMAKE_C_FLAGS=${flags}")
  run(${CMAKE_COMMAND} --build ${WORK})
  file(GLOB host ${WORK}/minimal_host ${WORK}/minimal_host.exe)
else()
  set(ENV{PKG_CONFIG_PATH} ${PREFIX}/lib/pkgconfig)
  set(ENV{PKG_CONFIG_LIBDIR} ${PREFIX}/lib/pkgconfig)  # this package only, not the system's
  run(pkg-config --cflags --libs maskfit)
  separate_arguments(flags UNIX_COMMAND "${out}")
  run(pkg-config --variable=library maskfit)
  string(STRIP "${out}" library)
  if(NOT EXISTS "${library}")
    message(FATAL_ERROR "maskfit.pc names the library ${library}, which does not exist")
  endif()
  set(host ${WORK}/minimal_host.exe)
  set(dl_libs "")
  if(DL_LIBS)
    set(dl_libs -l${DL_LIBS})
  endif()
  run(${C_COMPILER} -std=c11 ${strict_flags} ${EXAMPLE}/main.c ${flags} ${dl_libs}
      "-DMASKFIT_LIBRARY_PATH=\"${library}\"" -o ${host})
endif()

# The linked -lmaskfit must be found at run time too.
run(${CMAKE_COMMAND} -E env LD_LIBRARY_PATH=${PREFIX}/lib ${EMULATOR} ${host})
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
