# The VS Code extension packed as build/packages/railscen-descriptions-VERSION.vsix with
# @vscode/vsce as locked in packaging/vsce, with its dependency (vscode-languageclient, as
# locked in editors/package-lock.json) inside. Both are installed by scripts/install-deps; the
# extension is packed with the tests, which check it.
if(NOT RAILSCEN_TESTS OR CMAKE_CROSSCOMPILING OR NOT TARGET railscen)
  return()
endif()
find_program(NODE_EXECUTABLE node)
if(NOT NODE_EXECUTABLE)
  return()
endif()
set(vsce ${PROJECT_SOURCE_DIR}/packaging/vsce/node_modules/@vscode/vsce/vsce)
set(modules ${PROJECT_SOURCE_DIR}/editors/node_modules)
set(stage ${CMAKE_BINARY_DIR}/vsix)
set(RAILSCEN_VSIX ${CMAKE_BINARY_DIR}/packages/railscen-descriptions-${PROJECT_VERSION}.vsix)
add_custom_command(
  OUTPUT ${RAILSCEN_VSIX}
  COMMAND ${CMAKE_COMMAND} -DFILES=${vsce}|${modules}/.package-lock.json
          -P ${PROJECT_SOURCE_DIR}/cmake/require-npm-packages.cmake
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}
  COMMAND ${CMAKE_COMMAND} -E copy ${RAILSCEN_EDITOR_FILES} ${RAILSCEN_EDITORS_DIR}/package.json
          ${stage}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${modules} ${stage}/node_modules
  COMMAND ${CMAKE_COMMAND} -E chdir ${stage} ${NODE_EXECUTABLE} ${vsce} package --skip-license --allow-missing-repository
          --out ${RAILSCEN_VSIX}
  DEPENDS ${RAILSCEN_EDITOR_FILES} ${RAILSCEN_EDITORS_DIR}/package.json
          ${PROJECT_SOURCE_DIR}/editors/package-lock.json
          ${PROJECT_SOURCE_DIR}/packaging/vsce/package-lock.json
  COMMENT "Packing the VS Code extension"
  VERBATIM)
add_custom_target(railscen_vsix ALL DEPENDS ${RAILSCEN_VSIX})
