# The scroll bar, image list, list view and combo box (included by this
# folder's CMakeLists).
target_sources(kodaro_ui_controls PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/scroll_bar.cpp
)
