# editor/core: the time edit's field rules and geometry, the apply and undo sequences of the
# editor behind a file-system interface, the saved-times file with its CSV reader and the rules of
# the relative paths it holds, and what a volume keeps of the times written (no <windows.h>).
# editor/core/media: the date a photo or video was taken, read from its content (EXIF in JPEG, TIFF
# and raw, PNG, WebP, HEIF; QuickTime and MP4 dates), and the date in a file name, with the zone a
# wall-clock date is read in.
# editor/*.cpp: the time edit control, the editor dialog and its command (Win32).
list(APPEND PW_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/core/ContentTimes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/CsvReader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/EditApply.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/EditFileSystem.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/EditUndo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/SavedTimes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/RelativePath.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/TimeBatch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/TimeEditRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/TimeRowStamps.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/TimesFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/VolumeRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/media/DateText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/media/Exif.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/media/FoundDate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/media/IsoMedia.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/media/Jpeg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/media/MediaReader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/media/NameDate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/media/Png.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/media/TakenDate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/media/WallClock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/media/Webp.cpp
)
list(APPEND PW_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/DiskFileSystem.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EditCommand.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kwFileEditParams.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kwPreview.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kwProgress.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kwTimeTool.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kwTimesFromContent.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kwTimeEdit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kwWheel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScopeBox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/VolumeOutlook.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WholeFiles.cpp
)
