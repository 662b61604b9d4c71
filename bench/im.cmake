varnel_bench(bench_im SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_im.cpp LIBS varnel_im varnel_sandbox_im)
# The plain scan the search is measured against lives with the tests that hold the search to it.
target_include_directories(bench_im PRIVATE ${PROJECT_SOURCE_DIR}/tests/im)
