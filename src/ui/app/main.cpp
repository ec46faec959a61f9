// Pondrel: the Qt program. Builds the application and the main frame, nothing else.

#include "ui/app/PondrelMain.h"

int main(int argc, char** argv) {
    return pondrel::RunPondrel(argc, argv);
}
