# Read by CPack before it makes each package. Every time a package records (of its files, of its
# making) is SOURCE_DATE_EPOCH, so that two builds of one commit give the same package byte for
# byte. When the environment does not set it, it is the time of the last commit; in a source
# tree without git it is the time in the file SOURCE_DATE_EPOCH that the source release (the
# tarball) holds, and without that the date of the changelog's latest entry.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(source_date)
  if(EXISTS "${CPACK_PHONEBOOK_SOURCE_DIR}/.git")
    execute_process(COMMAND git log -1 --format=%ct
      WORKING_DIRECTORY "${CPACK_PHONEBOOK_SOURCE_DIR}"
      OUTPUT_VARIABLE source_date OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  endif()
  # An unpacked source release says it in a file of its own.
  if(NOT source_date MATCHES "^[0-9]+$" AND EXISTS "${CPACK_PHONEBOOK_SOURCE_DIR}/SOURCE_DATE_EPOCH")
    file(STRINGS "${CPACK_PHONEBOOK_SOURCE_DIR}/SOURCE_DATE_EPOCH" source_date LIMIT_COUNT 1)
  endif()
  if(NOT source_date MATCHES "^[0-9]+$")
    # " -- The phonebook developers <phonebook@example.org>  Mon, 07 Dec 2026 08:00:00 +0000"
    file(STRINGS "${CPACK_PHONEBOOK_SOURCE_DIR}/packaging/changelog" signature REGEX "^ -- "
      LIMIT_COUNT 1)
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
