# cmake -DSOURCE_DIR=<tree> -P CheckFormat.cmake
# Fails when a source file of the tree differs from what .clang-format makes of it.
# Fix with: clang-format -i $(git ls-files '*.cpp' '*.h')
cmake_minimum_required(VERSION 3.18)

find_program(CLANG_FORMAT NAMES clang-format-14 clang-format)
if(NOT CLANG_FORMAT)
  message(FATAL_ERROR "clang-format is not installed (scripts/setup.sh clang-format installs it)")
endif()

set(files "")
foreach(folder app control search recovery bench tests/support tests/control tests/search
               tests/recovery tests/app tests/e2e)
  file(GLOB found "${SOURCE_DIR}/${folder}/*.cpp" "${SOURCE_DIR}/${folder}/*.h")
  list(APPEND files ${found})
endforeach()

execute_process(COMMAND "${CLANG_FORMAT}" --style=file --dry-run --Werror ${files}
                WORKING_DIRECTORY "${SOURCE_DIR}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "Files above are not formatted as .clang-format asks")
endif()
list(LENGTH files count)
message(STATUS "${count} files formatted as .clang-format asks")
