# Edit box tests on a real framework window (included by this folder's CMakeLists).
kodaro_test(NAME ui_edit_box_test NO_MAIN DESKTOP TIMEOUT 120
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/controls_test_main.cpp
    ${CMAKE_CURRENT_LIST_DIR}/edit_box_test.cpp
  LIBS kodaro_ui_controls kodaro_test_pixels kodaro_test_window)
