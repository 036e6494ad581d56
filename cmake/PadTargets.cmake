# Helpers shared by every folder's CMakeLists.

# A deliverable lands in dist/ under its own name, without the lib prefix.
function(pad_stage_deliverable target)
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    RUNTIME_OUTPUT_DIRECTORY "${PAD_DIST_DIR}"
    LIBRARY_OUTPUT_DIRECTORY "${PAD_DIST_DIR}"
    ARCHIVE_OUTPUT_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}")
endfunction()

set(PAD_WINE_RUN "${CMAKE_SOURCE_DIR}/scripts/wine-run.sh")
set(PAD_WINE_ROOT "${CMAKE_BINARY_DIR}/wine")
# The loader and prefix kind that run this tree's programs.
if(PAD_WIN64)
  set(PAD_WINE_ARCH win64)
else()
  set(PAD_WINE_ARCH win32)
endif()

# pad_wine_test_limit(name seconds): a Wine test's time limit, noted for the
# 32-bit tree's run under emulation, which raises it (tests/emulated).
function(pad_wine_test_limit name seconds)
  set_tests_properties(${name} PROPERTIES TIMEOUT ${seconds})
  set_property(GLOBAL APPEND PROPERTY PAD_WINE_TEST_LIMITS "${name}=${seconds}")
endfunction()

# pad_add_wine_test(NAME name COMMAND target [args...] [DISPLAY] [TIMING] [TIMEOUT s] [LABELS l...]
#                   [OVERRIDES dll=mode...])
# Runs a Windows program under Wine in a fresh prefix of its own, made from a
# template prefix that the first test of a run creates. A TIMING test judges
# reports by when they arrive: it runs alone, since a second Wine test and its
# wine server on a two-core machine delay the pad's serving threads by tens of
# milliseconds.
function(pad_add_wine_test)
  cmake_parse_arguments(T "DISPLAY;TIMING" "NAME;TIMEOUT" "COMMAND;LABELS;OVERRIDES" ${ARGN})
  list(POP_FRONT T_COMMAND exe)
  if(TARGET ${exe})
    set(exe "$<TARGET_FILE:${exe}>")
  endif()
  set(flags "")
  if(T_DISPLAY)
    list(APPEND flags --display)
  endif()
  foreach(override ${T_OVERRIDES})
    list(APPEND flags --override ${override})
  endforeach()
  add_test(NAME ${T_NAME}
    COMMAND ${PAD_WINE_RUN} --root ${PAD_WINE_ROOT} --arch ${PAD_WINE_ARCH} --name ${T_NAME} ${flags} -- ${exe} ${T_COMMAND})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${T_NAME} PROPERTIES LABELS "wine;${T_LABELS}")
  pad_wine_test_limit(${T_NAME} ${T_TIMEOUT})
  if(T_TIMING)
    set_tests_properties(${T_NAME} PROPERTIES RUN_SERIAL TRUE)
  endif()
endfunction()
