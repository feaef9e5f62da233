# Files of this folder: core (no <windows.h>) and Win32.
list(APPEND PW_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/MenuColors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MenuIcon.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MenuLayout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MenuPicture.cpp
)
list(APPEND PW_WIN_SOURCES
)
