# The scroll bar, image list, list view and combo box (included by this
# folder's CMakeLists).
target_sources(kodaro_ui_controls PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/scroll_bar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/list_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/embedded_image.cpp
  ${CMAKE_CURRENT_LIST_DIR}/combo_box.cpp
  ${CMAKE_CURRENT_LIST_DIR}/combo_drop_down.cpp
)
target_link_libraries(kodaro_ui_controls PUBLIC comctl32)
