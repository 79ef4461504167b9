# Read by CPack before it makes each package. Every time a package records is SOURCE_DATE_EPOCH, so
# that two builds of one commit give the same bytes: from the environment, else the last commit's
# time, else (in an unpacked source release) its file SOURCE_DATE_EPOCH, else the changelog's date.
set(source "${CPACK_PHONEBOOK_SOURCE_DIR}")
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  if(EXISTS "${source}/.git")
    execute_process(COMMAND git log -1 --format=%ct WORKING_DIRECTORY "${source}"
      OUTPUT_VARIABLE source_date OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  endif()
  if(NOT source_date MATCHES "^[0-9]+$" AND EXISTS "${source}/SOURCE_DATE_EPOCH")
    file(STRINGS "${source}/SOURCE_DATE_EPOCH" source_date LIMIT_COUNT 1)
  endif()
  if(NOT source_date MATCHES "^[0-9]+$")
    # " -- The phonebook developers <phonebook@example.org>  Mon, 07 Dec 2026 08:00:00 +0000"
    file(STRINGS "${source}/packaging/changelog" signature REGEX "^ -- " LIMIT_COUNT 1)
    string(REGEX REPLACE "^ -- .*>  " "" changelog_date "${signature}")
    execute_process(COMMAND date -d "${changelog_date}" +%s
      OUTPUT_VARIABLE source_date OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  endif()
  if(NOT source_date MATCHES "^[0-9]+$")
    message(FATAL_ERROR "No time found for the packages: set SOURCE_DATE_EPOCH (seconds since 1970)")
  endif()
  set(ENV{SOURCE_DATE_EPOCH} "${source_date}")
endif()
# A zip holds its times as local times: they are UTC wherever it is made.
set(ENV{TZ} UTC0)
