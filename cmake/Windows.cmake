# The Windows program: its resources (icon, manifest, version, all from
# project()) and the files of its zip, the .exe and README.txt side by side.
enable_language(RC)
set(COLLATZPERM_VERSION_COMMAS
    "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
set(COLLATZPERM_VERSION_QUAD
    "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
set(COLLATZPERM_DESCRIPTION "${PROJECT_DESCRIPTION}")
set(COLLATZPERM_ICON ${PROJECT_SOURCE_DIR}/app/windows/collatzperm.ico)
set(COLLATZPERM_MANIFEST ${PROJECT_BINARY_DIR}/collatzperm.manifest)
configure_file(app/windows/collatzperm.manifest.in ${COLLATZPERM_MANIFEST} @ONLY)
configure_file(app/windows/collatzperm.rc.in ${PROJECT_BINARY_DIR}/collatzperm.rc @ONLY)
target_sources(collatzperm PRIVATE ${PROJECT_BINARY_DIR}/collatzperm.rc)
set_source_files_properties(${PROJECT_BINARY_DIR}/collatzperm.rc PROPERTIES
  OBJECT_DEPENDS "${COLLATZPERM_ICON};${COLLATZPERM_MANIFEST}")

# Git keeps README.txt with LF like every other file, so it diffs and merges
# as they do; the zip gets the CR LF of a Windows text file from here, however
# git was set up on the machine that built it.
configure_file(app/windows/README.txt ${PROJECT_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)
install(TARGETS collatzperm RUNTIME DESTINATION .)
install(FILES ${PROJECT_BINARY_DIR}/README.txt DESTINATION .)
# The zip needs the program alone, not the test suite that this build folder
# may hold too; make package-windows builds the program before it packs.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
