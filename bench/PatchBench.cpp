// Counting the pages of a 200 MB print job, which backgrounds counted from the end need,
// against a plain copy of the same file.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/OutputFile.h"
#include "production/modPostScript.h"

namespace {

constexpr std::size_t kJobSize = 200u << 20;

std::string Folder() {
  static const std::string folder = [] {
    std::string path = (std::filesystem::temp_directory_path() / "bench_patch").string();
    std::filesystem::create_directories(path);
    return path;
  }();
  return folder;
}

void PutJob(const std::string& path, const std::string& prolog, const std::string& line) {
  if (std::filesystem::exists(path) && std::filesystem::file_size(path) >= kJobSize) return;
  gui::platform::OutputFile job(path);
  job.Write(prolog);
  for (std::size_t size = prolog.size(), number = 0; size < kJobSize; size += line.size()) {
    if (++number % 2000 == 0) job.Write("%%Page: " + std::to_string(number / 2000) + "\r\n");
    job.Write(line);
  }
  job.Close();
}

// Text lines of a typical driver's output, a page comment every 2000 lines.
const std::string& TextJob() {
  static const std::string path = Folder() + "/text.ps";
  PutJob(path, "%!PS-Adobe-3.0\r\n%%Title: Bench\r\n%%For: Someone\r\n%%EndComments\r\n",
         "72 700 moveto (The quick brown fox jumps over the lazy dog.) show\r\n");
  return path;
}

// Line ends of LF only, as the tools of Unix-like systems write them.
const std::string& OneLineJob() {
  static const std::string path = Folder() + "/lf.ps";
  PutJob(path, "%!PS-Adobe-3.0\n",
         "72 700 moveto (The quick brown fox jumps over the dog.) show\n");
  return path;
}

void ReportMemory(benchmark::State& state) {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["maxrss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024;
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kJobSize));
}

void BM_PlainCopy(benchmark::State& state) {
  const std::string& job = TextJob();
  std::vector<char> block(1 << 20);
  for (auto _ : state) {
    gui::platform::InputFile in(job);
    gui::platform::OutputFile out(Folder() + "/copy.ps");
    while (std::size_t got = in.Read(block.data(), block.size()))
      out.Write({block.data(), got});
    out.Close();
  }
  ReportMemory(state);
}

void PageCount(benchmark::State& state, const std::string& job) {
  for (auto _ : state)
    benchmark::DoNotOptimize(gui::GetPageCount(job));
  ReportMemory(state);
}

void BM_PageCount(benchmark::State& state) {
  PageCount(state, TextJob());
}

void BM_PageCountLf(benchmark::State& state) {
  PageCount(state, OneLineJob());
}

BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PageCount)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PageCountLf)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
