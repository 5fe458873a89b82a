# Run by CPack before it zips the staged files: one fixed date and fixed permissions for every
# file, so the same commit gives the same zip wherever and whenever it is built.
file(GLOB_RECURSE staged "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(file IN LISTS staged)
    execute_process(COMMAND touch -h -d "2000-01-01 00:00:00 UTC" "${file}")
endforeach()
execute_process(COMMAND touch -d "2000-01-01 00:00:00 UTC" "${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
