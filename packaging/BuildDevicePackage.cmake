# Makes the device package: the device payload with the tweak and the pane put where a
# device has them, a DEBIAN/control and md5sums, built by dpkg-deb.
#   cmake -DTWEAK=lumetrix.so -DPANE=lumetrixpref.so -DDEVICE_PAYLOAD=DIR -DCONTROL=FILE
#         -DWORK=DIR -DOUTPUT=FILE.deb -P BuildDevicePackage.cmake
foreach(input TWEAK PANE DEVICE_PAYLOAD CONTROL WORK OUTPUT)
  if(NOT ${input})
    message(FATAL_ERROR "BuildDevicePackage.cmake needs -D${input}=...")
  endif()
endforeach()

set(tweak ${WORK}/Library/MobileSubstrate/DynamicLibraries/lumetrix.dylib)
set(pane ${WORK}/Library/PreferenceBundles/lumetrixpref.bundle/lumetrixpref.so)
file(REMOVE_RECURSE ${WORK})
file(COPY ${DEVICE_PAYLOAD}/ DESTINATION ${WORK}
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
  DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
file(COPY_FILE ${TWEAK} ${tweak})
file(COPY_FILE ${PANE} ${pane})
foreach(library ${tweak} ${pane})
  # On a device the libraries a tweak uses are the host process's own, already loaded;
  # a search path would name a folder of the machine that built it.
  file(RPATH_REMOVE FILE ${library})
  file(CHMOD ${library} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endforeach()

file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${WORK} ${WORK}/*)
list(SORT files)
set(md5sums "")
foreach(file IN LISTS files)
  file(MD5 ${WORK}/${file} sum)
  string(APPEND md5sums "${sum}  ${file}\n")
endforeach()
file(MAKE_DIRECTORY ${WORK}/DEBIAN)
file(COPY_FILE ${CONTROL} ${WORK}/DEBIAN/control)
file(WRITE ${WORK}/DEBIAN/md5sums "${md5sums}")
file(CHMOD ${WORK}/DEBIAN/control ${WORK}/DEBIAN/md5sums PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

get_filename_component(output_folder ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${output_folder})
execute_process(COMMAND dpkg-deb --root-owner-group -Znone --build ${WORK} ${OUTPUT}
  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE_RECURSE ${WORK})
