add_executable(tovan-params ${CMAKE_CURRENT_LIST_DIR}/tovan_params.cpp)
target_link_libraries(tovan-params PRIVATE tovan_model)
