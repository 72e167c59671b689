# The message box and its artwork (the popup menu and the popups' loop live in
# the framework core, ui/host).
target_sources(kodaro_ui_controls PRIVATE ${CMAKE_CURRENT_LIST_DIR}/message_box.cpp)
target_sources(kodaro_ui_controls_resources PRIVATE ${CMAKE_CURRENT_LIST_DIR}/message_box.rc)
