# Install rules, the documents as Debian keeps them, and CPack's packages (.deb, RPM, Windows zip)
# with SHA256SUMS beside them; a dist build adds the RPM and the zip from builds of their own.
include(GNUInstallDirs)
# Folders made by the install, and so in the packages, are rwxr-xr-x whatever the umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(phonebook_contact "The phonebook developers <phonebook@example.org>")
file(READ LICENSE license)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS LICENSE packaging/changelog)

if(WIN32)
  # Three files side by side, the texts with Windows line ends; the README begins with what a
  # Windows user needs first. Written only when they change; the texts are not expanded.
  set(phonebook_bindir .)
  file(READ packaging/windows-readme.md readme_first)
  file(READ README.md readme)
  string(REPLACE "\n" "\r\n" readme "${readme_first}${readme}")
  string(REPLACE "\n" "\r\n" license_crlf "${license}")
  file(CONFIGURE OUTPUT README.md CONTENT "@readme@" @ONLY)
  file(CONFIGURE OUTPUT LICENSE CONTENT "@license_crlf@" @ONLY)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/README.md ${CMAKE_CURRENT_BINARY_DIR}/LICENSE
    DESTINATION .)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    README.md packaging/windows-readme.md)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
  set(phonebook_bindir ${CMAKE_INSTALL_BINDIR})
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/phonebook.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz ${CMAKE_CURRENT_BINARY_DIR}/copyright
    DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()
install(TARGETS phonebook RUNTIME DESTINATION ${phonebook_bindir})

foreach(document IN ITEMS doc/phonebook.1 packaging/changelog)
  get_filename_component(name ${document} NAME)
  set(gzipped ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz)
  add_custom_command(OUTPUT ${gzipped}
    COMMAND gzip -9nc ${CMAKE_CURRENT_SOURCE_DIR}/${document} > ${gzipped}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${document} VERBATIM)
  list(APPEND phonebook_gzipped ${gzipped})
endforeach()
add_custom_target(phonebook_documents ALL DEPENDS ${phonebook_gzipped})

# The changelog in the RPM's format: "* Mon Dec 07 2026 name <mail> - version-release", then the
# entry's items, each starting with "- ". Its latest entry must be this version's.
file(STRINGS packaging/changelog changelog_lines)
if(NOT changelog_lines MATCHES "^phonebook \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog has no entry for version ${PROJECT_VERSION} at the top")
endif()
set(rpm_release 1)
foreach(line IN LISTS changelog_lines)
  if(line MATCHES "^phonebook \\(([^)]+)\\) ")
    set(version ${CMAKE_MATCH_1})
  elseif(line MATCHES "^  \\* (.*)")
    string(APPEND items "- ${CMAKE_MATCH_1}\n")
  elseif(line MATCHES "^    (.*)")
    string(APPEND items "  ${CMAKE_MATCH_1}\n")
  elseif(line MATCHES "^ -- (.+)  ([A-Z][a-z][a-z]), ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9]+) ")
    string(APPEND rpm_changelog "* ${CMAKE_MATCH_2} ${CMAKE_MATCH_4} ${CMAKE_MATCH_3} ${CMAKE_MATCH_5} "
      "${CMAKE_MATCH_1} - ${version}-${rpm_release}\n${items}\n")
    set(items)
  endif()
endforeach()
file(CONFIGURE OUTPUT rpm-changelog CONTENT "@rpm_changelog@" @ONLY)

# Debian's machine-readable copyright file: the licence's text indented by one space, an empty
# line written as " .".
string(FIND "${license}" "Permission is hereby granted" start)
if(start EQUAL -1)
  message(FATAL_ERROR "LICENSE: no licence text found for the package's copyright file")
endif()
string(SUBSTRING "${license}" ${start} -1 license_text)
string(STRIP "${license_text}" license_text)
string(REPLACE "\n\n" "\n.\n" license_text "${license_text}")
string(REPLACE "\n" "\n " license_text " ${license_text}")
configure_file(packaging/copyright.in copyright @ONLY)

