# The label control (included by this folder's CMakeLists).
target_sources(kodaro_ui_controls PRIVATE ${CMAKE_CURRENT_LIST_DIR}/label.cpp)
