# vesk_add_resource(TARGET NAME TYPE FILE)
# Compiles the bytes of FILE into TARGET as the resource NAME of type TYPE,
# found at run time with vesk::FindResource (archive/resources.h). The bytes
# go into a generated source that registers them while the program starts;
# it is regenerated whenever FILE changes. Add resources to the executable
# itself, not to a static library, so the registration is not dropped.
set(VESK_EMBED_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/VeskEmbed.cmake)

function(vesk_add_resource target name type file)
  get_filename_component(abs ${file} ABSOLUTE)
  string(MAKE_C_IDENTIFIER "${target}_${type}_${name}" id)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/resources/${id}.cpp)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DIN=${abs} -DOUT=${out} -DNAME=${name} -DTYPE=${type} -DID=${id}
            -P ${VESK_EMBED_SCRIPT}
    DEPENDS ${abs} ${VESK_EMBED_SCRIPT}
    COMMENT "Embedding ${name} (${type})"
    VERBATIM)
  target_sources(${target} PRIVATE ${out})
endfunction()

# vesk_add_resource_module(TARGET)
# Makes the shared library TARGET a module whose resources (added with
# vesk_add_resource) a player can open as archives: it exports their lookup.
# The engine code linked in for it stays private to the library.
function(vesk_add_resource_module target)
  target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/archive/resource_export.cpp)
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${target} PRIVATE vesk_archive)
  target_link_options(${target} PRIVATE -Wl,--exclude-libs,ALL)
  set_target_properties(${target} PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
endfunction()
