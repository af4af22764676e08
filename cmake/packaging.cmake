# Installing ftvb like any Linux tool: shell completion, AppStream metadata,
# the documents Debian keeps under /usr/share/doc/ftvb, and the Debian
# package that `make package` builds from the configured build with CPack.
# `cmake --install` puts the same files in place as the package.
if(WIN32)
  return()
endif()

include(GNUInstallDirs)

set(FTVB_MAINTAINER "ftvb developers <maintainers@ftvb.example.org>")
# The project has no public home yet: the About box and the AppStream data
# name this placeholder host, and the AppStream id is built from it.
set(FTVB_HOMEPAGE "https://ftvb.example.org")
set(FTVB_APP_ID "org.example.ftvb")

# The release date as seconds since 1970 (SOURCE_DATE_EPOCH, which scdoc
# reads for the manual pages' date) and in the form of a Debian changelog.
function(ftvb_days_since_1970 date out)
  string(REGEX MATCH "^([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$" _ "${date}")
  if(NOT CMAKE_MATCH_0)
    message(FATAL_ERROR "FTVB_RELEASE_DATE '${date}' is not YYYY-MM-DD")
  endif()
  # Leading zeros would read as octal in math().
  math(EXPR y "1${CMAKE_MATCH_1} - 10000")
  math(EXPR m "1${CMAKE_MATCH_2} - 100")
  math(EXPR d "1${CMAKE_MATCH_3} - 100")
  # Count from March so that the leap day ends the year.
  if(m LESS_EQUAL 2)
    math(EXPR y "${y} - 1")
    math(EXPR m "${m} + 9")
  else()
    math(EXPR m "${m} - 3")
  endif()
  math(EXPR era "${y} / 400")
  math(EXPR yoe "${y} - ${era} * 400")
  math(EXPR doy "(153 * ${m} + 2) / 5 + ${d} - 1")
  math(EXPR doe "${yoe} * 365 + ${yoe} / 4 - ${yoe} / 100 + ${doy}")
  math(EXPR days "${era} * 146097 + ${doe} - 719468")
  set(${out} ${days} PARENT_SCOPE)
endfunction()

ftvb_days_since_1970(${FTVB_RELEASE_DATE} _ftvb_days)
math(EXPR FTVB_RELEASE_EPOCH "${_ftvb_days} * 86400")
set(_ftvb_saved_epoch "$ENV{SOURCE_DATE_EPOCH}")
set(ENV{SOURCE_DATE_EPOCH} ${FTVB_RELEASE_EPOCH})
string(TIMESTAMP FTVB_RELEASE_DATE_RFC2822 "%a, %d %b %Y 00:00:00 +0000" UTC)
set(ENV{SOURCE_DATE_EPOCH} "${_ftvb_saved_epoch}")

# Completion, where bash-completion and Debian's zsh look for it.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/ftvb-convert.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME ftvb-convert)
# zsh searches vendor-completions under /usr only, site-functions under
# /usr/local; the prefix is only known when installing (CPack installs under
# /usr whatever the build was configured with).
install(CODE [[
  if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
    set(ftvb_zsh_completions share/zsh/vendor-completions)
  else()
    set(ftvb_zsh_completions share/zsh/site-functions)
  endif()
]])
install(FILES ${PROJECT_SOURCE_DIR}/packaging/_ftvb-convert DESTINATION "\${ftvb_zsh_completions}")

# What software centres show of the window.
set(FTVB_METAINFO ${PROJECT_BINARY_DIR}/packaging/${FTVB_APP_ID}.metainfo.xml)
configure_file(${PROJECT_SOURCE_DIR}/packaging/ftvb.metainfo.xml.in ${FTVB_METAINFO} @ONLY)
if(TARGET ftvb)
  install(FILES ${FTVB_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

# /usr/share/doc/ftvb: the README, the licence as Debian's machine-readable
# copyright file, and the changelog, compressed as Debian wants it. The
# changelog's newest entry takes the version and date above.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE _ftvb_license)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" _ "${_ftvb_license}")
set(FTVB_COPYRIGHT "${CMAKE_MATCH_1}")
string(REGEX REPLACE "^.*Copyright \\(c\\) [^\n]*\n\n" "" _ftvb_license "${_ftvb_license}")
string(STRIP "${_ftvb_license}" _ftvb_license)
string(REPLACE "\n\n" "\n.\n" _ftvb_license "${_ftvb_license}")
string(REPLACE "\n" "\n " FTVB_LICENSE_TEXT " ${_ftvb_license}")
configure_file(${PROJECT_SOURCE_DIR}/packaging/copyright.in ${PROJECT_BINARY_DIR}/packaging/copyright @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in ${PROJECT_BINARY_DIR}/packaging/changelog @ONLY)

find_program(FTVB_GZIP gzip)
add_custom_command(
  OUTPUT ${PROJECT_BINARY_DIR}/packaging/changelog.gz
  COMMAND ${FTVB_GZIP} -9nf -k ${PROJECT_BINARY_DIR}/packaging/changelog
  DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog
  COMMENT "Compressing the changelog")
add_custom_target(ftvb_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog.gz)

install(FILES
          ${PROJECT_SOURCE_DIR}/README.md
          ${PROJECT_BINARY_DIR}/packaging/copyright
          ${PROJECT_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The Debian package, named ftvb_VERSION_ARCH.deb, in dist/.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ftvb)
set(CPACK_PACKAGE_VENDOR "the ftvb developers")
set(CPACK_PACKAGE_CONTACT "${FTVB_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# Debian shows the description as it stands: lines under 80 columns.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "ftvb reads fixed-form FORTRAN 77 source files and writes one BASIC module"
  "holding their translation, statement by statement, ready to be added to a"
  "Visual Basic project and finished by hand. The translation is textual and"
  "line-oriented, fast, and exactly the same every time for the same files."
  ""
  "The package holds the window ftvb, in English and French, and the command"
  "ftvb-convert for batch use and scripts; both write the same module for the"
  "same list of files.")
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/cpack)
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_SOURCE_DIR}/dist)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
if(TARGET ftvb)
  # Qt finds no display without its platform plugins, which libqt6gui6 only
  # recommends.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
endif()
include(CPack)
