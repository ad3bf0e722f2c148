# Parts loaded when first used: plugins with a heavy library of their own (see
# src/platform/parts.h). They go to build/parts beside the program, and are installed
# to <libdir>/zorivka/parts, found from the executable through a relative path.
include(GNUInstallDirs)
# Two levels below lib/, so that the package does not run ldconfig for plugins.
set(ZORIVKA_PARTS_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/zorivka/parts)
file(RELATIVE_PATH ZORIVKA_PARTS_RELATIVE_DIR
    ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${ZORIVKA_PARTS_INSTALL_DIR})

# zorivka_add_part(<name> SOURCES <files...> LIBRARIES <libraries...>)
# builds the part "<name>" as build/parts/libzorivka-<name>.so (zorivka-<name>.dll).
function(zorivka_add_part name)
    cmake_parse_arguments(PART "" "" "SOURCES;LIBRARIES" ${ARGN})
    foreach(library IN LISTS PART_LIBRARIES)
        if(library MATCHES "^zorivka_")
            message(FATAL_ERROR "The part ${name} links ${library}: a part must not carry "
                "the program's static libraries a second time; give it an interface instead.")
        endif()
    endforeach()
    set(target zorivka_part_${name})
    add_library(${target} MODULE ${PART_SOURCES})
    target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${target} PRIVATE Qt6::Core ${PART_LIBRARIES})
    set_target_properties(${target} PROPERTIES
        OUTPUT_NAME zorivka-${name}
        LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/parts
        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/parts
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON)
    if(WIN32)
        set_target_properties(${target} PROPERTIES PREFIX "")
    endif()
    # The program finds its parts beside it: building the program builds them.
    add_dependencies(zorivka ${target})
    install(TARGETS ${target} LIBRARY DESTINATION ${ZORIVKA_PARTS_INSTALL_DIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}/parts)
endfunction()
