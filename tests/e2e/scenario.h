// One end-to-end scenario: a private copy of the installed prefix that a test changes
// (client library, catalogue, registry key, configuration) before it runs a program of
// the copy in a fresh child process.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace e2e {

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Installed: the real database client of the installed prefix (for tests against a server).
enum class Client { None, Full, Ociw32Only, Both, MissingEntry, Installed };

class Scenario {
public:
    // Copies the installed prefix; by default the copy has the full fake client as
    // liboci.so and the registry key.
    Scenario();
    ~Scenario();

    const std::filesystem::path &prefix() const { return prefix_; }
    std::filesystem::path logFile() const { return dir_ / "client.log"; }

    void UseClient(Client client);
    void RemoveRegistryKey();
    void RemoveCatalogue();
    void WriteConfig(const std::string &text);
    void RemoveConfig();
    void SetEnv(const std::string &name, const std::string &value) { env_[name] = value; }

    // Runs P/bin/<program> with args; stdin is closed, stdout and stderr are captured.
    RunResult Run(const std::string &program, const std::vector<std::string> &args) const;
    RunResult Probe(const std::vector<std::string> &steps) const { return Run("dbgauge_probe", steps); }

    // The lines of the fake client's log ("<variant> opinit <mode>").
    std::vector<std::string> ClientLog() const;

private:
    std::filesystem::path dir_;
    std::filesystem::path prefix_;
    std::map<std::string, std::string> env_;
};

// Lines of text beginning with prefix.
std::vector<std::string> LinesStartingWith(const std::string &text, const std::string &prefix);

} // namespace e2e
