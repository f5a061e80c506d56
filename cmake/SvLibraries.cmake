# A static library of the sources, built with the project's warnings.
function(sv_library name)
  add_library(${name} STATIC ${ARGN})
  target_compile_options(${name} PRIVATE ${SV_WARNINGS})
endfunction()

# A library whose classes reach the class registry from static initialisers
# (the layouts name them): the archive <name>_lib of the sources, and the
# target <name>, through which executables take the archive whole. Link it
# through <name> only; its own links go on <name>_lib.
function(sv_registry_library name)
  sv_library(${name}_lib ${ARGN})
  add_library(${name} INTERFACE)
  target_link_libraries(${name} INTERFACE "$<LINK_LIBRARY:WHOLE_ARCHIVE,${name}_lib>")
endfunction()

# A program of the sources, built with the project's warnings.
function(sv_executable name)
  add_executable(${name} ${ARGN})
  target_compile_options(${name} PRIVATE ${SV_WARNINGS})
endfunction()

# A module users run (the program and the libraries it loads at start): its
# sections lie on page boundaries in the file, so that Wine maps it rather
# than reading it whole, and it carries no debug information, which Wine
# would read with it (a 2.6 MB movie layer took 10 ms to load, 1.7 ms so).
# Debuggers find that information beside it, through the module's link.
function(sv_shipped_module name)
  target_link_options(${name} PRIVATE -Wl,--file-alignment,0x1000)
  add_custom_command(TARGET ${name} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${name}> $<TARGET_FILE:${name}>.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=$<TARGET_FILE_NAME:${name}>.debug
            $<TARGET_FILE:${name}>
    WORKING_DIRECTORY $<TARGET_FILE_DIR:${name}>)
endfunction()
