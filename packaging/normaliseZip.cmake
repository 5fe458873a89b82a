# Run by CPack after it wrote the zip: the zip still carries each file's inode change time and
# owner, which no build can choose, so Debian's strip-nondeterminism sets them to fixed values.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    execute_process(COMMAND strip-nondeterminism --type zip --timestamp 946684800 "${package}"
                    RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "strip-nondeterminism could not normalise ${package}")
    endif()
endforeach()
