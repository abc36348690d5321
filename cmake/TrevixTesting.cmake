# trevix_add_test(NAME <name> COMMAND <cmd...> [ENVIRONMENT <var=value>...])
# Every test runs headless with its own home: settings, data and the runtime
# directory point into a private folder of the build tree, so no test touches
# the real home of whoever runs it.
function(trevix_add_test)
  cmake_parse_arguments(T "" "NAME" "COMMAND;ENVIRONMENT" ${ARGN})
  set(home "${CMAKE_BINARY_DIR}/testhome/${T_NAME}")
  file(MAKE_DIRECTORY "${home}/config" "${home}/data" "${home}/cache" "${home}/runtime")
  file(CHMOD "${home}/runtime" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  add_test(NAME ${T_NAME} COMMAND ${T_COMMAND})
  set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen;HOME=${home};XDG_CONFIG_HOME=${home}/config;XDG_DATA_HOME=${home}/data;XDG_CACHE_HOME=${home}/cache;XDG_RUNTIME_DIR=${home}/runtime;TREVIX_TEST_APP_DIR=${TREVIX_APP_DIR};TREVIX_SOURCE_DIR=${CMAKE_SOURCE_DIR};LANG=C.UTF-8;${T_ENVIRONMENT}")
endfunction()

# The tests under tests/ see the fakes and shared helpers of tests/support.
function(trevix_link_test_support name)
  if(TARGET trevix_testsupport)
    target_link_libraries(${name} PRIVATE trevix_testsupport)
  endif()
endfunction()

# trevix_add_gtest(<name> SOURCES <files...> LIBS <libs...>)
function(trevix_add_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/tests")
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  trevix_link_test_support(${name})
  trevix_add_test(NAME ${name} COMMAND ${name} ENVIRONMENT ${T_ENVIRONMENT})
endfunction()

# trevix_add_qtest(<name> SOURCES <files...> LIBS <libs...>)
function(trevix_add_qtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/tests")
  target_link_libraries(${name} PRIVATE ${T_LIBS} Qt6::Test)
  trevix_link_test_support(${name})
  trevix_add_test(NAME ${name} COMMAND ${name} ENVIRONMENT ${T_ENVIRONMENT})
endfunction()

# trevix_add_qt_gtest(<name> SOURCES <files...> LIBS <libs...>): a GoogleTest suite
# that runs inside a QGuiApplication (tests/support/qtgtest_main.cpp).
function(trevix_add_qt_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/tests")
  target_link_libraries(${name} PRIVATE ${T_LIBS} trevix_qtgtest_main GTest::gtest GTest::gmock)
  target_compile_options(${name} PRIVATE -include "${CMAKE_SOURCE_DIR}/tests/support/qtprinters.h")
  trevix_link_test_support(${name})
  trevix_add_test(NAME ${name} COMMAND ${name} ENVIRONMENT ${T_ENVIRONMENT})
endfunction()
