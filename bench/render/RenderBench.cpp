// quillmarch-render as whole processes: the whole map at zoom 48 to PNG, and the
// 121-page PDF at 1.00 inch on letter at 600 dpi. Wall time per run, the child's
// peak resident memory and the size of what it wrote.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "bench/BenchSupport.h"
#include "model/MapRecord.h"

extern char** environ;

using namespace qm;

namespace {

std::string TempFolder() {
    static std::string dir = [] {
        char tmpl[] = "/tmp/qm-bench-render.XXXXXX";
        return std::string(::mkdtemp(tmpl) ? tmpl : "/tmp");
    }();
    return dir;
}

// A full map: floor background, ground everywhere, objects and terrain on most cells.
std::string SampleMap() {
    const std::string path = TempFolder() + "/keep.map";
    const TMapRecord m = qmbench::FullSampleMap(48);
    WriteMapFile(path, m);
    return path;
}

void RunRenderer(benchmark::State& state, std::vector<std::string> args) {
    static const std::string map = SampleMap();
    const std::string out = args.back();
    args.insert(args.end() - 1, map);
    const std::string exe = QM_PROGRAM_DIR "/quillmarch-render";
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(exe.c_str()));
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    long peakKb = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        pid_t pid = 0;
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
        if (posix_spawn(&pid, exe.c_str(), &fa, nullptr, argv.data(), environ) != 0) {
            posix_spawn_file_actions_destroy(&fa);
            state.SkipWithError("cannot start quillmarch-render");
            return;
        }
        posix_spawn_file_actions_destroy(&fa);
        int status = 0;
        struct rusage ru {};
        ::wait4(pid, &status, 0, &ru);
        const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(secs);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("quillmarch-render failed");
            return;
        }
        peakKb = std::max(peakKb, long(ru.ru_maxrss));
    }
    struct stat st {};
    ::stat(out.c_str(), &st);
    state.counters["peak_rss_MB"] = double(peakKb) / 1024.0;
    state.counters["file_MB"] = double(st.st_size) / (1024.0 * 1024.0);
    std::remove(out.c_str());
}

} // namespace

BENCHMARK_CAPTURE(RunRenderer, png_zoom48, std::vector<std::string>{"--zoom", "48", TempFolder() + "/keep.png"})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(RunRenderer, pdf_121_pages,
                  std::vector<std::string>{"--scale", "1.00", "--paper", "letter", "--resolution", "600",
                                           TempFolder() + "/keep.pdf"})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
