# Files of this folder: core (no <windows.h>) and Win32.
list(APPEND PW_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/DateTime.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DateFormat.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ListingRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileItem.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileCompare.cpp
)
list(APPEND PW_WIN_SOURCES
)
