# Every layer is one static library whose sources are the .cpp files of its folder tree, so adding a
# file needs no edit here. Warnings are on for our code only.
add_library(orvello_warnings INTERFACE)
target_compile_options(orvello_warnings INTERFACE -Wall -Wextra)
if(WIN32)
  # A function pointer cast to another type is an error: the system would call through the wrong
  # signature. Entry points go through win32::entryPoint, which also checks their convention.
  target_compile_options(orvello_warnings INTERFACE -Werror=cast-function-type)
endif()

add_library(orvello_common INTERFACE)
target_include_directories(orvello_common INTERFACE "${PROJECT_SOURCE_DIR}/src")
target_link_libraries(orvello_common INTERFACE orvello_warnings)
if(WIN32)
  # Wide-character Win32 API everywhere; Vista is the oldest system we still start on.
  target_compile_definitions(orvello_common INTERFACE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
    _WIN32_WINNT=0x0601 WINVER=0x0601)
endif()

# orvello_layer(<target> <folder relative to src> [RECURSE] DEPS <targets...>)
function(orvello_layer target folder)
  cmake_parse_arguments(L "RECURSE" "" "DEPS;EXCLUDE" ${ARGN})
  set(dir "${PROJECT_SOURCE_DIR}/src/${folder}")
  if(L_RECURSE)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${dir}/*.cpp")
  else()
    file(GLOB sources CONFIGURE_DEPENDS "${dir}/*.cpp")
  endif()
  foreach(ex IN LISTS L_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "${ex}")
  endforeach()
  if(sources)
    add_library(${target} STATIC ${sources})
    target_link_libraries(${target} PUBLIC orvello_common ${L_DEPS})
  else()
    add_library(${target} INTERFACE)
    target_link_libraries(${target} INTERFACE orvello_common ${L_DEPS})
  endif()
endfunction()
