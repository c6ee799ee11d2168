# What a release installs and how CPack packs it (scripts/release.sh runs
# it): on Linux the command line with its manual page and documents, as a
# .tar.gz and a .deb; for Windows both programs, the players' readme and the
# licence, as a zip. Archive times come from SOURCE_DATE_EPOCH, which CPack
# reads from the environment.
include(GNUInstallDirs)

set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR "${VELMORA_AUTHORS}")
set(CPACK_PACKAGE_CONTACT "${VELMORA_AUTHORS} <velmora@example.org>")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "seed generator of a game randomizer")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Velmora shuffles the items, enemies, doors and locks of a game under its\n"
  "progression rules and writes the seed as an item list, with a cheat sheet\n"
  "for people. A seed number and the options fully determine both files.")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(_velmora_file_permissions OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
set(_velmora_program_permissions ${_velmora_file_permissions}
  OWNER_EXECUTE GROUP_EXECUTE WORLD_EXECUTE)
set(_velmora_generated "${PROJECT_BINARY_DIR}/generated/packaging")

if(WIN32)
  # Velmora.exe and velmora.exe differ only in case, which Windows does not
  # tell apart, so the command line lies in a folder of its own.
  install(TARGETS Velmora RUNTIME DESTINATION . PERMISSIONS ${_velmora_program_permissions})
  install(TARGETS velmora RUNTIME DESTINATION command-line
    PERMISSIONS ${_velmora_program_permissions})
  # Text files with Windows line ends, for Notepad.
  configure_file("${PROJECT_SOURCE_DIR}/win/PLAYERS.txt" "${_velmora_generated}/README.txt"
    @ONLY NEWLINE_STYLE CRLF)
  configure_file("${PROJECT_SOURCE_DIR}/LICENSE" "${_velmora_generated}/LICENSE.txt"
    @ONLY NEWLINE_STYLE CRLF)
  install(FILES "${_velmora_generated}/README.txt" "${_velmora_generated}/LICENSE.txt"
    DESTINATION . PERMISSIONS ${_velmora_file_permissions})
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME "Velmora-${PROJECT_VERSION}-windows")
else()
  install(TARGETS velmora RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}"
    PERMISSIONS ${_velmora_program_permissions})

  # The manual page is made from the program's own --help and --version, so
  # it cannot drift from them; help2man takes its date from
  # SOURCE_DATE_EPOCH, and gzip -n keeps name and time out of the archive.
  find_program(VELMORA_HELP2MAN help2man REQUIRED)
  find_program(VELMORA_GZIP gzip REQUIRED)
  set(_velmora_man "${_velmora_generated}/velmora.1")
  add_custom_command(OUTPUT "${_velmora_man}.gz"
    COMMAND "${VELMORA_HELP2MAN}" --no-info --section 1
            --name "${CPACK_PACKAGE_DESCRIPTION_SUMMARY}"
            --include "${PROJECT_SOURCE_DIR}/packaging/velmora.h2m"
            --output "${_velmora_man}" "$<TARGET_FILE:velmora>"
    COMMAND "${VELMORA_GZIP}" -9 -n -f "${_velmora_man}"
    DEPENDS velmora "${PROJECT_SOURCE_DIR}/packaging/velmora.h2m"
    COMMENT "Writing the manual page from velmora --help")
  add_custom_target(velmora-man ALL DEPENDS "${_velmora_man}.gz")
  install(FILES "${_velmora_man}.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1"
    PERMISSIONS ${_velmora_file_permissions})

  # The documents, with the licence as Debian's copyright file and a
  # changelog of this version dated by its commit.
  # string(TIMESTAMP) takes SOURCE_DATE_EPOCH when it is set.
  string(TIMESTAMP VELMORA_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
  configure_file("${PROJECT_SOURCE_DIR}/packaging/changelog.in" "${_velmora_generated}/changelog"
    @ONLY)
  add_custom_command(OUTPUT "${_velmora_generated}/changelog.gz"
    COMMAND "${VELMORA_GZIP}" -9 -n -k -f "${_velmora_generated}/changelog"
    DEPENDS "${_velmora_generated}/changelog")
  add_custom_target(velmora-changelog ALL DEPENDS "${_velmora_generated}/changelog.gz")
  # The copyright file's licence paragraph: each line indented by one
  # space, an empty line written as " .".
  file(READ "${PROJECT_SOURCE_DIR}/LICENSE" VELMORA_LICENSE_TEXT)
  string(STRIP "${VELMORA_LICENSE_TEXT}" VELMORA_LICENSE_TEXT)
  string(REPLACE "\n\n" "\n.\n" VELMORA_LICENSE_TEXT "${VELMORA_LICENSE_TEXT}")
  string(REPLACE "\n" "\n " VELMORA_LICENSE_TEXT " ${VELMORA_LICENSE_TEXT}")
  configure_file("${PROJECT_SOURCE_DIR}/packaging/copyright.in" "${_velmora_generated}/copyright"
    @ONLY)
  install(FILES "${PROJECT_SOURCE_DIR}/README.md" "${PROJECT_SOURCE_DIR}/LICENSE"
    "${PROJECT_SOURCE_DIR}/docs/rooms.md" "${_velmora_generated}/copyright"
    "${_velmora_generated}/changelog.gz"
    DESTINATION "${CMAKE_INSTALL_DOCDIR}" PERMISSIONS ${_velmora_file_permissions})

  # The page's site as a zip, packed by its own CPack configuration once
  # scripts/web.sh has built it.
  configure_file("${PROJECT_SOURCE_DIR}/LICENSE" "${_velmora_generated}/site/LICENSE.txt" COPYONLY)
  configure_file("${PROJECT_SOURCE_DIR}/packaging/SiteCPackConfig.cmake.in"
    "${PROJECT_BINARY_DIR}/SiteCPackConfig.cmake" @ONLY)

  set(CPACK_GENERATOR TGZ DEB)
  set(CPACK_PACKAGE_FILE_NAME "velmora-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR}")
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
endif()

include(CPack)
