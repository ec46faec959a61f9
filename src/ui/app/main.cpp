// Pondrel: the Qt program. Builds the application and the main frame, nothing else.

#include <cstdio>
#include <cstring>

#include "ui/app/PondrelMain.h"
#include "ui/app/ProgramOptions.h"

int main(int argc, char** argv) {
    // Answered before Qt starts (the manual page is made from them at build time), so that it works without a display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("pondrel %s\n", PONDREL_VERSION_TEXT);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(pondrel::ProgramOptions::kUsage, stdout);
        return 0;
    }
    return pondrel::RunPondrel(argc, argv);
}
