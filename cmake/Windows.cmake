# The Windows program's resources: icon, manifest and version, all from
# project().
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
