# Runs maskfit-demo once, under EMULATOR when one is given, and checks its
# exit code; optionally its standard output against the file EXPECT_STDOUT
# (the library's path left out: it differs between trees) or the pattern
# EXPECT_STDOUT_MATCHES, and its standard error against EXPECT_STDERR.
# ARGS separates the demo's arguments with '|'; a differing output is kept
# in ACTUAL_DIR.
string(REPLACE "|" ";" args "${ARGS}")
execute_process(COMMAND ${EMULATOR} ${DEMO} ${args}
                RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
# Windows writes text lines with CR LF.
string(REPLACE "\r" "" out "${out}")
string(REPLACE "\r" "" err "${err}")
set(report "exit code ${code}\n--- stdout\n${out}--- stderr\n${err}")
if(NOT code STREQUAL "${EXPECT_EXIT}")
  message(FATAL_ERROR "expected exit code ${EXPECT_EXIT}, got ${report}")
endif()
if(EXPECT_STDOUT)
  file(READ "${EXPECT_STDOUT}" expected)
  string(REGEX REPLACE "library: [^\n]*" "library: <path>" out "${out}")
  if(NOT out STREQUAL expected)
    get_filename_component(name "${EXPECT_STDOUT}" NAME_WE)
    set(actual "${ACTUAL_DIR}/${name}.actual")
    file(WRITE "${actual}" "${out}")
    message(FATAL_ERROR "stdout differs from ${EXPECT_STDOUT} (this run's is ${actual}); ${report}")
  endif()
endif()
if(EXPECT_STDOUT_MATCHES AND NOT out MATCHES "${EXPECT_STDOUT_MATCHES}")
  message(FATAL_ERROR "stdout does not match '${EXPECT_STDOUT_MATCHES}'; ${report}")
endif()
if(EXPECT_STDERR AND NOT err MATCHES "${EXPECT_STDERR}")
  message(FATAL_ERROR "stderr does not match '${EXPECT_STDERR}'; ${report}")
endif()
