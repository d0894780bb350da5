# Runs `vantrel-history --due` on a home folder whose ledger holds a free bet that expires today,
# one that expires long after and one long expired: it must print the first alone and exit 0.
# cmake -DPROGRAM=<vantrel-history> -DHOME_FOLDER=<an empty folder> -P due.cmake
string(TIMESTAMP today "%Y-%m-%d")
file(REMOVE_RECURSE "${HOME_FOLDER}")
set(day "2,2026-12-08T14:05:00,freebet,,snr")
file(WRITE "${HOME_FOLDER}/vantrel/vantrelLedger.csv"
    "Version,Date,Action,Record,Outcome,Amount,Account,Note,Expires\r\n"
    "${day},20,Coral,,${today}\r\n${day},5,Sky Bet,,2099-01-01\r\n${day},5,Betway,,2000-01-01\r\n")
execute_process(COMMAND ${CMAKE_COMMAND} -E env HOME=${HOME_FOLDER} ${PROGRAM} --due
    OUTPUT_VARIABLE printed RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR NOT printed STREQUAL "Coral, 20.00, ${today}\n")
    message(FATAL_ERROR "--due exited ${result} and printed '${printed}'")
endif()
