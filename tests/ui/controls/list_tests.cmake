# Scroll bar, image list, list view and combo box tests on real framework
# windows (included by this folder's CMakeLists).
kodaro_test(NAME ui_lists_test NO_MAIN DESKTOP
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/controls_test_main.cpp
    ${CMAKE_CURRENT_LIST_DIR}/scroll_bar_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/image_list_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/list_view_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/combo_box_test.cpp
  LIBS kodaro_ui_controls kodaro_test_pixels kodaro_test_window kodaro_test_support)
