# Our own media (the welcome animation at 1x and 2x, and its still frame), drawn by
# assets/make_glowy.py. glowy@2x.gif is played instead of glowy.gif on screens above 1x.
#
# Build tree: copied to <build>/assets, which the asset lookup reaches from <build>/bin as
# "../assets". Other generated media land in that folder too, so only these files are touched.
# Installed: into the resource folder (<prefix>/share/marten-onboarding).

set(MARTEN_ASSET_FILES glowy.gif glowy@2x.gif glowy.png)

set(MARTEN_BUILD_ASSETS)
set(MARTEN_INSTALL_ASSETS)
foreach(asset IN LISTS MARTEN_ASSET_FILES)
    set(src "${MARTEN_ASSETS_SRC}/${asset}")
    set(dst "${CMAKE_BINARY_DIR}/assets/${asset}")
    add_custom_command(
        OUTPUT "${dst}"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_BINARY_DIR}/assets"
        COMMAND ${CMAKE_COMMAND} -E copy_if_different "${src}" "${dst}"
        DEPENDS "${src}"
        COMMENT "Copying ${asset} into the build's assets folder"
        VERBATIM)
    list(APPEND MARTEN_BUILD_ASSETS "${dst}")
    list(APPEND MARTEN_INSTALL_ASSETS "${src}")
endforeach()

add_custom_target(marten_assets ALL DEPENDS ${MARTEN_BUILD_ASSETS})

install(FILES ${MARTEN_INSTALL_ASSETS} DESTINATION "${MARTEN_DATA_SUBDIR}")

# Redraws the committed art after a change to the script (not part of a normal build).
find_package(Python3 COMPONENTS Interpreter QUIET)
if(Python3_Interpreter_FOUND)
    add_custom_target(marten_redraw_assets
        COMMAND "${Python3_EXECUTABLE}" "${MARTEN_ASSETS_SRC}/make_glowy.py" "${MARTEN_ASSETS_SRC}"
        COMMENT "Redrawing glowy.gif, glowy@2x.gif and glowy.png"
        VERBATIM)
endif()
