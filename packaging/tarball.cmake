# Run by the dist build (cmake -P): the source release NAME.tar.gz in OUTPUT_DIR, made with git from
# the last commit of SOURCE_DIR: its tracked files under NAME/, and NAME/SOURCE_DATE_EPOCH, the
# commit's time, from which a build of the unpacked tarball dates its packages as a build from git
# does. Uncommitted changes are not in it.
execute_process(COMMAND git log -1 --format=%ct
  WORKING_DIRECTORY "${SOURCE_DIR}" OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE
  COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND git -c tar.umask=022 archive --format=tar.gz --prefix=${NAME}/
    "--add-virtual-file=${NAME}/SOURCE_DATE_EPOCH:${epoch}\n" -o "${OUTPUT_DIR}/${NAME}.tar.gz" HEAD
  WORKING_DIRECTORY "${SOURCE_DIR}" COMMAND_ERROR_IS_FATAL ANY)
