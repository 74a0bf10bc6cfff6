# A program's skin archive: its XML skins and the images a generator draws at build time, packed
# into Skins.zip and embedded in the program as resource 109 of type "ZIPRES".
#
#   skinlib_add_skin_archive(<target> <skin folder>)
#
# The skin folder holds the program's *.xml skins and skin_images.txt, which names every image the
# skins and the program's code ask for, one a line ('#' starts a comment). The archive is flat: the
# skins and images lie at its root under their own names, since the library looks both up by bare
# name. Each folder's archive is built once, however many targets embed it (a program and the tests
# that check its skins). Editing a skin, the image list, the generator or the packing rebuilds it.

# Debian's interpreter, which has PIL (python3-pil); a pyenv or virtual-environment python found
# earlier on PATH would not.
set(SKINLIB_PYTHON /usr/bin/python3 CACHE FILEPATH "Python with PIL that draws the skin images")
set(SKINLIB_SKIN_IMAGE_GENERATOR ${CMAKE_CURRENT_LIST_DIR}/../UI/SkinImages/draw_skin_images.py)
get_filename_component(SKINLIB_SKIN_IMAGE_GENERATOR ${SKINLIB_SKIN_IMAGE_GENERATOR} ABSOLUTE)
set(SKINLIB_SKIN_ARCHIVE_PACKER ${CMAKE_CURRENT_LIST_DIR}/SkinArchivePack.cmake)
find_program(SKINLIB_ZIP zip REQUIRED)

function(skinlib_add_skin_archive target folder)
  get_filename_component(folder ${folder} ABSOLUTE)
  file(RELATIVE_PATH key ${CMAKE_SOURCE_DIR} ${folder})
  string(MAKE_C_IDENTIFIER "${key}" key)
  set(dir ${CMAKE_BINARY_DIR}/skin_archives/${key})
  set(archive ${dir}/Skins.zip)
  set(script ${dir}/Skins.rc)

  get_property(defined GLOBAL PROPERTY SKINLIB_SKIN_ARCHIVE_${key} SET)
  if(NOT defined)
    set_property(GLOBAL PROPERTY SKINLIB_SKIN_ARCHIVE_${key} ${archive})
    file(GLOB skins CONFIGURE_DEPENDS ${folder}/*.xml)
    list(SORT skins)
    set(list_file ${folder}/skin_images.txt)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${list_file})
    file(STRINGS ${list_file} images REGEX "^[^#]")
    list(TRANSFORM images STRIP)
    list(REMOVE_ITEM images "")
    if(NOT skins OR NOT images)
      message(FATAL_ERROR "skin archive ${folder}: no *.xml skins or no images in skin_images.txt")
    endif()

    set(drawn)
    foreach(image ${images})
      list(APPEND drawn ${dir}/images/${image})
    endforeach()
    add_custom_command(OUTPUT ${drawn}
      COMMAND ${SKINLIB_PYTHON} ${SKINLIB_SKIN_IMAGE_GENERATOR} --out ${dir}/images ${images}
      DEPENDS ${SKINLIB_SKIN_IMAGE_GENERATOR} ${list_file}
      COMMENT "Drawing the skin images of ${key}"
      VERBATIM)

    # The members in archive order, one source path a line: skins by name, then the images.
    list(JOIN skins "\n" skin_lines)
    list(JOIN drawn "\n" image_lines)
    file(CONFIGURE OUTPUT ${dir}/members.txt CONTENT "${skin_lines}\n${image_lines}\n")
    add_custom_command(OUTPUT ${archive}
      COMMAND ${CMAKE_COMMAND} -DMEMBERS=${dir}/members.txt -DSTAGE=${dir}/stage -DARCHIVE=${archive}
              -DZIP=${SKINLIB_ZIP} -P ${SKINLIB_SKIN_ARCHIVE_PACKER}
      DEPENDS ${skins} ${drawn} ${dir}/members.txt ${SKINLIB_SKIN_ARCHIVE_PACKER}
      COMMENT "Packing ${key} into Skins.zip"
      VERBATIM)
    add_custom_target(skin_archive_${key} DEPENDS ${archive})

    file(CONFIGURE OUTPUT ${script}
         CONTENT "// The skin archive, found by the window base as resource 109 of type ZIPRES.\n109 ZIPRES \"${archive}\"\n")
  endif()

  target_sources(${target} PRIVATE ${script})
  set_source_files_properties(${script} TARGET_DIRECTORY ${target} PROPERTIES OBJECT_DEPENDS ${archive})
  add_dependencies(${target} skin_archive_${key})
endfunction()
