# Prints the size of the stripped stub (cmake -DFILE=<tessum> -P printsize.cmake).
file(SIZE "${FILE}" size)
message(STATUS "tessum: ${size} bytes stripped")
