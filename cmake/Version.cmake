# Version information that every shipping file carries (Explorer's Properties > Version).

set(TARNU_VERSION 1.0.0.0 CACHE STRING "Version of the shipping files: four dot-separated numbers")
set(TARNU_PRODUCT_NAME "TARNU Wireless Status Utility")
set(TARNU_COMPANY_NAME "TARNU")
set(TARNU_COPYRIGHT "Copyright (C) TARNU")
set(TARNU_VERSION_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/Version.rc.in)

# tarnu_version_resource(<target> <FILE.EXT> <description>): adds a VERSIONINFO resource
# naming FILE.EXT and describing it; the file type (application or DLL) follows the target.
function(tarnu_version_resource target file_name description)
  if(NOT TARNU_VERSION MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+$")
    message(FATAL_ERROR "TARNU_VERSION must be four numbers: ${TARNU_VERSION}")
  endif()
  string(REPLACE "." "," TARNU_VERSION_COMMAS "${TARNU_VERSION}")
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(TARNU_FILE_TYPE VFT_APP)
  else()
    set(TARNU_FILE_TYPE VFT_DLL)
  endif()
  set(TARNU_FILE_NAME "${file_name}")
  set(TARNU_FILE_DESCRIPTION "${description}")
  string(REGEX MATCH "^[^.]+" TARNU_INTERNAL_NAME "${file_name}")
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${TARNU_VERSION_TEMPLATE} ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
