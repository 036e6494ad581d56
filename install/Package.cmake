# The installation package in the staging folder: the registry files made
# from EffectList.cmake, the manifest and the Windows install commands.
set(PAD_PACKAGE_DIR ${CMAKE_SOURCE_DIR}/install)
set(PAD_PACKAGE_TEXTS
    ${PAD_PACKAGE_DIR}/manifest.txt
    ${PAD_PACKAGE_DIR}/pad-install.bat
    ${PAD_PACKAGE_DIR}/pad-uninstall.bat)
set(PAD_PACKAGE_OUTPUTS
    ${PAD_DIST_DIR}/pad-register.reg
    ${PAD_DIST_DIR}/pad-unregister.reg
    ${PAD_DIST_DIR}/pad-manifest.txt
    ${PAD_DIST_DIR}/pad-install.bat
    ${PAD_DIST_DIR}/pad-uninstall.bat)
string(REPLACE ";" "|" texts "${PAD_PACKAGE_TEXTS}")  # one argument through the command line
add_custom_command(
  OUTPUT ${PAD_PACKAGE_OUTPUTS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PAD_DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -DOUT_DIR=${PAD_DIST_DIR} "-DCRLF_FILES=${texts}"
          -P ${PAD_PACKAGE_DIR}/RegistryText.cmake
  COMMAND ${CMAKE_COMMAND} -E rename ${PAD_DIST_DIR}/manifest.txt ${PAD_DIST_DIR}/pad-manifest.txt
  DEPENDS ${PAD_PACKAGE_DIR}/RegistryText.cmake ${PAD_PACKAGE_DIR}/EffectList.cmake ${PAD_PACKAGE_TEXTS}
  COMMENT "Writing the installation package's registry files and commands"
  VERBATIM)
add_custom_target(pad_package ALL DEPENDS ${PAD_PACKAGE_OUTPUTS})
