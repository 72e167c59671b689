# Message box tests on real windows (included by this folder's CMakeLists).
kodaro_test(NAME ui_message_box_test NO_MAIN DESKTOP
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/controls_test_main.cpp
    ${CMAKE_CURRENT_LIST_DIR}/message_box_test.cpp
  LIBS kodaro_ui_controls kodaro_test_pixels kodaro_test_window kodaro_test_support
  TIMEOUT 180)
