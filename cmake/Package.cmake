# The AppStream description, and a Debian package of everything `cmake --install` puts in place.
#
#   cd build && cpack -G DEB        ->  marten-onboarding_<version>_<arch>.deb
#
# The package installs under /usr whatever CMAKE_INSTALL_PREFIX the build was configured with;
# the programs find their media relative to themselves, so nothing in them depends on it.

install(FILES "${CMAKE_SOURCE_DIR}/dist/com.marten.Onboarding.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/metainfo")

# A manual page for each program, and the package's copyright and changelog, compressed as
# Debian wants them (gzip -9n: no name or time stamp, so the same input gives the same bytes).
set(MARTEN_DEBIAN_DIR "${CMAKE_SOURCE_DIR}/dist/debian")
set(marten_gzipped)
foreach(source IN ITEMS "man/MartenOnboarding.1" "man/MartenOnboarding_Simple.1" "debian/changelog")
    get_filename_component(name "${source}" NAME)
    set(gz "${CMAKE_BINARY_DIR}/dist/${name}.gz")
    add_custom_command(
        OUTPUT "${gz}"
        COMMAND gzip -9n -c "${CMAKE_SOURCE_DIR}/dist/${source}" > "${gz}"
        DEPENDS "${CMAKE_SOURCE_DIR}/dist/${source}"
        COMMENT "Compressing ${name}")
    list(APPEND marten_gzipped "${gz}")
endforeach()
add_custom_target(marten-gzipped-docs ALL DEPENDS ${marten_gzipped})
install(FILES "${CMAKE_BINARY_DIR}/dist/MartenOnboarding.1.gz"
              "${CMAKE_BINARY_DIR}/dist/MartenOnboarding_Simple.1.gz"
        DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES "${MARTEN_DEBIAN_DIR}/copyright" "${CMAKE_BINARY_DIR}/dist/changelog.gz"
        DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/doc/marten-onboarding")

set(CPACK_PACKAGE_NAME "marten-onboarding")
set(CPACK_PACKAGE_VENDOR "Marten")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(MARTEN_PACKAGE_MAINTAINER "Marten <packages@marten.invalid>"
    CACHE STRING "Maintainer field of the Debian package (name <address>)")
set(CPACK_PACKAGE_CONTACT "${MARTEN_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "first-run setup for Marten push-to-talk dictation")
# Lines of the long description, kept short for the control file.
set(CPACK_PACKAGE_DESCRIPTION
    "Checks what this computer still needs before Marten dictation works: input"
    "access for the push-to-talk key, a signed-in account and a plan. It walks the"
    "user through each open step, then gets out of the way."
    "MartenOnboarding works together with the running Marten application, and"
    "MartenOnboarding_Simple signs in through the browser.")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
# A plain `cpack` (or the `package` target) makes the .deb.
set(CPACK_GENERATOR "DEB")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# Library dependencies come from dpkg-shlibdeps. Plug-ins Qt loads at run time are covered
# by those: the X11 and offscreen platforms and the GIF reader ship in libqt6gui6, the SVG
# icon engine and image format in libqt6svg6, and the programs link both. What nothing links
# is listed by hand:
#   fonts-inter             the interface font, asked for by family name
#   fonts-noto-color-emoji  its fallback for the emoji in the texts
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-inter, fonts-noto-color-emoji")
#   qt6-wayland  the native Wayland platform plugin; without it Qt runs on X11 through XWayland
#   pkexec       asks for the user's consent before anything privileged runs to grant input
#                access
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, pkexec")
# On purge, postrm removes the two files the input-access helper wrote to /etc.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA "${MARTEN_DEBIAN_DIR}/postrm")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
