# cmake -DSOURCE=<data> -DTARGET=<staged> -P StageData.cmake
# Copies the program folder, leaving out the build description itself; files
# are copied only when they changed.
file(MAKE_DIRECTORY "${TARGET}")
file(COPY "${SOURCE}/" DESTINATION "${TARGET}"
     PATTERN "CMakeLists.txt" EXCLUDE)
