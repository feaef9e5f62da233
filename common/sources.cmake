# common/core: what every part of the program uses, plain C++ (no <windows.h>): calendar and
# date-time maths, the date and time texts, ISO 8601 UTC texts, the caseless order, path rules,
# names as WTF-8 bytes, the settings key, the errors that say a network volume stopped answering.
# common/platform: the local time zone, the user's locale, the system's error texts, the name of a
# volume's file system (Win32).
list(APPEND PW_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/core/CaselessText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/DateFormat.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/DateTime.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/IsoTime.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/NetworkErrors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/NumberText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/PathRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/TimeText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/Wtf8.cpp
)
list(APPEND PW_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/platform/LocalTime.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform/SystemError.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform/VolumeName.cpp
)
