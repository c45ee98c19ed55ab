# tovan-pedal-sim: serves simulated pedals on the virtual bus.
add_executable(tovan-pedal-sim ${CMAKE_CURRENT_LIST_DIR}/tovan_pedal_sim.cpp)
target_link_libraries(tovan-pedal-sim PRIVATE tovan_base tovan_sim tovan_hid_virtual)
