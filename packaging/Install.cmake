# Installation of Devimax as a desktop program, and its Debian package (CPack).
# Included from the top-level CMakeLists.txt after the targets are defined.
include(GNUInstallDirs)

set(DEVIMAX_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})

install(TARGETS devimax-mdb RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The rate file a new user starts from; the launcher copies it into the user's folder.
install(FILES ${CMAKE_BINARY_DIR}/run/buro.mdb
        DESTINATION ${CMAKE_INSTALL_DATADIR}/devimax)

if(TARGET devimax)
    install(TARGETS devimax RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

    # The launcher finds the default rate file relative to itself, and falls back on
    # the configured absolute path.
    file(RELATIVE_PATH DEVIMAX_BIN_TO_DATA
         ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR})
    if(DEVIMAX_BIN_TO_DATA STREQUAL "")
        set(DEVIMAX_BIN_TO_DATA .)
    endif()
    set(DEVIMAX_FULL_DEFAULT_MDB ${CMAKE_INSTALL_FULL_DATADIR}/devimax/buro.mdb)
    set(DEVIMAX_FULL_PROGRAM ${CMAKE_INSTALL_FULL_BINDIR}/devimax)
    configure_file(${DEVIMAX_PACKAGING_DIR}/devimax-launcher.in
                   ${CMAKE_BINARY_DIR}/packaging/devimax-launcher @ONLY)
    install(PROGRAMS ${CMAKE_BINARY_DIR}/packaging/devimax-launcher
            DESTINATION ${CMAKE_INSTALL_BINDIR})

    install(FILES ${DEVIMAX_PACKAGING_DIR}/devimax.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    # AppStream wants a reverse-DNS component id and the file named after it; the
    # component's launchable is devimax.desktop.
    install(FILES ${DEVIMAX_PACKAGING_DIR}/org.example.devimax.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    # PNGs at 16 to 256 pixels and an SVG, made by packaging/make-icons.sh.
    install(DIRECTORY ${DEVIMAX_PACKAGING_DIR}/icons/hicolor
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
endif()

# Debian package: cmake --build build-package --target package (or scripts/package.sh).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME devimax)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Devimax developers")
set(CPACK_PACKAGE_CONTACT "Devimax developers <devimax@example.org>")
# The synopsis line of the package; CPACK_DEBIAN_PACKAGE_DESCRIPTION below is the rest.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "calculatrice de change en euros / euro exchange calculator")
set(CPACK_PACKAGE_INSTALL_DIRECTORY devimax)
# The package installs where the launcher was configured to look.
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_NAME devimax)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Devimax developers <devimax@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2, fonts-comic-neue")
# The Qt platform plugins are loaded at run time, so dpkg-shlibdeps does not see them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Devimax est une petite calculatrice de change en euros. Sous l'affichage
principal, un second affichage montre le même montant converti entre l'euro
et le franc français, le dollar américain ou le mark allemand.

Devimax is a small euro exchange calculator. Under the main display a second
display shows the same amount exchanged between the euro and the French
franc, the US dollar or the Deutsche mark.")

include(CPack)
