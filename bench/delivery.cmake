varnel_bench(bench_delivery SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_delivery.cpp
             LIBS varnel_delivery varnel_sandbox_market varnel_sandbox_im)
