# Run by CPack after it has installed the files into its staging folder and before it packs them:
# strips the program as Debian's own packages are stripped, of its symbols and of the compiler's
# .comment and .note sections. (CPACK_STRIP_FILES would keep those two sections.)
if(CPACK_INSTALLED_DIRECTORIES)
  return()  # a source package (package_source): there is no program in it
endif()
set(program "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/${CPACK_PHONEBOOK_PROGRAM}")
if(NOT CPACK_PHONEBOOK_STRIP)
  message(FATAL_ERROR "No strip program was found (binutils) to strip ${program}")
endif()
execute_process(
  COMMAND "${CPACK_PHONEBOOK_STRIP}" --remove-section=.comment --remove-section=.note "${program}"
  COMMAND_ERROR_IS_FATAL ANY)
# And every file and folder is dated SOURCE_DATE_EPOCH: a build folder whose files were made before
# the last commit then gives the packages of a fresh one (the RPM's clamping alone would keep their
# older times).
file(GLOB_RECURSE staged LIST_DIRECTORIES true "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
execute_process(COMMAND touch -h -d "@$ENV{SOURCE_DATE_EPOCH}" ${staged} COMMAND_ERROR_IS_FATAL ANY)
