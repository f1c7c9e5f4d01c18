# The privileged helper that grants input access in the running login, and the polkit action
# through which pkexec runs it. The action names the helper by its absolute installed path:
# the build tree's copy of the policy names the prefix chosen at configure time, and the
# installed copy is written again at install time for the prefix actually installed to (a
# package installs to /usr whatever the build was configured with).
set(MARTEN_GRANT_HELPER_PATH
    "${CMAKE_INSTALL_FULL_LIBEXECDIR}/marten-onboarding/grant-input-access")
set(MARTEN_GRANT_HELPER_SRC "${CMAKE_SOURCE_DIR}/dist/grant-input-access")
set(MARTEN_POLICY_FILE "${CMAKE_BINARY_DIR}/dist/com.marten.onboarding.policy")

configure_file("${CMAKE_SOURCE_DIR}/dist/com.marten.onboarding.policy.in"
               "${MARTEN_POLICY_FILE}" @ONLY)

# A copy in the build tree, at the same relative place as when installed.
set(MARTEN_GRANT_HELPER_BUILD "${CMAKE_BINARY_DIR}/libexec/marten-onboarding/grant-input-access")
add_custom_command(
    OUTPUT "${MARTEN_GRANT_HELPER_BUILD}"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${CMAKE_BINARY_DIR}/libexec/marten-onboarding"
    COMMAND "${CMAKE_COMMAND}" -E copy "${MARTEN_GRANT_HELPER_SRC}" "${MARTEN_GRANT_HELPER_BUILD}"
    DEPENDS "${MARTEN_GRANT_HELPER_SRC}"
    COMMENT "Copying grant-input-access into the build tree"
    VERBATIM)
add_custom_target(marten-grant-helper ALL DEPENDS "${MARTEN_GRANT_HELPER_BUILD}")

install(PROGRAMS "${MARTEN_GRANT_HELPER_SRC}"
        DESTINATION "${CMAKE_INSTALL_LIBEXECDIR}/marten-onboarding")
# polkit reads actions from /usr/share/polkit-1/actions only, so the action is installed with
# a /usr prefix alone (a package's). Under any other prefix the helper may belong to a user
# who could rewrite it; the program then runs it only if root owns it and its folders, as
# the generic pkexec action, and otherwise shows the commands.
set(MARTEN_POLICY_TEMPLATE "${CMAKE_SOURCE_DIR}/dist/com.marten.onboarding.policy.in")
install(CODE "
    if(CMAKE_INSTALL_PREFIX STREQUAL \"/usr\")
        set(MARTEN_GRANT_HELPER_PATH \"/usr/${CMAKE_INSTALL_LIBEXECDIR}/marten-onboarding/grant-input-access\")
        configure_file(\"${MARTEN_POLICY_TEMPLATE}\" \"${CMAKE_BINARY_DIR}/dist/install/com.marten.onboarding.policy\" @ONLY)
        file(INSTALL \"${CMAKE_BINARY_DIR}/dist/install/com.marten.onboarding.policy\"
             DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATAROOTDIR}/polkit-1/actions\")
    else()
        message(STATUS \"Not installing the polkit action: polkit reads it under /usr only\")
    endif()
")

# pkexec is run by the absolute path found here, never looked up on PATH when the program
# runs. Only the system's folders are searched; without pkexec there, its usual place.
find_program(MARTEN_PKEXEC pkexec PATHS /usr/bin /bin NO_DEFAULT_PATH
             DOC "pkexec, run by this absolute path to grant input access")
if(NOT MARTEN_PKEXEC)
    set(MARTEN_PKEXEC /usr/bin/pkexec CACHE FILEPATH
        "pkexec, run by this absolute path to grant input access" FORCE)
endif()
target_compile_definitions(marten_app PRIVATE MARTEN_PKEXEC_PATH="${MARTEN_PKEXEC}")
