add_executable(qe-probe /tmp/qe_probe/probe.cpp ${CMAKE_SOURCE_DIR}/src/tools/BenchmarkSupport.cpp)
target_link_libraries(qe-probe PRIVATE schoolgen Qt6::Test)
