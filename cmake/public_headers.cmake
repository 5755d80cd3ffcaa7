# quovella_public_headers(TARGET FOLDER): the target and whoever links it include the
# folder's headers as "FOLDER/name.h", and nothing else of the source tree. The include path
# is a directory of the build tree holding one link, named like the folder, to the folder;
# so a file sees a folder's headers only when its target links that folder's library.
function(quovella_public_headers target folder)
  set(dir ${CMAKE_BINARY_DIR}/include/${folder})
  file(MAKE_DIRECTORY ${dir})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${dir}/${folder} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${dir})
endfunction()
