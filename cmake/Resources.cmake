# Files below resources/<module>/ are compiled into a table of numbered
# resources. A file is named "<number>_<anything>.<kind>"; rcgen says which
# kinds it converts (text is turned into the system's character set).

add_executable(rcgen ${CMAKE_SOURCE_DIR}/tools/rcgen/rcgen.cpp)
target_include_directories(rcgen PRIVATE ${CMAKE_SOURCE_DIR})

function(zel_resources target module dir)
  file(GLOB_RECURSE files CONFIGURE_DEPENDS ${dir}/*)
  list(FILTER files EXCLUDE REGEX "(/README[^/]*|/\\.[^/]*|~)$")
  set(out ${CMAKE_BINARY_DIR}/generated/resources_${module}.cpp)
  add_custom_command(
    OUTPUT ${out}
    COMMAND rcgen ${module} ${out} ${files}
    DEPENDS rcgen ${files}
    COMMENT "Compiling resources of ${module}"
    VERBATIM)
  add_library(${target} STATIC ${out})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
endfunction()
