# app: the program entry and the main window, whose methods are spread over files by concern:
# the form's events and messages, its controls, menus and toolbar, its DPI, the drive list, the
# folder list, navigation, the path line, the shortcut keys, sorting and view, and the commands
# that other rooms carry out. Nothing outside this folder includes the main window's header.
list(APPEND PW_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/Commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DriveList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FolderList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ListRows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainControls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainCommands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainWindowDpi.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Navigation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PathLine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ShortCuts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SortView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ViewOptions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kwFileBrowser.cpp
)
