# What `cmake --install` puts where (below the prefix):
#   lib/brikka/            the program folder: the game and the assets it reads beside it
#   bin/brikka             a link to the game
#   bin/brikka-ftp         the FTP tool
#   share/applications/    the desktop entry, share/icons/hicolor/ its icon in each size
# Settings and highscores go beside the game only where that folder can be written; an
# installed game usually keeps them in the user's data folder instead (platform/data_folder.h).
include(GNUInstallDirs)
set(BRIKKA_INSTALL_APPDIR "${CMAKE_INSTALL_LIBDIR}/brikka" CACHE STRING
    "The installed game's program folder, below the prefix")

install(TARGETS brikka RUNTIME DESTINATION ${BRIKKA_INSTALL_APPDIR})
install(TARGETS brikka-ftp RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${BRIKKA_APP_DIR}/Texs ${BRIKKA_APP_DIR}/Sounds
        DESTINATION ${BRIKKA_INSTALL_APPDIR})
install(FILES ${BRIKKA_APP_DIR}/bck.mid DESTINATION ${BRIKKA_INSTALL_APPDIR})
install(DIRECTORY ${BRIKKA_ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# The link and the desktop entry name the game where it finally lives, which only the
# install step knows (the prefix may be given to `cmake --install`).
configure_file(${CMAKE_CURRENT_LIST_DIR}/install_launcher.cmake.in
               ${CMAKE_BINARY_DIR}/install_launcher.cmake @ONLY)
install(SCRIPT ${CMAKE_BINARY_DIR}/install_launcher.cmake)
