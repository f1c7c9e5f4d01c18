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
set(MARTEN_POLICY_TEMPLATE "${CMAKE_SOURCE_DIR}/dist/com.marten.onboarding.policy.in")
install(CODE "
    set(MARTEN_GRANT_HELPER_PATH \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBEXECDIR}/marten-onboarding/grant-input-access\")
    configure_file(\"${MARTEN_POLICY_TEMPLATE}\" \"${CMAKE_BINARY_DIR}/dist/install/com.marten.onboarding.policy\" @ONLY)
")
install(FILES "${CMAKE_BINARY_DIR}/dist/install/com.marten.onboarding.policy"
        DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/polkit-1/actions")
