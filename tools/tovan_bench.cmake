# tovan-bench: Google Benchmark suite for the drawing and the link paths.
find_package(benchmark REQUIRED)
add_executable(tovan-bench
  ${CMAKE_CURRENT_LIST_DIR}/bench/compose_bench.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bench/link_bench.cpp)
target_link_libraries(tovan-bench PRIVATE tovan_base tovan_toolkit tovan_resources tovan_link tovan_hid_sim
  benchmark::benchmark_main)
