# Runs PROGRAM with ARGS (a ;-list) in a fresh folder WORKDIR and checks its
# exit status against EXPECTED and, when given, its standard error against
# the regular expression STDERR_MATCHES.
file(REMOVE_RECURSE "${WORKDIR}")
file(MAKE_DIRECTORY "${WORKDIR}")
execute_process(COMMAND "${PROGRAM}" ${ARGS}
                WORKING_DIRECTORY "${WORKDIR}"
                RESULT_VARIABLE status
                OUTPUT_VARIABLE out
                ERROR_VARIABLE err
                TIMEOUT 60)
if(NOT status STREQUAL "${EXPECTED}")
  message(FATAL_ERROR "exit status ${status}, expected ${EXPECTED}\nstdout:\n${out}\nstderr:\n${err}")
endif()
if(DEFINED STDERR_MATCHES AND NOT err MATCHES "${STDERR_MATCHES}")
  message(FATAL_ERROR "standard error does not match '${STDERR_MATCHES}':\n${err}")
endif()
