# Every place that pairs an operation with its exported symbol must agree
# with the entry table (src/host/entry_table.h), which the entry stubs and
# initializers are generated from: the DLL's maskfit.def, which maps the
# exported names to internal ones by hand, and the ABI table in docs/abi.md,
# which hosts read. (maskfit.h is held to the table by a static_assert.)
# ROOT is the source tree.
file(READ ${ROOT}/src/host/entry_table.h table)
string(REGEX MATCHALL "X\\([A-Za-z]+, [0-9a-f]+," rows "${table}")
list(LENGTH rows count)
if(count EQUAL 0)
  message(FATAL_ERROR "no rows found in entry_table.h")
endif()

file(STRINGS ${ROOT}/src/host/maskfit.def def REGEX "=")
# The ABI table's rows; their signatures hold semicolons, which a CMake
# list would split at.
file(READ ${ROOT}/docs/abi.md abi)
string(REPLACE ";" "," abi "${abi}")
string(REGEX MATCHALL "\n\\| `[0-9a-f]+` \\|[^\n]*" doc "${abi}")
list(TRANSFORM doc STRIP)
set(problems "")
foreach(row IN LISTS rows)
  string(REGEX REPLACE "X\\(([A-Za-z]+), ([0-9a-f]+)," "\\1;\\2" pair "${row}")
  list(GET pair 0 name)
  list(GET pair 1 symbol)
  foreach(line IN ITEMS
      "\"burst.initialize.externals.${symbol}\" = maskfit_externals_${name}"
      "\"burst.initialize.statics.${symbol}\" = maskfit_statics_${name}"
      "\"${symbol}\" = maskfit_entry_${name}")
    list(FIND def "    ${line}" at)
    if(at EQUAL -1)
      string(APPEND problems "maskfit.def lacks: ${line}\n")
    endif()
  endforeach()
  list(FILTER doc EXCLUDE REGEX "^\\| `${symbol}` \\| ${name} \\|")
endforeach()

math(EXPR expected_def "3 * ${count} + 2")
list(LENGTH def def_count)
if(NOT def_count EQUAL expected_def)
  string(APPEND problems "maskfit.def maps ${def_count} names, the table makes ${expected_def}\n")
endif()
# What is left of the ABI table names a symbol the table does not have, or
# pairs it with another operation.
foreach(line IN LISTS doc)
  string(APPEND problems "docs/abi.md row disagrees with the entry table: ${line}\n")
endforeach()
string(REGEX MATCHALL "\n\\| `[0-9a-f]+` \\|" documented "${abi}")
list(LENGTH documented doc_count)
if(NOT doc_count EQUAL count)
  string(APPEND problems "docs/abi.md lists ${doc_count} entry points, the table ${count}\n")
endif()
if(problems)
  message(FATAL_ERROR "${problems}")
endif()
message(STATUS "${count} entry points agree in entry_table.h, maskfit.def and docs/abi.md")
