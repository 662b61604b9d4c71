varnel_bench(bench_store SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_store.cpp LIBS varnel_store)
