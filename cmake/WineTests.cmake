# Tests run the x86_64 build under 64-bit Wine, inside a private prefix that one CTest
# fixture boots (with Xvfb when there is no display) and another stops again.

set(TARNU_WINE_STATE ${CMAKE_BINARY_DIR}/wine)
set(TARNU_WINE_RUN ${CMAKE_SOURCE_DIR}/tests/platform/wine-run)
set(TARNU_WINE_PLATFORM ${CMAKE_SOURCE_DIR}/tests/platform/wine-platform)
set(TARNU_WINDOWS_VERSIONS win98 nt40 win2k winxp)

add_test(NAME wine_platform_up COMMAND ${TARNU_WINE_PLATFORM} up ${TARNU_WINE_STATE})
add_test(NAME wine_platform_down COMMAND ${TARNU_WINE_PLATFORM} down ${TARNU_WINE_STATE})
set_tests_properties(wine_platform_up PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
set_tests_properties(wine_platform_down PROPERTIES FIXTURES_CLEANUP wine)

# tarnu_add_wine_test(<name> <target> [VERSIONS v...] [LOCKS lock...] [ARGS arg...])
#
# Runs <target> under Wine as test <name>. With VERSIONS (any of win98 nt40 win2k winxp)
# it runs once per version, as <name>.<version>, from a copy of the program named for
# that version: Wine answers GetVersion from the per-program "Version" value, which the
# fixture sets for every copy. The test reads the version it runs as from TARNU_WINVER.
# LOCKS names resources that tests must not share at the same time (the simulated
# driver's state, the notification area).
function(tarnu_add_wine_test name target)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "TIMEOUT" "VERSIONS;LOCKS;ARGS")
  if(NOT arg_TIMEOUT)
    set(arg_TIMEOUT 300)
  endif()
  if(NOT arg_VERSIONS)
    set(runs default)
  else()
    set(runs ${arg_VERSIONS})
  endif()
  foreach(version IN LISTS runs)
    if(version STREQUAL "default")
      set(test_name ${name})
      set(program $<TARGET_FILE:${target}>)
      set(version_args)
    else()
      if(NOT version IN_LIST TARNU_WINDOWS_VERSIONS)
        message(FATAL_ERROR "${name}: unknown Windows version ${version}")
      endif()
      set(test_name ${name}.${version})
      set(copy_name ${target}-${version}.exe)
      set(program $<TARGET_FILE_DIR:${target}>/${copy_name})
      get_property(copies GLOBAL PROPERTY TARNU_VERSION_COPIES)
      if(NOT "${copy_name}=${version}" IN_LIST copies)
        add_custom_command(TARGET ${target} POST_BUILD
          COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${target}> ${program})
        set_property(GLOBAL APPEND PROPERTY TARNU_VERSION_COPIES "${copy_name}=${version}")
      endif()
      set(version_args --version ${version})
    endif()
    add_test(NAME ${test_name}
      COMMAND ${TARNU_WINE_RUN} ${TARNU_WINE_STATE} ${version_args} ${program} ${arg_ARGS})
    set_tests_properties(${test_name} PROPERTIES
      FIXTURES_REQUIRED wine TIMEOUT ${arg_TIMEOUT})
    if(arg_LOCKS)
      set_tests_properties(${test_name} PROPERTIES RESOURCE_LOCK "${arg_LOCKS}")
    endif()
  endforeach()
endfunction()

# tarnu_add_gtest(<target> <sources>...): a GoogleTest program for Wine.
function(tarnu_add_gtest target)
  add_executable(${target} ${ARGN})
  target_link_libraries(${target} PRIVATE gtest_main tarnu_test_support)
  target_link_options(${target} PRIVATE -static)
endfunction()

# The fixture sets each program copy's Windows version from this file.
function(tarnu_write_version_registry)
  get_property(copies GLOBAL PROPERTY TARNU_VERSION_COPIES)
  set(text "REGEDIT4\n")
  foreach(entry IN LISTS copies)
    string(REPLACE "=" ";" pair "${entry}")
    list(GET pair 0 exe)
    list(GET pair 1 version)
    string(APPEND text "\n[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\${exe}]\n\"Version\"=\"${version}\"\n")
  endforeach()
  file(WRITE ${TARNU_WINE_STATE}-versions.reg "${text}")
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL tarnu_write_version_registry)
