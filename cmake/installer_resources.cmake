# The installer's resource script (resources/installer.rc: dialogs, icon,
# manifest and the PNG image families drawn at build time) compiled into a
# program of its folder. Source properties belong to one folder, so every
# folder that compiles the script sets its dependencies again here: a
# changed image, dialog or manifest rebuilds every program that carries it.
# src/app records the generated files in the global property
# PICTORA_RESOURCE_DEPENDS before any other folder uses this.
function(pictora_add_installer_resources target)
  set(script ${CMAKE_SOURCE_DIR}/resources/installer.rc)
  get_property(depends GLOBAL PROPERTY PICTORA_RESOURCE_DEPENDS)
  target_sources(${target} PRIVATE ${script})
  set_property(SOURCE ${script} APPEND PROPERTY OBJECT_DEPENDS ${depends})
  target_include_directories(${target} PRIVATE ${CMAKE_BINARY_DIR}/resources ${CMAKE_SOURCE_DIR}/resources)
  add_dependencies(${target} installer_images installer_icon)
endfunction()
