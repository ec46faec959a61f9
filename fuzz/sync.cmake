# Both sides of the wire: the program's splitter and dispatcher, the server's splitter and
# protocol.
pondrel_add_fuzzer(fuzz_sync_client LIBS sync SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_sync_client.cpp)
pondrel_add_fuzzer(fuzz_server_frames LIBS server_core SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_server_frames.cpp)
