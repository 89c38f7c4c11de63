# What `cmake --install` puts on a machine, and the Debian package of it.
include(GNUInstallDirs)
set(QS_APP_ID org.quarrystead.Quarrystead)
set(QS_DATA ${PROJECT_SOURCE_DIR}/data)

install(TARGETS quarrystead qrd RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS qrd_render_module LIBRARY DESTINATION ${QS_MODULE_DIR})
install(FILES ${QS_DATA}/${QS_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${QS_DATA}/${QS_APP_ID}.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
configure_file(${QS_DATA}/${QS_APP_ID}.metainfo.xml ${PROJECT_BINARY_DIR}/${QS_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/${QS_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${QS_DATA}/icons/${QS_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# Manual pages and the package's changelog, compressed as Debian has them
# (gzip -n: the same bytes from every build).
set(QS_GZIPPED "")
foreach(file IN ITEMS docs/man/quarrystead.1 docs/man/qrd.1 data/debian/changelog)
  get_filename_component(name ${file} NAME)
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/gz/${name}.gz
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/gz
                     COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/${file} > ${PROJECT_BINARY_DIR}/gz/${name}.gz
                     DEPENDS ${PROJECT_SOURCE_DIR}/${file})
  list(APPEND QS_GZIPPED ${PROJECT_BINARY_DIR}/gz/${name}.gz)
endforeach()
add_custom_target(gzipped ALL DEPENDS ${QS_GZIPPED})
install(FILES ${PROJECT_BINARY_DIR}/gz/quarrystead.1.gz ${PROJECT_BINARY_DIR}/gz/qrd.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_BINARY_DIR}/gz/changelog.gz ${QS_DATA}/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quarrystead)

# The PNG icons, drawn by the window's own icon code.
add_executable(makeicons ${PROJECT_SOURCE_DIR}/tools/makeicons.cpp)
target_link_libraries(makeicons PRIVATE quarrystead_view)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/icons/256x256/apps/${QS_APP_ID}.png
                   COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:makeicons>
                           ${PROJECT_BINARY_DIR}/icons
                   DEPENDS makeicons)
add_custom_target(icons ALL DEPENDS ${PROJECT_BINARY_DIR}/icons/256x256/apps/${QS_APP_ID}.png)
install(DIRECTORY ${PROJECT_BINARY_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

# Looks up a file name's MIME type, for the package test.
find_package(Qt6 6.4 REQUIRED COMPONENTS Core)
add_executable(mimetype ${PROJECT_SOURCE_DIR}/tools/mimetype.cpp)
target_link_libraries(mimetype PRIVATE Qt6::Core)
set_target_properties(mimetype PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quarrystead)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Quarrystead developers <developers@quarrystead.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for maps made of blocks")
# The long description, after the summary, in lines of at most 80
# characters.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Quarrystead places up to 1000 rotated rectangular blocks on a ground plane,
shows them from above and in 3D, lists them as rows and opens and saves them
as map files (.QRD). The qrd command looks into map files from the command
line.")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_SOURCE_DIR}/build)
set(CPACK_STRIP_FILES ON)
include(CPack)
