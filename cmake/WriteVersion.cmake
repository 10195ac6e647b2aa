# Writes the version header: the project's release number and the commit the sources
# come from (`git describe`, "-dirty" when they hold uncommitted changes). Outside a git
# checkout, or without git, the commit reads "unknown".
# Called with -DSOURCE_DIR=... -DOUTPUT=... -DTERVAN_VERSION=... (at configure time and
# before every build, so that a new commit is seen without configuring again). The file
# is rewritten only when its content changes.
set(TERVAN_COMMIT "unknown")
find_package(Git QUIET)
if(GIT_FOUND)
  execute_process(
    COMMAND ${GIT_EXECUTABLE} -C ${SOURCE_DIR} describe --always --dirty --tags
    OUTPUT_VARIABLE described
    RESULT_VARIABLE status
    ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(status EQUAL 0 AND described MATCHES "^[A-Za-z0-9._+-]+$")
    set(TERVAN_COMMIT "${described}")
  endif()
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/TervanVersion.h.in ${OUTPUT} @ONLY)
