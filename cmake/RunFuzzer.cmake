# Runs one fuzz target as a test: a bounded number of inputs grown from the starting corpus
# (CORPUS, read only), what it finds kept in a fresh folder under WORK, and any crash, leak or
# sanitizer report (libFuzzer then exits non-zero and writes the input to WORK) failing the test.
# cmake -DFUZZER=<program> -DCORPUS=<folder> -DWORK=<folder> -P RunFuzzer.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/found)
execute_process(
  COMMAND ${FUZZER} -runs=1000000 -max_len=262144 -max_total_time=8 -timeout=10 -rss_limit_mb=2048
          -print_final_stats=1 -artifact_prefix=${WORK}/ ${WORK}/found ${CORPUS}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${FUZZER} failed (${result}); the input that failed is in ${WORK}")
endif()
