#pragma once

#include <functional>

namespace pondrel {

class PondrelApplication;

// The whole program behind main(): reads the command line, builds the Qt application and the
// program, and runs it; returns the exit status. `started`, when set, is called once start-up
// has shown the first page (a test program drives the running program from there).
int RunPondrel(int argc, char** argv,
               const std::function<void(PondrelApplication& program)>& started = {});

}  // namespace pondrel
