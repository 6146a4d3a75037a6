# Helpers that keep the top-level build short: every source folder becomes one
# static part, found by globbing, so a new file needs no edit here.

set(ZEL_EMPTY_SOURCE ${CMAKE_BINARY_DIR}/generated/empty.cpp)
file(WRITE ${ZEL_EMPTY_SOURCE} "// a part with no sources yet\n")

function(zel_sources out)
  set(all)
  foreach(folder IN LISTS ARGN)
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
    list(APPEND all ${found})
  endforeach()
  set(${out} ${all} PARENT_SCOPE)
endfunction()

# zel_module(target folder...) - one static part of a deliverable
function(zel_module target)
  zel_sources(srcs ${ARGN})
  if(NOT srcs)
    set(srcs ${ZEL_EMPTY_SOURCE})
  endif()
  add_library(${target} STATIC ${srcs})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC Threads::Threads)
endfunction()

function(zel_link_modules target)
  target_link_libraries(${target} PUBLIC ${ARGN})
endfunction()

# zel_external(part lib...) - an outside library a part uses; the shared
# library that joins the parts links it too
function(zel_external target)
  target_link_libraries(${target} PUBLIC ${ARGN})
  set_property(GLOBAL APPEND PROPERTY ZEL_EXTERNAL_LIBS ${ARGN})
endfunction()

# zel_library(name part...) - the shared library made of the parts' objects
function(zel_library name)
  set(objects)
  foreach(part IN LISTS ARGN)
    list(APPEND objects $<TARGET_OBJECTS:${part}>)
  endforeach()
  add_library(${name} SHARED ${objects})
  get_property(externals GLOBAL PROPERTY ZEL_EXTERNAL_LIBS)
  target_link_libraries(${name} PUBLIC Threads::Threads ${externals})
  # Clang's sanitizers leave their runtime to the executable.
  if(NOT ZELSAL_FUZZ)
    target_link_options(${name} PRIVATE -Wl,--no-undefined)
  endif()
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
endfunction()

# zel_program(name main.cpp folder...) - the program's code as a static part
# (tests link it) plus the executable around its main
function(zel_program name main)
  zel_sources(srcs ${ARGN})
  list(REMOVE_ITEM srcs ${CMAKE_SOURCE_DIR}/${main})
  if(NOT srcs)
    set(srcs ${ZEL_EMPTY_SOURCE})
  endif()
  add_library(${name}_core STATIC ${srcs})
  target_include_directories(${name}_core PUBLIC ${CMAKE_SOURCE_DIR})
  add_executable(${name} ${main})
  target_link_libraries(${name} PRIVATE ${name}_core)
endfunction()
