# Run by CPack after each generator: SHA256SUMS beside the packages lists those of this version and
# the source release; this generator's are still in CPack's own folder (CPACK_PACKAGE_FILES).
file(GLOB made_before
  "${CPACK_PACKAGE_DIRECTORY}/${CPACK_PACKAGE_NAME}[-_]${CPACK_PACKAGE_VERSION}[-_]*"
  "${CPACK_PACKAGE_DIRECTORY}/${CPACK_PACKAGE_NAME}-${CPACK_PACKAGE_VERSION}.tar.gz")
set(packages)
foreach(package IN LISTS CPACK_PACKAGE_FILES made_before)
  get_filename_component(name "${package}" NAME)
  if(name MATCHES "\\.(deb|rpm|zip)$|^[^-]+-[^-]+\\.tar\\.gz$" AND NOT DEFINED sum_${name})
    file(SHA256 "${package}" sum_${name})
    list(APPEND packages ${name})
  endif()
endforeach()
list(SORT packages)
set(sums)
foreach(name IN LISTS packages)
  string(APPEND sums "${sum_${name}}  ${name}\n")
endforeach()
file(WRITE "${CPACK_PACKAGE_DIRECTORY}/SHA256SUMS" "${sums}")
