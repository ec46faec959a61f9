pondrel_add_fuzzer(fuzz_patient_reader LIBS records SOURCES ${CMAKE_CURRENT_LIST_DIR}/PatientReaderFuzzer.cpp)
