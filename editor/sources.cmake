# editor/core: the time edit's field rules and geometry (no <windows.h>).
# editor/*.cpp: the time edit control and the editor command (Win32).
list(APPEND PW_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/core/TimeEditRules.cpp
)
list(APPEND PW_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/EditCommand.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kwTimeEdit.cpp
)
