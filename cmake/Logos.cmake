# The social sign-in logos, drawn at build time from bootstrap-icons in each brand's colour.
# They land next to the other media in <build>/assets/ and are installed with them.

add_executable(make-logo tools/make-logo/main.cpp)
target_link_libraries(make-logo PRIVATE Qt6::Gui Qt6::Svg)
set_target_properties(make-logo PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/tools")

set(MARTEN_LOGO_SIZE 64)
set(MARTEN_LOGOS
    "google|#4285F4"
    "facebook|#1877F2")

set(MARTEN_LOGO_FILES)
foreach(entry IN LISTS MARTEN_LOGOS)
    string(REPLACE "|" ";" parts "${entry}")
    list(GET parts 0 brand)
    list(GET parts 1 colour)
    set(svg "${MARTEN_BOOTSTRAP_ICONS_DIR}/${brand}.svg")
    set(png "${CMAKE_BINARY_DIR}/assets/logo-${brand}.png")
    add_custom_command(
        OUTPUT "${png}"
        COMMAND "${CMAKE_COMMAND}" -E make_directory "${CMAKE_BINARY_DIR}/assets"
        COMMAND make-logo "${svg}" "${colour}" ${MARTEN_LOGO_SIZE} "${png}"
        DEPENDS make-logo "${svg}"
        COMMENT "Drawing logo-${brand}.png"
        VERBATIM)
    list(APPEND MARTEN_LOGO_FILES "${png}")
endforeach()

add_custom_target(marten-logos ALL DEPENDS ${MARTEN_LOGO_FILES})
foreach(program MartenOnboarding MartenOnboarding_Simple marten-screenshot)
    if(TARGET ${program})
        add_dependencies(${program} marten-logos)
    endif()
endforeach()

install(FILES ${MARTEN_LOGO_FILES} DESTINATION "${MARTEN_DATA_SUBDIR}")
