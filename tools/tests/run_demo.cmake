# Runs maskfit-demo once, under EMULATOR when one is given, and checks its
# exit code; optionally its standard output against the file EXPECT_STDOUT
# (the library's path left out: it differs between trees) or the pattern
# EXPECT_STDOUT_MATCHES, its standard error against EXPECT_STDERR, a file it
# writes (OUTPUT_FILE) against EXPECT_OUTPUT, and files it must not leave
# behind (NO_FILES, each also without a ".partial" temporary).
# ARGS separates the demo's arguments with '|'; a differing output is kept
# in ACTUAL_DIR.
string(REPLACE "|" ";" args "${ARGS}")
string(REPLACE "|" ";" no_files "${NO_FILES}")
foreach(path IN LISTS OUTPUT_FILE no_files)
  file(REMOVE "${path}" "${path}.partial")
endforeach()
execute_process(COMMAND ${EMULATOR} ${DEMO} ${args}
                RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
# Windows writes text lines with CR LF.
string(REPLACE "\r" "" out "${out}")
string(REPLACE "\r" "" err "${err}")
set(report "exit code ${code}\n--- stdout\n${out}--- stderr\n${err}")
if(NOT code STREQUAL "${EXPECT_EXIT}")
  message(FATAL_ERROR "expected exit code ${EXPECT_EXIT}, got ${report}")
endif()

function(expect_same_text actual_text expected_file)
  file(READ "${expected_file}" expected)
  if(NOT actual_text STREQUAL expected)
    get_filename_component(name "${expected_file}" NAME_WE)
    set(actual "${ACTUAL_DIR}/${name}.actual")
    file(WRITE "${actual}" "${actual_text}")
    message(FATAL_ERROR "output differs from ${expected_file} (this run's is ${actual}); ${report}")
  endif()
endfunction()

if(EXPECT_STDOUT)
  string(REGEX REPLACE "library: [^\n]*" "library: <path>" out "${out}")
  expect_same_text("${out}" "${EXPECT_STDOUT}")
endif()
if(EXPECT_STDOUT_MATCHES AND NOT out MATCHES "${EXPECT_STDOUT_MATCHES}")
  message(FATAL_ERROR "stdout does not match '${EXPECT_STDOUT_MATCHES}'; ${report}")
endif()
if(EXPECT_STDERR AND NOT err MATCHES "${EXPECT_STDERR}")
  message(FATAL_ERROR "stderr does not match '${EXPECT_STDERR}'; ${report}")
endif()
if(EXPECT_OUTPUT)
  if(NOT EXISTS "${OUTPUT_FILE}")
    message(FATAL_ERROR "${OUTPUT_FILE} was not written; ${report}")
  endif()
  file(READ "${OUTPUT_FILE}" written)
  expect_same_text("${written}" "${EXPECT_OUTPUT}")
endif()
foreach(path IN LISTS no_files)
  if(EXISTS "${path}" OR EXISTS "${path}.partial")
    message(FATAL_ERROR "${path} was left behind; ${report}")
  endif()
endforeach()
