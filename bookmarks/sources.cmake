list(APPEND PW_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/BookmarkList.cpp
)
list(APPEND PW_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/Bookmarks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RegistryBookmarkStore.cpp
)
