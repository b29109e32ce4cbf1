# cmake -DOBJDUMP=... -DDLL=... -DNM=... -DIMPORT_LIB=... -P CheckExports.cmake
cmake_minimum_required(VERSION 3.21)
# The shipping library must export exactly the undecorated names its callers bind to,
# and import from nothing but the system DLLs every supported Windows has.
set(expected_exports MacClose MacFindFirstMatch MacFindFirstMatchEx MacFreeNames MacGetNames
                     MacGetNamesEx MacIoctl MacOpen)
set(allowed_imports ADVAPI32.DLL KERNEL32.DLL MSVCRT.DLL)

if(NOT EXISTS "${DLL}")
  message(FATAL_ERROR "${DLL} does not exist: build the i686 preset first")
endif()
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${DLL} failed")
endif()

# The name table lists one "[ n] Name" line per export, after its heading, up to a blank line.
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n([^\n]+\n)*" table "${dump}")
string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\n]+" rows "${table}")
set(exports)
foreach(row IN LISTS rows)
  string(REGEX REPLACE "^\\[ *[0-9]+\\] " "" name "${row}")
  list(APPEND exports "${name}")
endforeach()
list(SORT exports)
if(NOT exports STREQUAL expected_exports)
  message(FATAL_ERROR "exports are [${exports}], expected [${expected_exports}]")
endif()

string(REGEX MATCHALL "DLL Name: [^\n]+" import_rows "${dump}")
if(NOT import_rows)
  message(FATAL_ERROR "no import table found")
endif()
foreach(row IN LISTS import_rows)
  string(REGEX REPLACE "^DLL Name: " "" module "${row}")
  string(TOUPPER "${module}" module)
  if(NOT module IN_LIST allowed_imports)
    message(FATAL_ERROR "imports from ${module}; only ${allowed_imports} are allowed")
  endif()
endforeach()

# i686 callers refer to the __stdcall names with their decorations (MacOpen@8): the
# import library must offer those and bind them to the undecorated exports.
execute_process(COMMAND ${NM} ${IMPORT_LIB} OUTPUT_VARIABLE symbols RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${NM} ${IMPORT_LIB} failed")
endif()
foreach(name IN LISTS expected_exports)
  if(NOT symbols MATCHES " I __imp__${name}@[0-9]+\n")
    message(FATAL_ERROR "the import library offers no decorated __imp__${name}@n")
  endif()
endforeach()
message(STATUS "exports: ${exports}")
