# Files of this folder: core (no <windows.h>) and Win32.
list(APPEND PW_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/TimeEditRules.cpp
)
list(APPEND PW_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/EditCommand.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kwTimeEdit.cpp
)
