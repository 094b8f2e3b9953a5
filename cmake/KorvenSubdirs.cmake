# Adds the listed subfolders of a folder that hold a CMakeLists.txt. Subsystems arrive one by one;
# a folder without a build file yet is simply skipped.
function(korven_add_subdirs parent)
  foreach(dir ${ARGN})
    if(EXISTS ${CMAKE_SOURCE_DIR}/${parent}/${dir}/CMakeLists.txt)
      add_subdirectory(${CMAKE_SOURCE_DIR}/${parent}/${dir} ${CMAKE_BINARY_DIR}/${parent}/${dir})
    endif()
  endforeach()
endfunction()

# Adds one GoogleTest executable, registered with CTest test by test.
#   korven_gtest(NAME name SOURCES ... LIBS ...)
function(korven_gtest)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} korven_testsupport GTest::gtest GTest::gtest_main)
  set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8")
endfunction()

# Adds one window test executable (a QApplication on the offscreen platform, GoogleTest inside).
#   korven_guitest(NAME name SOURCES ... LIBS ...)
function(korven_guitest)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} korven_guisupport GTest::gtest)
  # Window tests print through the report projects copied beside them.
  add_dependencies(${T_NAME} korven_resources)
  set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8")
endfunction()
