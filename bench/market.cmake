varnel_bench(bench_market SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_market.cpp LIBS varnel_market varnel_text)
