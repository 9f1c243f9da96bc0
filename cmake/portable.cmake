# One static library per portable layer, each linked to the layers it uses and to no higher one.
include(${CMAKE_CURRENT_LIST_DIR}/layers.cmake)

# Every build checks the includes first, header-only ones included: linking alone would miss those.
file(GLOB_RECURSE TINTAL_ALL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.h ${CMAKE_SOURCE_DIR}/src/*.cpp)
set(TINTAL_LAYER_STAMP ${CMAKE_BINARY_DIR}/layer_check.stamp)
add_custom_command(OUTPUT ${TINTAL_LAYER_STAMP}
                   COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR}/src -DSTAMP=${TINTAL_LAYER_STAMP}
                           -P ${CMAKE_SOURCE_DIR}/cmake/layer_check.cmake
                   DEPENDS ${TINTAL_ALL_SOURCES} ${CMAKE_SOURCE_DIR}/cmake/layer_check.cmake
                           ${CMAKE_SOURCE_DIR}/cmake/layers.cmake
                   COMMENT "Checking the includes against the layers")
add_custom_target(layer_check DEPENDS ${TINTAL_LAYER_STAMP})

# tintal_layer(<layer> [PUBLIC|PRIVATE <lower layer>...]): the library tintal_<layer> of the layer's folders.
function(tintal_layer layer)
  set(sources "")
  foreach(folder ${TINTAL_LAYER_FOLDERS_${layer}})
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${folder}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  # A layer of headers alone is an interface library: what it uses, its users use.
  if(sources)
    add_library(tintal_${layer} STATIC ${sources})
    set(scope PUBLIC)
  else()
    add_library(tintal_${layer} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_include_directories(tintal_${layer} ${scope} ${CMAKE_SOURCE_DIR}/src)
  add_dependencies(tintal_${layer} layer_check)
  set(links "")
  foreach(item ${ARGN})
    if(item MATCHES "^(PUBLIC|PRIVATE)$")
      if(NOT sources)
        set(item INTERFACE)
      endif()
      list(APPEND links ${item})
    else()
      list(APPEND links tintal_${item})
    endif()
  endforeach()
  if(links)
    target_link_libraries(tintal_${layer} ${links})
  endif()
endfunction()

# PUBLIC where the layer's headers include the lower layer's.
tintal_layer(base)
tintal_layer(platform PRIVATE base)
tintal_layer(widgets PUBLIC platform)
tintal_layer(weather PUBLIC widgets platform PRIVATE base)
tintal_layer(core PUBLIC weather widgets platform PRIVATE base)
tintal_layer(radio PUBLIC core widgets platform PRIVATE base)
tintal_layer(config PUBLIC widgets platform base PRIVATE radio core weather)
tintal_layer(shell PUBLIC config radio core weather widgets platform PRIVATE base)

# nlohmann/json (header-only, Debian's nlohmann-json3-dev) reads the Pioupiou answers. Only its own
# folder is exposed through a link, so a cross build does not see the host's other headers.
find_path(TINTAL_NLOHMANN_DIR nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/third_party)
file(CREATE_LINK ${TINTAL_NLOHMANN_DIR}/nlohmann ${CMAKE_BINARY_DIR}/third_party/nlohmann SYMBOLIC)
target_include_directories(tintal_weather SYSTEM PRIVATE ${CMAKE_BINARY_DIR}/third_party)
# The companion listener is a std::thread.
find_package(Threads REQUIRED)
target_link_libraries(tintal_radio PUBLIC Threads::Threads)

# Everything portable, for the programs, tests, fuzz targets and benchmarks that use all of it.
add_library(tintal_portable INTERFACE)
target_link_libraries(tintal_portable INTERFACE tintal_shell)
