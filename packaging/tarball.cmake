# Run by the dist build (cmake -P): the source release OUTPUT_DIR/NAME.tar.gz, the last commit of
# SOURCE_DIR under NAME/ (changes not committed are not in it), with NAME/SOURCE_DATE_EPOCH, the
# commit's time, which a build of the unpacked tarball dates its packages by.
execute_process(COMMAND git log -1 --format=%ct
  WORKING_DIRECTORY "${SOURCE_DIR}" OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE
  COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND git -c tar.umask=022 archive --format=tar.gz --prefix=${NAME}/
    "--add-virtual-file=${NAME}/SOURCE_DATE_EPOCH:${epoch}\n" -o "${OUTPUT_DIR}/${NAME}.tar.gz" HEAD
  WORKING_DIRECTORY "${SOURCE_DIR}" COMMAND_ERROR_IS_FATAL ANY)
