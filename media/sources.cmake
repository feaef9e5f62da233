# media/core: the date a photo or video was taken, read from its content (EXIF in JPEG, TIFF and
# raw, PNG, WebP, HEIF; QuickTime and MP4 dates; XMP), from a sidecar beside it (a photo export's
# JSON, XMP), and the date in a file name, with the zone a wall-clock date is read in. Byte sources only: no windows, no file system.
list(APPEND PW_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/core/DateText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/Exif.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/ExportJson.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/FoundDate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/IsoMedia.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/Jpeg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/MediaReader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/NameDate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/Png.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/TakenDate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/WallClock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/Webp.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/Xmp.cpp
)
# nlohmann's JSON (Debian's header-only nlohmann-json3-dev) for the export's JSON; the mingw build
# reaches the host's headers after its own, for this file alone.
if(MINGW)
  set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/core/ExportJson.cpp PROPERTIES COMPILE_OPTIONS "-idirafter;/usr/include")
endif()
