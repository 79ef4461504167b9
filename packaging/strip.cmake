# Run by CPack on the staged files before it packs them: the program stripped as Debian strips its
# own, of its symbols and of the .comment and .note sections (which CPACK_STRIP_FILES would keep).
if(CPACK_INSTALLED_DIRECTORIES)
  return()  # package_source: there is no program in it
endif()
if(NOT CPACK_PHONEBOOK_STRIP)
  message(FATAL_ERROR "No strip program was found (binutils)")
endif()
execute_process(COMMAND "${CPACK_PHONEBOOK_STRIP}" --remove-section=.comment --remove-section=.note
  "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/${CPACK_PHONEBOOK_PROGRAM}"
  COMMAND_ERROR_IS_FATAL ANY)
# Every staged file and folder is dated SOURCE_DATE_EPOCH, so that an old build folder gives the
# packages of a fresh one (the RPM's clamping alone would keep older times).
file(GLOB_RECURSE staged LIST_DIRECTORIES true "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
execute_process(COMMAND touch -h -d "@$ENV{SOURCE_DATE_EPOCH}" ${staged} COMMAND_ERROR_IS_FATAL ANY)
