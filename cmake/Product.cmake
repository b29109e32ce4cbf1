# Settings every shipping module is built with, and the names they ship under.

# Windows 95 and NT 4 are the oldest targets: newer APIs must not even be declared.
add_library(tarnu_target_windows INTERFACE)
target_compile_definitions(tarnu_target_windows INTERFACE
  _WIN32_WINNT=0x0400 WINVER=0x0400 WIN32_LEAN_AND_MEAN STRICT)
target_compile_options(tarnu_target_windows INTERFACE
  -Wall -Wextra -ffunction-sections -fdata-sections)
# No runtime DLL that those systems lack: libgcc and libstdc++ go into each module.
target_link_options(tarnu_target_windows INTERFACE
  -static-libgcc -static-libstdc++ -Wl,--gc-sections)

if(TARNU_PRODUCT_BUILD)
  set(TARNU_OUTPUT_DIR ${CMAKE_BINARY_DIR}/out)
else()
  set(TARNU_OUTPUT_DIR ${CMAKE_BINARY_DIR}/bin)
endif()
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib)

# tarnu_ship(<target> <FILE.EXT>): build <target> as a shipping module named FILE.EXT.
# In the product build it lands, stripped, in build/i686/out; in the test build in bin/.
function(tarnu_ship target file_name)
  string(REGEX MATCH "^[^.]+" base "${file_name}")
  string(REGEX MATCH "\\.[^.]+$" suffix "${file_name}")
  set_target_properties(${target} PROPERTIES
    OUTPUT_NAME ${base} SUFFIX ${suffix} PREFIX ""
    RUNTIME_OUTPUT_DIRECTORY ${TARNU_OUTPUT_DIR}
    LIBRARY_OUTPUT_DIRECTORY ${TARNU_OUTPUT_DIR})
  target_link_libraries(${target} PRIVATE tarnu_target_windows)
  if(TARNU_PRODUCT_BUILD)
    target_link_options(${target} PRIVATE -s)
  endif()
endfunction()

# tarnu_undecorated_exports(<target>): exports named exactly as in the target's .def file.
# On i686 __stdcall names carry an @n suffix that callers binding by name would miss;
# the .def names them plainly and the linker matches them to the decorated symbols.
function(tarnu_undecorated_exports target)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_link_options(${target} PRIVATE -Wl,--kill-at -Wl,--enable-stdcall-fixup)
  endif()
endfunction()

include(${CMAKE_CURRENT_LIST_DIR}/Version.cmake)
