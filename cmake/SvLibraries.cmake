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
