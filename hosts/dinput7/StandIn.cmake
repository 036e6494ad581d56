# pad_place_dinput_standin(target): copies the DirectInput stand-in beside a
# program and links the loader that puts it in place at start.
function(pad_place_dinput_standin target)
  add_dependencies(${target} dinput7_standin)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:dinput7_standin> $<TARGET_FILE_DIR:${target}>/dinput.dll)
  target_link_libraries(${target} PRIVATE dinput7_loader)
endfunction()
