# Runs `vantrel-history --import` on a home folder whose archive holds the lay of 24.97 at 2.05 that
# a Betfair profit-and-loss line of 23.78 settles: the statement is imported, matched and proposed,
# and exits 0; imported again with a file that is no statement, it is new no more, and exits 1.
# cmake -DPROGRAM=<vantrel-history> -DHOME_FOLDER=<an empty folder> -P import.cmake
file(REMOVE_RECURSE "${HOME_FOLDER}")
file(WRITE "${HOME_FOLDER}/vantrel/vantrelLog.txt"
    "13/12/2026 17:00:00,Liverpool v Everton,Coral,25,0,2,2.05,26.22,24.97,0,4.75,50,-1.22,-1.22,100\r\n")
file(WRITE "${HOME_FOLDER}/pl.csv" "Market,Start time,Settled date,Profit/Loss (GBP)\n"
    "Football / Premier League / Liverpool v Everton : Match Odds,13-Dec-26 17:30,13-Dec-26 19:25,23.78\n")
file(WRITE "${HOME_FOLDER}/bank.csv" "Date,Amount\n")

function(import expected_result expected_output expected_error)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env HOME=${HOME_FOLDER} ${PROGRAM} --import ${ARGN}
        WORKING_DIRECTORY ${HOME_FOLDER} OUTPUT_VARIABLE printed ERROR_VARIABLE complained RESULT_VARIABLE result)
    if(NOT result EQUAL expected_result OR NOT printed STREQUAL expected_output OR NOT complained STREQUAL expected_error)
        message(FATAL_ERROR "--import ${ARGN} exited ${result}, printed '${printed}' and complained '${complained}'")
    endif()
endfunction()

import(0 "pl.csv: Betfair profit and loss, 1 line, 1 new, 1 matched, 1 proposed\n" "" pl.csv)
import(1 "pl.csv: Betfair profit and loss, 1 line, 0 new, 1 matched, 1 proposed\n"
    "bank.csv: not an exchange statement Vantrel knows; its first line is \"Date,Amount\"\n" pl.csv bank.csv)
file(GLOB copies "${HOME_FOLDER}/vantrel/statements/*")
list(LENGTH copies count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "the statements folder holds ${copies}")
endif()
