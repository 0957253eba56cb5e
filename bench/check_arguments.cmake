# The bench's command line: each row runs the bench once and checks its exit
# status and what it printed. None of these may start a case.
#   cmake -DBENCH=<quillfern-bench> -P check_arguments.cmake
set(rows
    # arguments (comma-separated) | exit status | output that must appear
    "--help|0|usage: quillfern-bench"
    "-h|0|usage: quillfern-bench"
    "--list|0|launch to main window painted"
    "--bogus|2|cannot use '--bogus'.*usage: quillfern-bench"
    "--runs,0|2|cannot use '--runs'"
    "--runs|2|cannot use '--runs'"
    "--only,no such case|2|no case name contains"
    "--data,/nonexistent/bench-data,--only,import|1|FAILED import.*/nonexistent/bench-data/.* is missing"
)
set(failures 0)
foreach(row IN LISTS rows)
    string(REPLACE "|" ";" fields "${row}")
    list(GET fields -1 expected_output)
    list(GET fields -2 expected_status)
    list(REMOVE_AT fields -1 -2)
    string(REPLACE "," ";" fields "${fields}")
    execute_process(COMMAND "${BENCH}" ${fields}
                    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
    set(text "${out}${err}")
    string(REPLACE "\n" " " flat "${text}")
    if(NOT status STREQUAL expected_status OR NOT flat MATCHES "${expected_output}"
       OR flat MATCHES "case +median s")
        message(SEND_ERROR "quillfern-bench ${fields}: exit ${status}, expected ${expected_status} "
                           "and '${expected_output}', without a table; printed:\n${text}")
        math(EXPR failures "${failures} + 1")
    endif()
endforeach()
if(failures)
    message(FATAL_ERROR "${failures} command lines went wrong")
endif()
