# The about box (Win32).
list(APPEND PW_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/kwCorvaltAbout.cpp
)
