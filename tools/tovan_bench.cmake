# tovan-bench: Google Benchmark suite for the drawing and (later) the link paths.
find_package(benchmark REQUIRED)
add_executable(tovan-bench
  ${CMAKE_CURRENT_LIST_DIR}/bench/compose_bench.cpp)
target_link_libraries(tovan-bench PRIVATE tovan_base tovan_toolkit tovan_resources benchmark::benchmark_main)
