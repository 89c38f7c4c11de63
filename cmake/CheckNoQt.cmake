# Fails when a source of the toolkit-free core includes a Qt header.
# Run as: cmake -DSRC=<src dir> -P CheckNoQt.cmake
file(GLOB_RECURSE core_sources
  ${SRC}/app/*.h ${SRC}/app/*.cpp ${SRC}/ui/*.h ${SRC}/ui/*.cpp
  ${SRC}/document/*.h ${SRC}/document/*.cpp ${SRC}/mapview/*.h ${SRC}/mapview/*.cpp
  ${SRC}/blocklist/*.h ${SRC}/blocklist/*.cpp ${SRC}/editor/*.h ${SRC}/editor/*.cpp)
list(FILTER core_sources EXCLUDE REGEX "/ui/qt/|/app/main\\.cpp$")
set(offenders "")
foreach(f IN LISTS core_sources)
  file(STRINGS ${f} hits REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Za-z]|Qt)")
  if(hits)
    list(APPEND offenders "${f}: ${hits}")
  endif()
endforeach()
list(LENGTH core_sources n)
if(n EQUAL 0)
  message(FATAL_ERROR "no core sources found under ${SRC}")
endif()
if(offenders)
  string(REPLACE ";" "\n" offenders "${offenders}")
  message(FATAL_ERROR "core sources include Qt headers:\n${offenders}")
endif()
message(STATUS "${n} core sources, none includes a Qt header")
