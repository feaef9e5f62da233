# Files of this folder: core (no <windows.h>) and Win32.
list(APPEND PW_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/TimeEditRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EditFileSystem.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EditApply.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EditUndo.cpp
)
list(APPEND PW_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/EditCommand.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kwTimeEdit.cpp
)