set(CPACK_PACKAGE_VENDOR "The phonebook developers")
set(CPACK_PACKAGE_CONTACT "${phonebook_contact}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "interactive phone book for one user at a text console")
set(CPACK_PACKAGE_DESCRIPTION
  "At a prompt, add contacts of four kinds (person, work, family, friend),\n\
remove them by their position in the list, and print the numbered list.\n\
Every field is checked as it is typed and asked for again until it passes.\n\
The phone book lives in memory for one run.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_RPM_FILE_NAME RPM-DEFAULT)
set(CPACK_RPM_PACKAGE_RELEASE ${rpm_release})
set(CPACK_RPM_PACKAGE_SUMMARY "Interactive phone book for one user at a text console")
set(CPACK_RPM_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGE_RELOCATABLE OFF)
set(CPACK_RPM_PACKAGE_LICENSE MIT)
set(CPACK_RPM_PACKAGE_GROUP "Applications/Productivity")
set(CPACK_RPM_CHANGELOG_FILE ${CMAKE_CURRENT_BINARY_DIR}/rpm-changelog)
# The copyright file is the licence, kept with --excludedocs too. The RPM's program, libedit linked
# in, comes with the licences of what it holds: the Debian copyright files of those libraries.
set(CPACK_RPM_USER_FILELIST "%license /usr/${CMAKE_INSTALL_DOCDIR}/copyright")
if(PHONEBOOK_STATIC_LIBEDIT)
  set(CPACK_GENERATOR RPM)
  foreach(deb IN ITEMS libedit2 libbsd0 libmd0 libtinfo6)
    install(FILES /usr/share/doc/${deb}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR}/${deb})
    list(APPEND CPACK_RPM_USER_FILELIST "%license /usr/${CMAKE_INSTALL_DOCDIR}/${deb}/copyright")
  endforeach()
endif()
# The folders of the manual belong to the system, not to this package.
set(CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION /usr/share/man /usr/share/man/man1)
# The same files as the Debian package (no links under /usr/lib/.build-id); the build's time is
# SOURCE_DATE_EPOCH, no file is newer, and the build host has one name.
set(CPACK_RPM_SPEC_MORE_DEFINE "%define packager ${phonebook_contact}
%define _build_id_links none
%define use_source_date_epoch_as_buildtime 1
%define clamp_mtime_to_source_date_epoch 1
%define _buildhost reproducible")
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_SOURCE_DIR}/packaging/source_date.cmake)
set(CPACK_PHONEBOOK_SOURCE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/packaging/strip.cmake)
set(CPACK_PHONEBOOK_STRIP "${CMAKE_STRIP}")
set(CPACK_PHONEBOOK_PROGRAM "${phonebook_bindir}/phonebook${CMAKE_EXECUTABLE_SUFFIX}")
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/packaging/checksums.cmake)
# package_source: a snapshot of the source folder, less builds and .git (the release is dist's).
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build/")
include(CPack)

option(PHONEBOOK_DIST "Also make the RPM and the Windows zip here, each in a build of its own" OFF)
if(PHONEBOOK_DIST)
  include(ExternalProject)
  # Packed here one at a time (in Ninja's console pool), as each rewrites SHA256SUMS.
  foreach(preset IN ITEMS rpm windows-release)
    ExternalProject_Add(${preset}_package
      SOURCE_DIR ${CMAKE_CURRENT_SOURCE_DIR}
      BINARY_DIR ${CMAKE_CURRENT_BINARY_DIR}/${preset}
      CONFIGURE_COMMAND ${CMAKE_COMMAND} -S <SOURCE_DIR> -B <BINARY_DIR> --preset ${preset}
      INSTALL_COMMAND ${CMAKE_CPACK_COMMAND} -B ${CMAKE_CURRENT_BINARY_DIR}
        --config <BINARY_DIR>/CPackConfig.cmake
      BUILD_ALWAYS ON USES_TERMINAL_INSTALL ON)
  endforeach()
  # The source release, from git (an unpacked tarball has no .git, and is the release itself).
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/.git)
    add_custom_target(source_tarball ALL
      COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_CURRENT_SOURCE_DIR}
        -DOUTPUT_DIR=${CMAKE_CURRENT_BINARY_DIR} -DNAME=phonebook-${PROJECT_VERSION}
        -P ${CMAKE_CURRENT_SOURCE_DIR}/packaging/tarball.cmake
      COMMENT "Making the source release phonebook-${PROJECT_VERSION}.tar.gz from git" VERBATIM)
  endif()
endif()
