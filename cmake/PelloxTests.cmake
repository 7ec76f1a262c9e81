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
