# Label tests on a real framework window (included by this folder's CMakeLists).
kodaro_test(NAME ui_label_test NO_MAIN
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/controls_test_main.cpp
    ${CMAKE_CURRENT_LIST_DIR}/label_test.cpp
  LIBS kodaro_ui_controls kodaro_test_pixels kodaro_test_window)
