# tovan-bench: Google Benchmark suite for the drawing and the link paths.
find_package(benchmark REQUIRED)
add_executable(tovan-bench
  ${CMAKE_CURRENT_LIST_DIR}/bench/compose_bench.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bench/link_bench.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bench/main_page_bench.cpp)
target_link_libraries(tovan-bench PRIVATE tovan_base tovan_toolkit tovan_editor tovan_resources tovan_link tovan_hid_sim tovan_hid_virtual
  benchmark::benchmark_main)
add_dependencies(tovan-bench tovan-pedal-sim) # the virtual-bus benchmarks start the one built beside it
