# The drawing text reader on arbitrary UTF-16 text, the round trip of what it kept, and the copy
# of a vectorial picture into a drawing.
pondrel_add_fuzzer(fuzz_drawing LIBS records layout SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/DrawingFuzz.cpp)
