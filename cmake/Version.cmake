# Writes the version header that the resource script includes, from the project's version and
# the state of the checkout; run at every build (cmake -P) and rewritten only when it changes, so
# a commit or a first uncommitted change reaches the file properties without a new configure.
#   VERSION     the version, three numbers (the project's, or the one a test asked for)
#   SOURCE_DIR  the checkout
#   OUTPUT      the header to write
# A checkout with changes not yet committed is no release: its text says so, with the commit the
# changes sit on ("1.1.0-dev+1a2b3c4d5e"), and the file is marked as a pre-release. A new file
# counts once it is added to git: stray files in the checkout do not make every build a dev one.
if(NOT VERSION MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
  message(FATAL_ERROR "The version must be three numbers, not \"${VERSION}\"")
endif()
set(major ${CMAKE_MATCH_1})
set(minor ${CMAKE_MATCH_2})
set(patch ${CMAKE_MATCH_3})

set(text ${VERSION})
set(prerelease 0)
find_package(Git QUIET)
if(GIT_FOUND)
  # No lock: a build must not hold the index against the developer's own git commands.
  set(ENV{GIT_OPTIONAL_LOCKS} 0)
  execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --short=10 HEAD WORKING_DIRECTORY ${SOURCE_DIR}
                  OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE commit_rc ERROR_QUIET)
  execute_process(COMMAND ${GIT_EXECUTABLE} status --porcelain --untracked-files=no WORKING_DIRECTORY ${SOURCE_DIR}
                  OUTPUT_VARIABLE changes RESULT_VARIABLE status_rc ERROR_QUIET)
  if(commit_rc EQUAL 0 AND status_rc EQUAL 0 AND NOT changes STREQUAL "")
    set(text "${VERSION}-dev+${commit}")
    set(prerelease 1)
  endif()
endif()

set(content "// Made by cmake/Version.cmake at build time; not kept in the repository.
#pragma once
#define PW_VERSION_MAJOR ${major}
#define PW_VERSION_MINOR ${minor}
#define PW_VERSION_PATCH ${patch}
#define PW_VERSION_TEXT \"${text}\"
#define PW_VERSION_PRERELEASE ${prerelease}
")
if(EXISTS ${OUTPUT})
  file(READ ${OUTPUT} old)
endif()
if(NOT "${old}" STREQUAL "${content}")
  file(WRITE ${OUTPUT} "${content}")
endif()
