#include "ToolTestSupport.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>

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

}  // namespace pondrel::test
