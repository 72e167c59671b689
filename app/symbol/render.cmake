# The styled symbol renderer, the style pictures and export to file and clipboard.
# Included by this folder's CMakeLists.txt after the encoder bridge.
if(NOT KODARO_WINDOWS)
  return()
endif()

add_library(kodaro_symbol_render STATIC
  ${CMAKE_CURRENT_LIST_DIR}/clipboard_export.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image_export.cpp
  ${CMAKE_CURRENT_LIST_DIR}/save_command.cpp
  ${CMAKE_CURRENT_LIST_DIR}/save_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/style_images.cpp
  ${CMAKE_CURRENT_LIST_DIR}/svg_export.cpp
  ${CMAKE_CURRENT_LIST_DIR}/symbol_renderer.cpp
)
kodaro_defaults(kodaro_symbol_render)
target_link_libraries(kodaro_symbol_render PUBLIC
  kodaro_ui_draw kodaro_runtime gdiplus ole32 oleaut32 uuid comdlg32 user32 gdi32)
