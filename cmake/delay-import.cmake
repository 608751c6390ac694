# Delay-loaded system DLLs: a DLL that the program needs only for a dialog or a feature that may be
# off is loaded at its first call, not at start-up, so the window shows sooner. dlltool makes a
# delay-import library from a list of the functions the program may call; the loader helper comes
# from mingw-w64's libdelayimp.
#
# Each list names the functions the program may call in that DLL.
# Only the 64-bit build delay-loads: binutils' 32-bit delay-import thunks call address 0 (seen with
# binutils 2.40), so the 32-bit build keeps ordinary imports.
set(TOMEL_DELAY_comdlg32 GetOpenFileNameW GetSaveFileNameW ChooseFontW ChooseColorW GetFileTitleW
    CommDlgExtendedError)
set(TOMEL_DELAY_winmm mciSendStringW mciGetErrorStringW PlaySoundW)

find_program(TOMEL_DLLTOOL NAMES ${TOMEL_TRIPLE}-dlltool REQUIRED)

function(tomel_delay_import target)
  if(NOT TOMEL_BITS EQUAL 64)
    return()
  endif()
  foreach(dll ${ARGN})
    set(def ${CMAKE_BINARY_DIR}/delay/${dll}.def)
    set(lib ${CMAKE_BINARY_DIR}/delay/lib${dll}_delay.a)
    set(text "LIBRARY ${dll}.dll\nEXPORTS\n")
    foreach(name ${TOMEL_DELAY_${dll}})
      string(APPEND text "${name}\n")
    endforeach()
    file(WRITE ${def} "${text}")
    add_custom_command(OUTPUT ${lib}
      COMMAND ${TOMEL_DLLTOOL} -d ${dll}.def -D ${dll}.dll -y lib${dll}_delay.a
      WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/delay   # names inside the library come from its file name
      DEPENDS ${def} ${CMAKE_SOURCE_DIR}/cmake/delay-import.cmake VERBATIM)
    add_custom_target(${target}_delay_${dll} DEPENDS ${lib})
    add_dependencies(${target} ${target}_delay_${dll})
    # Ahead of the system's own import library, which the shell library also names.
    target_link_libraries(${target} PRIVATE ${lib})
  endforeach()
  target_link_libraries(${target} PRIVATE delayimp)
endfunction()
