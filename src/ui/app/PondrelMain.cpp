#include "ui/app/PondrelMain.h"

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "ui/app/PondrelApplication.h"
#include "ui/app/ProgramOptions.h"

namespace pondrel {

int RunPondrel(int argc, char** argv,
               const std::function<void(PondrelApplication& program)>& started) {
    const auto startTime = std::chrono::steady_clock::now();
    // Qt reads its scale factor when the application starts.
    if (std::optional<double> zoom = ProgramOptions::ZoomFromArguments(argc, argv)) {
        qputenv("QT_SCALE_FACTOR", QByteArray::number(*zoom));
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pondrel"));

    std::vector<std::string> args;
    for (const QString& arg : QApplication::arguments().mid(1)) args.push_back(arg.toStdString());
    ProgramOptions options;
    options.started = startTime;
    std::string problem;
    if (!options.Parse(args, &problem)) {
        std::fprintf(stderr, "pondrel: %s\n%s", problem.c_str(), options.kUsage);
        return 2;
    }
    if (options.help) {
        std::fputs(options.kUsage, stdout);
        return 0;
    }

    PondrelApplication program(options);
    if (started) program.SetStartedHandler([&program, &started] { started(program); });
    if (!program.InitInstance()) return 1;
    return QApplication::exec();
}

}  // namespace pondrel
