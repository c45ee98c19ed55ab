# tovan-cli: the pedal from the command line, on the editor's link code.
add_library(tovan_cli STATIC
  ${CMAKE_CURRENT_LIST_DIR}/cli/backup_compare.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cli/cli_app.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cli/editor_client.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cli/json_writer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cli/terminal_dialogs.cpp)
pkg_check_modules(CLI_GIO REQUIRED IMPORTED_TARGET gio-2.0)
target_link_libraries(tovan_cli PUBLIC tovan_base tovan_link tovan_editor tovan_hid PRIVATE PkgConfig::CLI_GIO)

add_executable(tovan-cli ${CMAKE_CURRENT_LIST_DIR}/tovan_cli.cpp)
target_link_libraries(tovan-cli PRIVATE tovan_cli)
