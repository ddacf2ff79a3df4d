# Packs the Windows release, OUTPUT_DIR/SpaceWarden-windows.zip, with one folder
# SpaceWarden-windows: x64\ with the 64-bit programs (X64_PROGRAMS), x86\ with
# the 32-bit SpaceWarden.exe, SpaceWardenProfile.exe and rfcsim.dll of the
# 32-bit build in X86_BUILD (each stripped when STRIP / X86_STRIP is given), and
# INSTALL.txt, RELEASE-NOTES.txt, README.md, docs\ and the examples. Text files get
# CR LF line ends. Run by the target "release" of the 64-bit Windows build:
#   cmake --build --preset windows --target release
foreach(variable SOURCE_DIR OUTPUT_DIR X64_PROGRAMS X86_BUILD)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "release.cmake needs -D ${variable}=...")
  endif()
endforeach()

set(name SpaceWarden-windows)
set(staging ${OUTPUT_DIR}/release)
set(folder ${staging}/${name})
set(archive ${OUTPUT_DIR}/${name}.zip)
file(REMOVE_RECURSE ${staging})
file(REMOVE ${archive} ${OUTPUT_DIR}/SpaceWarden-windows-x64.zip)
file(MAKE_DIRECTORY ${folder}/examples)

# The programs of one folder, copied and stripped.
function(copy_programs target strip)
  file(MAKE_DIRECTORY ${folder}/${target})
  foreach(program ${ARGN})
    if(NOT EXISTS ${program})
      message(FATAL_ERROR "${program} is missing")
    endif()
    file(COPY ${program} DESTINATION ${folder}/${target})
    if(strip)
      get_filename_component(copied ${program} NAME)
      execute_process(COMMAND ${strip} ${folder}/${target}/${copied} RESULT_VARIABLE stripped)
      if(NOT stripped EQUAL 0)
        message(FATAL_ERROR "${strip} failed on ${target}/${copied}")
      endif()
    endif()
  endforeach()
endfunction()

string(REPLACE "|" ";" x64_programs "${X64_PROGRAMS}")
copy_programs(x64 "${STRIP}" ${x64_programs})
copy_programs(x86 "${X86_STRIP}"
  ${X86_BUILD}/SpaceWarden.exe ${X86_BUILD}/SpaceWardenProfile.exe ${X86_BUILD}/rfcsim/rfcsim.dll)

function(copy_text source target)
  file(READ "${source}" text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE "${target}" "${text}")
endfunction()

copy_text(${SOURCE_DIR}/packaging/INSTALL.txt ${folder}/INSTALL.txt)
copy_text(${SOURCE_DIR}/packaging/RELEASE-NOTES.txt ${folder}/RELEASE-NOTES.txt)
copy_text(${SOURCE_DIR}/README.md ${folder}/README.md)
# The pages the README links to.
file(GLOB pages LIST_DIRECTORIES false ${SOURCE_DIR}/docs/*.md)
foreach(page ${pages})
  get_filename_component(page_name "${page}" NAME)
  copy_text("${page}" "${folder}/docs/${page_name}")
endforeach()
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
