# The VERSIONINFO resource of each Windows program, which Explorer's Properties show: made
# from the project's version, so that the programs always say the version they are.
if(NOT WIN32)
  function(qdvz_version_resource)
  endfunction()
  return()
endif()

enable_language(RC)
set(QDVZ_PRODUCT_NAME "qdvz（QD→VZ線変形データ変換）")
set(QDVZ_COPYRIGHT "Copyright (C) 2026 qdvz maintainers")

# qdvz_version_resource(TARGET DESCRIPTION): gives the program TARGET.exe its resource, with the
# Japanese DESCRIPTION.
function(qdvz_version_resource target description)
  set(QDVZ_INTERNAL_NAME ${target})
  set(QDVZ_FILE_NAME ${target}.exe)
  set(QDVZ_FILE_DESCRIPTION "${description}")
  set(resource ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${resource} @ONLY)
  target_sources(${target} PRIVATE ${resource})
endfunction()
