# cmake -DSOURCE_DIR=<tree> -P CheckLayering.cmake
# Fails when a product library includes a header against the dependency direction
# control <- search <- recovery <- app, or includes a header by a path that does not name
# its folder (which would hide the direction). Tests and benchmarks may see every library
# of their own layer and below.
cmake_minimum_required(VERSION 3.18)

set(layers control search recovery app)
# Folders checked, each with the highest layer it may include from.
set(checked
  "control=control" "search=search" "recovery=recovery" "app=app"
  "tests/control=control" "tests/search=search" "tests/recovery=recovery"
  "tests/app=app" "tests/e2e=app" "tests/support=app" "bench=app")

set(faults "")
foreach(entry IN LISTS checked)
  string(REPLACE "=" ";" pair "${entry}")
  list(GET pair 0 folder)
  list(GET pair 1 highest)
  list(FIND layers "${highest}" highestIndex)
  file(GLOB files "${SOURCE_DIR}/${folder}/*.cpp" "${SOURCE_DIR}/${folder}/*.h")
  foreach(file IN LISTS files)
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    file(RELATIVE_PATH shown "${SOURCE_DIR}" "${file}")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" header "${line}")
      if(NOT header MATCHES "/")
        # A test folder's own helpers are named without a folder; product code never is.
        list(FIND layers "${folder}" ownLayer)
        if(ownLayer GREATER -1)
          list(APPEND faults "${shown}: \"${header}\" does not name its folder")
        endif()
        continue()
      endif()
      string(REGEX REPLACE "/.*" "" top "${header}")
      list(FIND layers "${top}" index)
      if(index GREATER highestIndex)
        list(APPEND faults "${shown}: \"${header}\" is above ${highest}")
      elseif(index EQUAL -1 AND NOT folder MATCHES "^(tests|bench)")
        list(APPEND faults "${shown}: \"${header}\" is outside the libraries")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n" text)
  message(FATAL_ERROR "Includes against the layering:\n${text}")
endif()
message(STATUS "Layering holds: control <- search <- recovery <- app")
