# Desktop entries and icon; the executables install from marten_add_program(), media from
# Assets.cmake and Logos.cmake into ${MARTEN_DATA_SUBDIR}.
install(FILES "${CMAKE_SOURCE_DIR}/dist/com.marten.Onboarding.desktop"
              "${CMAKE_SOURCE_DIR}/dist/com.marten.OnboardingSimple.desktop"
        DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/applications")
install(FILES "${CMAKE_SOURCE_DIR}/dist/com.marten.Onboarding.svg"
        DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps")
