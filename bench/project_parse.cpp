// Reading and selectively saving generated projects. Both must stay linear in the file's
// size: the 100k/10k ratio of BM_OpenScaling stays near 10, and the complexity fits report
// O(N).

#include "base/module_state.h"
#include "projfile/spi_project.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <utility>

#include <sys/wait.h>
#include <unistd.h>

namespace {

// Generated files live in one temporary directory for the whole run.
class Workspace {
public:
    Workspace() {
        char pattern[] = "/tmp/pfsetup-bench-XXXXXX";
        if (::mkdtemp(pattern) != nullptr) {
            dir_ = pattern;
        }
    }
    ~Workspace() {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    // A project of `sections` sections of `directives` directives each; the path and its size.
    // With `defaults`, the same directives with every other value changed: an install file
    // against which a selective save keeps half of the directives.
    const std::pair<std::string, std::size_t>& Project(int sections, int directives,
                                                       bool defaults = false) {
        const auto key = std::make_tuple(sections, directives, defaults);
        auto found = files_.find(key);
        if (found != files_.end()) {
            return found->second;
        }
        const std::string path = defaults
                                     ? dir_ + "/inst-" + std::to_string(sections) + "x" +
                                           std::to_string(directives) + "/qrvsetup/projmgr/qrv.cpm"
                                     : dir_ + "/p" + std::to_string(sections) + "x" +
                                           std::to_string(directives) + ".cpm";
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream out(path, std::ios::binary);
        char line[128];
        for (int s = 0; s < sections; ++s) {
            out << "START_SECTION" << s << '\n';
            for (int d = 0; d < directives; ++d) {
                const int value = defaults && d % 2 == 1 ? -d : d;
                std::snprintf(line, sizeof line, "Directive_%07d 'value %d' \"%d\" plain\n", d,
                              value, s);
                out << line;
            }
            out << "END_SECTION" << s << "\n\n";
        }
        out.close();
        const auto size = static_cast<std::size_t>(std::filesystem::file_size(path));
        return files_.emplace(key, std::make_pair(path, size)).first->second;
    }
    const std::string& Dir() const { return dir_; }

private:
    std::string dir_;
    std::map<std::tuple<int, int, bool>, std::pair<std::string, std::size_t>> files_;
};

Workspace& Files() {
    static Workspace workspace;
    return workspace;
}

// The embedded install file of the build tree, unless a benchmark installs its own.
void UseInstallation(const std::string& dir) {
    if (dir.empty()) {
        ::unsetenv("QRV_SEARCH_PATH");
    } else {
        ::setenv("QRV_SEARCH_PATH", dir.c_str(), 1);
    }
    pfsetup::ResetModuleState();
}

// Opens `path` in a child process and gives the seconds Open took there: every open starts
// from a fresh heap and untouched pages, as a user's process opening a project does, instead
// of reusing the warm heap an earlier iteration left behind.
double TimedOpen(benchmark::State& state, const std::string& path) {
    int channel[2];
    if (::pipe(channel) != 0) {
        state.SkipWithError("pipe failed");
        return 0;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        using Clock = std::chrono::steady_clock;
        SpiProject project;
        const auto start = Clock::now();
        const int result = project.Open(path);
        double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (result != 0) {
            seconds = -1;
        }
        const ssize_t written = ::write(channel[1], &seconds, sizeof seconds);
        ::_exit(written == sizeof seconds ? 0 : 1);
    }
    ::close(channel[1]);
    double seconds = -1;
    if (child < 0 || ::read(channel[0], &seconds, sizeof seconds) != sizeof seconds) {
        seconds = -1;
    }
    ::close(channel[0]);
    if (child > 0) {
        ::waitpid(child, nullptr, 0);
    }
    if (seconds < 0) {
        state.SkipWithError("the project could not be opened");
        return 0;
    }
    return seconds;
}

void BM_OpenOneSection(benchmark::State& state) {
    UseInstallation("");
    const auto& [path, size] = Files().Project(1, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.SetIterationTime(TimedOpen(state, path));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_OpenOneSection)
    ->Arg(10000)
    ->Arg(100000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// The mean time of one open of each size.
void BM_OpenScaling(benchmark::State& state) {
    UseInstallation("");
    const std::string small = Files().Project(1, 10000).first;
    const std::string large = Files().Project(1, 100000).first;
    const auto meanOpen = [&state](const std::string& path, int count) {
        double seconds = 0;
        for (int i = 0; i < count; ++i) {
            seconds += TimedOpen(state, path);
        }
        return seconds / count;
    };
    double smallTime = 0;
    double largeTime = 0;
    for (auto _ : state) {
        smallTime += meanOpen(small, 10);
        largeTime += meanOpen(large, 1);
    }
    state.counters["ratio_100k_10k"] = largeTime / smallTime;
}
BENCHMARK(BM_OpenScaling)->Unit(benchmark::kMillisecond)->Iterations(5);

// About 10 MB in 2000 sections.
void BM_OpenManySections(benchmark::State& state) {
    UseInstallation("");
    const auto& [path, size] = Files().Project(2000, 120);
    for (auto _ : state) {
        state.SetIterationTime(TimedOpen(state, path));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}
BENCHMARK(BM_OpenManySections)->UseManualTime()->Unit(benchmark::kMillisecond);

// A selective save compares every directive with the install file's and writes half of them.
void BM_SelectiveSave(benchmark::State& state) {
    const int sections = static_cast<int>(state.range(0));
    const int directives = static_cast<int>(state.range(1));
    const std::string& defaults = Files().Project(sections, directives, true).first;
    UseInstallation(std::filesystem::path(defaults).parent_path().parent_path().parent_path());
    const auto& [path, size] = Files().Project(sections, directives);
    SpiProject project;
    if (project.Open(path) != 0) {
        state.SkipWithError(SpiLastMessage().c_str());
    }
    const std::string target = Files().Dir() + "/saved.cpm";
    for (auto _ : state) {
        if (project.Save(target, 0) != 0) {
            state.SkipWithError(SpiLastMessage().c_str());
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
    state.SetComplexityN(static_cast<int64_t>(sections) * directives);
    UseInstallation("");
}
BENCHMARK(BM_SelectiveSave)
    ->Args({1, 10000})
    ->Args({1, 100000})
    ->Args({2000, 120})
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace
