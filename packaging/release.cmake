# Packs the Windows release, OUTPUT_DIR/SpaceWarden-windows-x64.zip, with one
# folder SpaceWarden-windows-x64: the two programs and rfcsim.dll (stripped
# when STRIP is given), INSTALL.txt, README.md and the examples. Text files get
# CR LF line ends. Run by the target "release" of the Windows build:
#   cmake --build --preset windows --target release
foreach(variable SOURCE_DIR OUTPUT_DIR SENSOR PROFILE_TOOL SIMULATOR)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "release.cmake needs -D ${variable}=...")
  endif()
endforeach()

set(name SpaceWarden-windows-x64)
set(staging ${OUTPUT_DIR}/release)
set(folder ${staging}/${name})
set(archive ${OUTPUT_DIR}/${name}.zip)
file(REMOVE_RECURSE ${staging})
file(REMOVE ${archive})
file(MAKE_DIRECTORY ${folder}/examples)

foreach(program ${SENSOR} ${PROFILE_TOOL} ${SIMULATOR})
  file(COPY ${program} DESTINATION ${folder})
  if(STRIP)
    get_filename_component(copied ${program} NAME)
    execute_process(COMMAND ${STRIP} ${folder}/${copied} RESULT_VARIABLE stripped)
    if(NOT stripped EQUAL 0)
      message(FATAL_ERROR "${STRIP} failed on ${copied}")
    endif()
  endif()
endforeach()

function(copy_text source target)
  file(READ "${source}" text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE "${target}" "${text}")
endfunction()

copy_text(${SOURCE_DIR}/packaging/INSTALL.txt ${folder}/INSTALL.txt)
copy_text(${SOURCE_DIR}/README.md ${folder}/README.md)
# The examples without the Linux demo script; demo.cmd is the Windows one.
file(GLOB examples LIST_DIRECTORIES false ${SOURCE_DIR}/examples/*)
foreach(example ${examples})
  get_filename_component(example_name "${example}" NAME)
  if(NOT example_name STREQUAL "demo.sh")
    copy_text("${example}" "${folder}/examples/${example_name}")
  endif()
endforeach()

execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${archive} --format=zip ${name}
  WORKING_DIRECTORY ${staging} RESULT_VARIABLE packed)
if(NOT packed EQUAL 0)
  message(FATAL_ERROR "the archive ${archive} could not be written")
endif()
message(STATUS "Release: ${archive}")
