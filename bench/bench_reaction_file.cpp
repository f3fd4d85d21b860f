// Reading and writing a 100,000-reaction file, beside a raw read and write of the same bytes.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "model/reaction_file.h"

namespace {

constexpr int kReactions = 100000;

const std::string& ModelPath() {
  static const std::string path = "/tmp/bench_tarvolin_" + std::to_string(getpid()) + ".rxn";
  return path;
}
const std::string& RawPath() {
  static const std::string path = "/tmp/bench_raw_" + std::to_string(getpid()) + ".bin";
  return path;
}

TReactionList MakeList() {
  TReactionList list;
  for (int r = 0; r < kReactions; ++r) {
    auto reaction = std::make_unique<TReaction>(
        "Aqueous solutions of silver nitrate and sodium chloride are mixed. #" + std::to_string(r),
        r % 5);
    reaction->reactants[0].SetFormula("Ag");
    reaction->reactants[0].charge = 1;
    reaction->reactants[1].SetFormula("Cl");
    reaction->reactants[1].charge = -1;
    reaction->products[0].SetFormula("AgCl");
    list.push_back(std::move(reaction));
  }
  return list;
}

std::vector<char> FileBytes() {
  std::vector<char> bytes(4 + std::size_t(kReactions) * kReactionRecordSize);
  if (std::FILE* f = std::fopen(ModelPath().c_str(), "rb")) {
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
    std::fclose(f);
  }
  return bytes;
}

void BM_WriteReactionFile(benchmark::State& state) {
  const TReactionList list = MakeList();
  for (auto _ : state) {
    if (!WriteReactionFile(list, ModelPath())) state.SkipWithError("write failed");
  }
  state.SetBytesProcessed(state.iterations() * int64_t(4 + kReactions * kReactionRecordSize));
}

// The same bytes written the same way (temporary file, flush to disk, rename), without encoding.
void BM_RawWrite(benchmark::State& state) {
  const std::vector<char> bytes = FileBytes();
  for (auto _ : state) {
    const std::string temp = RawPath() + ".tmp";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != ssize_t(bytes.size()) ||
        fsync(fd) != 0) {
      state.SkipWithError("raw write failed");
    }
    ::close(fd);
    std::rename(temp.c_str(), RawPath().c_str());
  }
  state.SetBytesProcessed(state.iterations() * int64_t(bytes.size()));
}

void BM_ReadReactionFile(benchmark::State& state) {
  WriteReactionFile(MakeList(), ModelPath());
  TReactionList list;
  for (auto _ : state) {
    if (ReadReactionFile(list, ModelPath()) != ReadResult::Ok || list.size() != kReactions)
      state.SkipWithError("read failed");
    benchmark::DoNotOptimize(list.data());
    // Freeing the list is not part of reading it.
    state.PauseTiming();
    list.clear();
    list.shrink_to_fit();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * int64_t(4 + kReactions * kReactionRecordSize));
}

// Decoding alone, from bytes already in memory: what reading adds to the raw read.
void BM_ParseInMemory(benchmark::State& state) {
  WriteReactionFile(MakeList(), ModelPath());
  std::vector<char> bytes = FileBytes();
  TReactionList list;
  for (auto _ : state) {
    ParseReactionFile(list, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    benchmark::DoNotOptimize(list.data());
    state.PauseTiming();
    list.clear();
    list.shrink_to_fit();
    state.ResumeTiming();
  }
}

void BM_RawRead(benchmark::State& state) {
  WriteReactionFile(MakeList(), ModelPath());
  std::vector<char> bytes(4 + std::size_t(kReactions) * kReactionRecordSize);
  for (auto _ : state) {
    std::FILE* f = std::fopen(ModelPath().c_str(), "rb");
    if (!f || std::fread(bytes.data(), 1, bytes.size(), f) != bytes.size())
      state.SkipWithError("raw read failed");
    if (f) std::fclose(f);
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(state.iterations() * int64_t(bytes.size()));
}

}  // namespace

BENCHMARK(BM_ReadReactionFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseInMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteReactionFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawWrite)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::remove(ModelPath().c_str());
  std::remove(RawPath().c_str());
  return 0;
}
