// Pondrel: the Qt program. Builds the application and the main frame, nothing else.

#include <QApplication>

#include <cstdio>
#include <string>
#include <vector>

#include "ui/PondrelApplication.h"
#include "ui/ProgramOptions.h"

int main(int argc, char** argv) {
    // Qt reads its scale factor when the application starts.
    if (std::optional<double> zoom = pondrel::ProgramOptions::ZoomFromArguments(argc, argv)) {
        qputenv("QT_SCALE_FACTOR", QByteArray::number(*zoom));
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pondrel"));

    std::vector<std::string> args;
    for (const QString& arg : QApplication::arguments().mid(1)) args.push_back(arg.toStdString());
    pondrel::ProgramOptions options;
    std::string problem;
    if (!options.Parse(args, &problem)) {
        std::fprintf(stderr, "pondrel: %s\n%s", problem.c_str(), options.kUsage);
        return 2;
    }
    if (options.help) {
        std::fputs(options.kUsage, stdout);
        return 0;
    }

    pondrel::PondrelApplication program(options);
    if (!program.InitInstance()) return 1;
    return QApplication::exec();
}
