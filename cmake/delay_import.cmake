# Delay-load import libraries: a DLL that is not a KnownDLL must not be in
# the executable's static import table, or the loader resolves it before
# the first line of our code runs, from the executable's own folder first.
# Each such DLL gets an import library made by dlltool --output-delaylib
# from cmake/delay/<dll>.def (the functions we call); the DLL then loads at
# its first call, after SetDefaultDllDirectories has restricted the search.
#
#   pictora_delay_import(wininet)  ->  target delay::wininet
function(pictora_delay_import name)
  if(TARGET delay::${name})
    return()
  endif()
  set(def ${CMAKE_SOURCE_DIR}/cmake/delay/${name}.def)
  set(lib ${CMAKE_BINARY_DIR}/delay/lib${name}_delay.a)
  add_custom_command(
    OUTPUT ${lib}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/delay
    COMMAND ${CMAKE_DLLTOOL} --input-def ${def} --dllname ${name}.dll
            --output-delaylib ${lib}
    DEPENDS ${def}
    COMMENT "Delay-load import library for ${name}.dll")
  add_custom_target(delay_${name}_lib DEPENDS ${lib})
  add_library(delay_${name} INTERFACE)
  add_dependencies(delay_${name} delay_${name}_lib)
  # delayimp provides __delayLoadHelper2.
  target_link_libraries(delay_${name} INTERFACE ${lib} delayimp)
  add_library(delay::${name} ALIAS delay_${name})
endfunction()

# The DLLs that the product binds late; the executable's check
# (tools/check_executable.py) finds each of them in its delay imports.
set(PICTORA_DELAY_DLLS wininet msi)
# The drawing toolkit's DLLs, also bound late. They reach the executable
# with the dialogs that use the toolkit; from then on they belong in the
# list above, which the check reads.
set(PICTORA_UI_DELAY_DLLS comctl32 msimg32 oleacc d2d1 dwrite gdiplus)
if(WIN32)
  foreach(dll ${PICTORA_DELAY_DLLS} ${PICTORA_UI_DELAY_DLLS})
    pictora_delay_import(${dll})
  endforeach()
endif()
