list(APPEND PW_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/kwFileBrowser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainWindowDpi.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ViewOptions.cpp
)
