# cmake -DSOURCE=file -DDESTINATION=file -P CopyIfMissing.cmake
# Puts a shipped file in the program folder only where the folder has none: a workstation's own
# Settings.xml and menu.txt (its databases, update location and menu) are never overwritten by a
# build. A file in the way that is empty is the station's too: it is left for the program to report.
if(NOT EXISTS "${DESTINATION}" AND NOT IS_SYMLINK "${DESTINATION}")
    file(COPY_FILE "${SOURCE}" "${DESTINATION}")
endif()
