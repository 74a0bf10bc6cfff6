# Packs a skin archive the same way on every machine and every run (cmake -P):
#   -DMEMBERS=<file: one source path a line, in archive order> -DSTAGE=<work folder>
#   -DARCHIVE=<Skins.zip> -DZIP=<zip tool>
# Members are staged flat under their own names with fixed permissions and a fixed date, so the
# archive's bytes depend only on the members' contents. PNGs are stored: they are compressed
# already, and stored members cost nothing to unpack when a window starts (a compression level
# given to zip would override that list, so none is).
cmake_minimum_required(VERSION 3.20)

foreach(var MEMBERS STAGE ARCHIVE ZIP)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "SkinArchivePack: ${var} not given")
  endif()
endforeach()

file(STRINGS ${MEMBERS} sources)
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE})
set(names)
foreach(source ${sources})
  get_filename_component(name ${source} NAME)
  if(name IN_LIST names)
    message(FATAL_ERROR "SkinArchivePack: two members named ${name}")
  endif()
  list(APPEND names ${name})
  file(COPY ${source} DESTINATION ${STAGE}
       FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endforeach()

# zip records local time: both steps run in UTC.
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC touch -d "2020-01-01 00:00:00" ${names}
                WORKING_DIRECTORY ${STAGE} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "SkinArchivePack: could not date the members (${result})")
endif()

set(partial ${ARCHIVE}.part)
file(REMOVE ${partial})
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ${ZIP} -X -D -q -n .png ${partial} ${names}
                WORKING_DIRECTORY ${STAGE} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "SkinArchivePack: zip failed (${result})")
endif()
file(RENAME ${partial} ${ARCHIVE})
