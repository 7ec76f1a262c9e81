# pellox_add_test(name [QT] SOURCES ... LIBS ...): one test binary, its cases
# listed to ctest. Its cases are labelled `unit`, or `display` with QT (they make
# windows on the offscreen platform); docs/development.md lists the labels.
# QT tests link tests/support's pellox_qt_test_main instead of gtest's main.
function(pellox_add_test name)
  cmake_parse_arguments(T "QT" "" "SOURCES;LIBS" ${ARGN})
  if(T_QT)
    set(label display)
  else()
    set(label unit)
  endif()
  add_executable(${name} ${T_SOURCES})
  if(T_QT)
    target_link_libraries(${name} PRIVATE pellox_qt_test_main ${T_LIBS})
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main GTest::gmock ${T_LIBS})
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" LABELS ${label})
endfunction()

# Under emscripten the same function makes a test program for Node instead:
# its cases run as one ctest test, labelled `wasm`. The real file system is
# Node's (NODERAWFS), so the tests' temporary folders are folders on disk.
if(EMSCRIPTEN)
  function(pellox_add_test name)
    cmake_parse_arguments(T "QT" "" "SOURCES;LIBS" ${ARGN})
    if(T_QT)
      return()  # no Qt in the browser's build
    endif()
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE gtest_main gmock ${T_LIBS})
    target_link_options(${name} PRIVATE -sNODERAWFS=1 -sENVIRONMENT=node -sALLOW_MEMORY_GROWTH=1
                        -sEXIT_RUNTIME=1)
    add_test(NAME ${name} COMMAND node --no-experimental-fetch --stack-size=4000 $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES LABELS wasm)
  endfunction()
endif()
