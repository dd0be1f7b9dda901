# Compares the library's dynamic symbol table (demangled) with the expected
# list: any missing or unexpected name fails.
execute_process(
  COMMAND nm -DC --defined-only ${LIBRARY}
  OUTPUT_VARIABLE nm_output
  COMMAND_ERROR_IS_FATAL ANY)
string(REPLACE "\n" ";" nm_lines "${nm_output}")
set(actual "")
foreach(line IN LISTS nm_lines)
  # "<address> <type> <name>"; the name may contain spaces.
  if(line MATCHES "^[0-9a-f]+ [A-Za-z] (.+)$")
    list(APPEND actual "${CMAKE_MATCH_1}")
  endif()
endforeach()

file(STRINGS ${EXPECTED} expected REGEX "^[^#]")

set(missing ${expected})
list(REMOVE_ITEM missing ${actual})
set(unexpected ${actual})
list(REMOVE_ITEM unexpected ${expected})
foreach(name IN LISTS missing)
  message(SEND_ERROR "missing export: ${name}")
endforeach()
foreach(name IN LISTS unexpected)
  message(SEND_ERROR "unexpected export: ${name}")
endforeach()
