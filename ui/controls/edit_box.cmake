# The edit box and what it is made of (included by this folder's CMakeLists).
target_sources(kodaro_ui_controls PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/clipboard_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/edit_box.cpp
  ${CMAKE_CURRENT_LIST_DIR}/edit_line_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/edit_text_buffer.cpp)
target_link_libraries(kodaro_ui_controls PUBLIC imm32)
