pondrel_add_fuzzer(fuzz_preferences LIBS settings SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_preferences.cpp)
