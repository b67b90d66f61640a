#include "tests/e2e/scenario.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char **environ;

namespace fs = std::filesystem;

namespace e2e {

namespace {
std::string ReadAll(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

fs::path FakeClient(const char *variant) { return fs::path(E2E_FAKE_CLIENT_DIR) / variant; }

// Variables of the parent that would change what the library does.
bool IsControlled(const std::string &entry) {
    for (const char *name : {"TAV_PT_TRACE=", "DBGAUGE_", "FAKE_CLIENT_LOG="}) {
        if (entry.rfind(name, 0) == 0)
            return true;
    }
    return false;
}
} // namespace

Scenario::Scenario() {
    char pattern[] = "/tmp/dbgauge-e2e-XXXXXX";
    if (mkdtemp(pattern) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    dir_ = pattern;
    prefix_ = dir_ / "prefix";
    fs::copy(E2E_PREFIX, prefix_, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    fs::create_directories(prefix_ / "etc/registry/HKEY_LOCAL_MACHINE/SOFTWARE/ORACLE");
    UseClient(Client::Full);
    env_["FAKE_CLIENT_LOG"] = logFile().string();
    // No listener unless a test makes one: the pipe directory is the scenario's own.
    env_["DBGAUGE_PIPE_DIR"] = dir_.string();
}

Scenario::~Scenario() {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
}

void Scenario::UseClient(Client client) {
    const fs::path lib = prefix_ / "lib";
    fs::remove(lib / "liboci.so");
    fs::remove(lib / "libociw32.so");
    auto install = [&](const char *variant, const char *name) {
        fs::copy_file(FakeClient(variant) / name, lib / name);
    };
    switch (client) {
    case Client::None:
        break;
    case Client::Full:
        install("full", "liboci.so");
        break;
    case Client::Ociw32Only:
        install("w32", "libociw32.so");
        break;
    case Client::Both:
        install("full", "liboci.so");
        install("w32", "libociw32.so");
        break;
    case Client::MissingEntry:
        install("partial", "liboci.so");
        break;
    case Client::Installed:
        fs::copy_file(fs::path(E2E_PREFIX) / "lib/liboci.so", lib / "liboci.so");
        break;
    }
}

void Scenario::RemoveRegistryKey() { fs::remove_all(prefix_ / "etc/registry/HKEY_LOCAL_MACHINE"); }

void Scenario::RemoveCatalogue() { fs::remove(prefix_ / "dat/pt_mon_dbgauge_msgs.msg"); }

void Scenario::WriteConfig(const std::string &text) {
    std::ofstream(prefix_ / "dat/monitors/dbgauge.cfg", std::ios::trunc) << text;
}

void Scenario::RemoveConfig() { fs::remove(prefix_ / "dat/monitors/dbgauge.cfg"); }

RunResult Scenario::Run(const std::string &program, const std::vector<std::string> &args) const {
    const fs::path exe = prefix_ / "bin" / program;
    const fs::path outPath = dir_ / "stdout.txt";
    const fs::path errPath = dir_ / "stderr.txt";

    std::vector<std::string> envText;
    for (char **entry = environ; *entry != nullptr; ++entry) {
        if (!IsControlled(*entry))
            envText.emplace_back(*entry);
    }
    for (const auto &[name, value] : env_)
        envText.push_back(name + "=" + value);
    std::vector<char *> envp;
    for (auto &entry : envText)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    std::vector<std::string> argText{exe.string()};
    argText.insert(argText.end(), args.begin(), args.end());
    std::vector<char *> argv;
    for (auto &arg : argText)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        throw std::runtime_error("cannot start " + exe.string() + ": " + std::strerror(spawned));
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
    }
    RunResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = ReadAll(outPath);
    result.err = ReadAll(errPath);
    return result;
}

std::vector<std::string> Scenario::ClientLog() const {
    return LinesStartingWith(ReadAll(logFile()), "");
}

std::vector<std::string> LinesStartingWith(const std::string &text, const std::string &prefix) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.rfind(prefix, 0) == 0)
            lines.push_back(line);
    }
    return lines;
}

} // namespace e2e
