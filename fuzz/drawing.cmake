# The drawing text reader on arbitrary UTF-16 text, and the round trip of what it kept.
pondrel_add_fuzzer(fuzz_drawing LIBS records SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/DrawingFuzz.cpp)
