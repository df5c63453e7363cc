# What `cmake --install` puts where, and the package that CPack makes of it: a Debian package
# on Linux, a zip for Windows.
#   cmake --install build --prefix ~/.local
#   cpack --config build/CPackConfig.cmake -B out     # out/qdvz_<version>_<arch>.deb
#   cmake --build build-win --target package          # build-win/qdvz-windows.zip
include(GNUInstallDirs)

# Windows: one folder to unzip anywhere, holding the programs, the examples and a read-me in
# Japanese that Notepad reads on any Japanese Windows (code page 932, CR LF).
if(WIN32 AND NOT QDVZ_BUILD_GUI)
  install(TARGETS qd2vz RUNTIME DESTINATION .)
  if(TARGET henkan)
    install(TARGETS henkan RUNTIME DESTINATION .)
  endif()
  install(FILES examples/sample.dat examples/sizes.qdc DESTINATION examples)

  find_program(QDVZ_ICONV iconv)
  if(QDVZ_ICONV)
    set(qdvz_readme ${PROJECT_BINARY_DIR}/README.txt)
    add_custom_command(OUTPUT ${qdvz_readme}
      COMMAND sh -c "'${QDVZ_ICONV}' -f UTF-8 -t CP932 \"$0\" | sed 's/$/\\r/' >\"$1\""
              ${PROJECT_SOURCE_DIR}/packaging/windows/README.txt ${qdvz_readme}
      DEPENDS ${PROJECT_SOURCE_DIR}/packaging/windows/README.txt VERBATIM)
    add_custom_target(windows_readme ALL DEPENDS ${qdvz_readme})
    install(FILES ${qdvz_readme} DESTINATION .)
  else()
    message(WARNING "iconv not found: the Windows zip will have no README.txt")
  endif()

  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_NAME qdvz)
  set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
  set(CPACK_PACKAGE_FILE_NAME qdvz-windows)
  set(CPACK_STRIP_FILES ON)
  include(CPack)
  return()
endif()

install(TARGETS qd2vz RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES README.md docs/henkan.md docs/henkan.png DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES examples/sample.dat examples/sizes.qdc DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)

if(UNIX AND NOT APPLE)
  install(FILES packaging/qd2vz.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

if(TARGET henkan)
  install(TARGETS henkan RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  if(UNIX AND NOT APPLE)
    # The menu entry and its icon, under the name the entry gives (Icon=qdvz-henkan); what
    # software centres show of it, under the same name; the type of the character-size files
    # that the entry opens.
    install(FILES packaging/example.c_seed_b1097721.qdvz.henkan.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES packaging/example.c_seed_b1097721.qdvz.henkan.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES packaging/qdvz-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
            RENAME qdvz.xml)
    install(FILES packaging/henkan.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    foreach(size 16 32)
      install(FILES packaging/icons/henkan-${size}.png
              DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
              RENAME qdvz-henkan.png)
    endforeach()
  endif()
endif()

# The Debian package: Linux only, built on the machine it is for.
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux" OR CMAKE_CROSSCOMPILING)
  return()
endif()

# The project's maintainers as its history names them, unless whoever builds the package names
# themselves instead.
set(QDVZ_PACKAGE_MAINTAINER
    "Seed b1097721 maintainers <maintainers@users.noreply.c-seed-b1097721.example>"
    CACHE STRING "Maintainer named in the Debian package (\"Name <address>\")")
# Build folders configured before keep the placeholder that was the default then, which is no
# address Debian accepts.
if(QDVZ_PACKAGE_MAINTAINER STREQUAL "qdvz maintainers <qdvz@localhost>")
  unset(QDVZ_PACKAGE_MAINTAINER CACHE)
  set(QDVZ_PACKAGE_MAINTAINER
      "Seed b1097721 maintainers <maintainers@users.noreply.c-seed-b1097721.example>"
      CACHE STRING "Maintainer named in the Debian package (\"Name <address>\")")
endif()
# What Debian asks of every package: the licence in machine-readable form, and the history.
install(FILES packaging/debian/copyright packaging/debian/changelog
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qdvz)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "converter from QD line-symbol deformation data to VZ line-deformation macros")
set(CPACK_PACKAGE_CONTACT "${QDVZ_PACKAGE_MAINTAINER}")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QDVZ_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends comes from the libraries the programs link (dpkg-shlibdeps): libc6, libstdc++6,
# and the Qt 6 libraries when henkan is built.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The summary above is the synopsis; CPack indents this as the extended description.
set(qdvz_description "ＱＤの線記号変形データをＶＺの線変形マクロに変換します。
qd2vz converts from the command line, one file or a whole batch. It reads and
writes code page 932 (Shift-JIS) text with CR LF line ends.")
if(TARGET henkan)
  string(APPEND qdvz_description "
henkan is the desktop window (Japanese) that loads, converts, shows and saves
one file, writing the same bytes as qd2vz. It appears in the desktop's menu as
「QD→VZ線変形データ変換」.")
  # The window picks IPA Gothic or IPAex Gothic where no Windows font is installed; without
  # any Japanese font its captions are boxes.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic | fonts-ipaexfont-gothic")
endif()
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "${qdvz_description}")
# Debian keeps manual pages and the changelog compressed. The staged copies are compressed just
# before packaging, so that `cmake --install` still puts plain files where they can be read.
file(WRITE ${PROJECT_BINARY_DIR}/compress_manual.cmake [=[
if(NOT IS_DIRECTORY "${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
  message(FATAL_ERROR "no staging folder to compress the manual pages in")
endif()
file(GLOB_RECURSE pages "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*.1")
list(FILTER pages INCLUDE REGEX "/share/man/man1/[^/]+$")
file(GLOB_RECURSE changelogs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/changelog")
list(FILTER changelogs INCLUDE REGEX "/share/doc/qdvz/changelog$")
foreach(page IN LISTS pages changelogs)
  execute_process(COMMAND gzip -9nf ${page} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
]=])
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_BINARY_DIR}/compress_manual.cmake)
# A source archive of the checkout, never of build trees or the repository itself.
set(CPACK_SOURCE_GENERATOR TXZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git(/|$)" "^${PROJECT_SOURCE_DIR}/build[^/]*/"
                               "^${PROJECT_SOURCE_DIR}/out/")
include(CPack)

# The package test unpacks the .deb into a scratch folder (nothing is installed) and checks
# its contents and programs. It needs dpkg-deb, and skips (77) where another tool it uses
# (dpkg-shlibdeps, file, desktop-file-validate, man) is missing.
if(QDVZ_BUILD_TESTS)
  find_program(QDVZ_DPKG_DEB dpkg-deb)
  if(QDVZ_DPKG_DEB)
    if(TARGET henkan)
      set(qdvz_gui gui)
    else()
      set(qdvz_gui nogui)
    endif()
    add_test(NAME package_test
             COMMAND ${PROJECT_SOURCE_DIR}/tests/package/package_test.sh
                     ${PROJECT_BINARY_DIR} ${PROJECT_SOURCE_DIR}
                     ${PROJECT_BINARY_DIR}/package_test ${qdvz_gui})
    # Not while a test of tests/layers builds in the tree.
    set_tests_properties(package_test PROPERTIES LABELS package TIMEOUT 300
                                                 SKIP_RETURN_CODE 77 RESOURCE_LOCK qdvz_build_tree)
  endif()
endif()
