# bookmarks/core: the bookmark list's rules over a store (no <windows.h>).
# bookmarks/*.cpp: the store in the registry, the bookmark list with its menu, and the main
# window's bookmark controls: the add/remove button and pop-up item (Win32).
list(APPEND PW_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/core/BookmarkList.cpp
)
list(APPEND PW_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/BookmarkControls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kwRecentKeys.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RegistryBookmarkStore.cpp
)
