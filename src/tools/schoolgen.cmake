# The school generator with the two programs built on it: the whole-school
# benchmark and the demo-school command.
add_library(schoolgen STATIC
  ${CMAKE_SOURCE_DIR}/src/tools/SchoolGenerator.cpp ${CMAKE_SOURCE_DIR}/src/tools/SchoolGenerator.h
  ${CMAKE_SOURCE_DIR}/src/tools/DemoSchool.cpp ${CMAKE_SOURCE_DIR}/src/tools/DemoSchool.h)
target_link_libraries(schoolgen PUBLIC gradecore)

add_executable(grades-demo ${CMAKE_SOURCE_DIR}/src/tools/grades_demo.cpp)
target_link_libraries(grades-demo PRIVATE schoolgen)

add_executable(grades-benchmark ${CMAKE_SOURCE_DIR}/src/tools/grades_benchmark.cpp
  ${CMAKE_SOURCE_DIR}/src/tools/Benchmark.cpp ${CMAKE_SOURCE_DIR}/src/tools/Benchmark.h
  ${CMAKE_SOURCE_DIR}/src/tools/BenchmarkSupport.cpp ${CMAKE_SOURCE_DIR}/src/tools/BenchmarkSupport.h)
target_link_libraries(grades-benchmark PRIVATE schoolgen Qt6::Test)
# It times the start-up of the program built beside it.
add_dependencies(grades-benchmark StudentGrades)

# The tests in tests/tools use the generator; tests/ is configured after this
# file, so the link is made once the whole tree is read.
function(schoolgen_link_tests)
  file(GLOB tool_tests ${CMAKE_SOURCE_DIR}/tests/tools/tst_*.cpp)
  foreach(source ${tool_tests})
    get_filename_component(name ${source} NAME_WE)
    if(TARGET tools_${name})
      target_link_libraries(tools_${name} PRIVATE schoolgen)
    endif()
  endforeach()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL schoolgen_link_tests)
