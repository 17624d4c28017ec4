include(GoogleTest)

# nuvela_test(<name> SOURCES ... LIBS ... [WIDGETS])
# A GoogleTest executable whose main() creates a QGuiApplication (or, with
# WIDGETS, a QApplication) on the offscreen platform.
function(nuvela_test name)
  cmake_parse_arguments(T "WIDGETS" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(T_WIDGETS)
    target_link_libraries(${name} PRIVATE nuvela_test_main_widgets)
  else()
    target_link_libraries(${name} PRIVATE nuvela_test_main_gui)
  endif()
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
