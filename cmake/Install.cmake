# Installation in the XDG places: the programs in bin, the shipped files
# (language files, help pages, templates, pictures) in share/mavelo, where the
# program looks for them next to its bin folder, and the desktop integration:
# the launcher with its MIME types, the MIME types of list files, the
# program's picture and the AppStream description.
set(MAVELO_APP_ID org.mavelo.Mavelo)
set(packaging ${CMAKE_SOURCE_DIR}/packaging)

install(TARGETS mavelo-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET mavelo)
  install(TARGETS mavelo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(DIRECTORY ${CMAKE_SOURCE_DIR}/share/ DESTINATION ${CMAKE_INSTALL_DATADIR}/mavelo)

install(FILES ${packaging}/${MAVELO_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${packaging}/${MAVELO_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${packaging}/${MAVELO_APP_ID}.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
  RENAME ${MAVELO_APP_ID}.xml)
install(FILES ${CMAKE_SOURCE_DIR}/share/icons/mavelo.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

if(MAVELO_BUILD_TESTS)
  # The launcher and the AppStream file pass the desktop's own checkers.
  add_test(NAME install_desktop_files
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/desktop_files.sh ${packaging})
  # An installation into a temporary prefix finds its shipped files.
  add_test(NAME install_prefix
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/install_prefix.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(install_desktop_files install_prefix PROPERTIES LABELS install)
endif()
