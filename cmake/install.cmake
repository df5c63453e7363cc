# What `cmake --install` puts where.
#   cmake --install build --prefix ~/.local
include(GNUInstallDirs)

install(TARGETS qd2vz RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES README.md docs/henkan.md docs/henkan.png DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES examples/sample.dat examples/sizes.qdc DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)

if(UNIX AND NOT APPLE)
  install(FILES packaging/qd2vz.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

if(TARGET henkan)
  install(TARGETS henkan RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  if(UNIX AND NOT APPLE)
    # The menu entry and its icon, under the name the entry gives (Icon=qdvz-henkan).
    install(FILES packaging/qdvz-henkan.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    foreach(size 16 32)
      install(FILES packaging/icons/henkan-${size}.png
              DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
              RENAME qdvz-henkan.png)
    endforeach()
  endif()
endif()
