// Start-up to first frame: from starting the editor's process to the first Draw returned.
// Needs a display (run under xvfb-run, see README).
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>

extern char** environ;

namespace {

void BM_StartupToFirstFrame(benchmark::State& state) {
  char* argv[] = {const_cast<char*>(TAMSEL_BINARY), const_cast<char*>("--quit-after-first-frame"),
                  nullptr};
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, TAMSEL_BINARY, nullptr, nullptr, argv, environ) != 0) {
      state.SkipWithError("could not start the editor");
      return;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("the editor did not exit cleanly");
      return;
    }
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
  }
}
BENCHMARK(BM_StartupToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
