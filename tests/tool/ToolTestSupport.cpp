#include "ToolTestSupport.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <utility>

namespace pondrel::test {

namespace {

// Everything the tool wrote into a temporary file that stood for one of its output streams.
std::string ReadBack(std::FILE* file) {
    std::string bytes;
    std::rewind(file);
    char buffer[4096];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, n);
    return bytes;
}

}  // namespace

ToolRun RunTool(const std::vector<std::string>& args) {
    ToolRun run;
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    if (out && err) {
        std::vector<std::string> words{PONDREL_TOOL};
        words.insert(words.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fileno(out), 1);
        posix_spawn_file_actions_adddup2(&actions, fileno(err), 2);
        pid_t pid = 0;
        if (posix_spawn(&pid, PONDREL_TOOL, &actions, nullptr, argv.data(), environ) == 0) {
            int status = 0;
            pid_t waited = 0;
            while ((waited = ::waitpid(pid, &status, 0)) < 0 && errno == EINTR) {
            }
            if (waited == pid && WIFEXITED(status)) run.status = WEXITSTATUS(status);
        }
        posix_spawn_file_actions_destroy(&actions);
        run.out = ReadBack(out);
        run.err = ReadBack(err);
    }
    if (out) std::fclose(out);
    if (err) std::fclose(err);
    return run;
}

std::string Slurp(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Put(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

PatientRecord SamplePatient() {
    PatientRecord r;
    r.inUse = 1;
    for (auto [n, v] : {std::pair{2, u"Doe"},
                        {3, u"Zoë"},
                        {6, u"1950"},
                        {120, u"Doe"},
                        {121, u"Zoë"},
                        {122, u"1"},
                        {123, u"2"},
                        {124, u"1950"}}) {
        r.SetField(n, v);
    }
    r.location = u"Cardio A";
    r.subfolderType = u"Hosp";
    r.admission = DateTime{2006, 3, 13, 9, 41, 7};
    r.exit = DateTime{2006, 3, 20, 14, 0, 0};
    return r;
}

std::u16string Version300Text(const std::u16string& current) {
    size_t identity = current.find(u"¬I");
    size_t location = current.find(u"#Location|Cardio A¢") + 19;
    std::u16string old = u"#V3.00#W" + current.substr(6, identity - 6) +
                         current.substr(identity, location - identity) +
                         current.substr(current.find(u"¢", location) + 1);
    old.replace(old.find(u"¬OHosp"), 2, u"¬O§0|Flu¦¦A¦#0§0|cough||||||¢");
    return old;
}

}  // namespace pondrel::test
