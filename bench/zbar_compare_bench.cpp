// The plug-in's decode call against ZBar's low-level Code 39 decoder
// (zbar_decode_width over the same element widths) on the scan lines a host
// meets, with the operator-new allocations of each per call. After the runs
// it prints each case's time ratio, plug-in over ZBar.
#include <benchmark/benchmark.h>
#include <zbar.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "plugin/tarn_code39ext.h"
#include "tests/support/code39_model.h"

namespace {

long long allocations = 0;

}  // namespace

// Counts every allocation of the program; the plug-in binds to these too.
void* operator new(std::size_t size) {
  ++allocations;
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

namespace {

constexpr double kNarrow = 3.0;  // pixels
// ZBar takes widths as integers in 1/32 pixel, as its own scanner makes them.
constexpr double kZbarUnitsPerPixel = 32.0;
// ZBar wants quiet zones around the symbol; ten narrow elements.
constexpr unsigned kQuietZone = 10 * kNarrow * kZbarUnitsPerPixel;

struct scan_line {
  std::string name;
  std::vector<double> edges;
  bool decodes;       // by the plug-in, and by ZBar where it is compared
  bool compare_zbar;  // the line is a whole symbol's width, quiet zones apart
};

std::vector<double> printed_symbol() {
  code39::print print;
  print.narrow = kNarrow;
  print.ratio = 2.5;
  print.gap = kNarrow;
  return code39::symbol_edges("HARDENING TEST 12345", print);  // 20 characters
}

// One element in the middle printed 1.5 narrow widths too wide.
std::vector<double> damaged(std::vector<double> edges) {
  for (std::size_t i = edges.size() / 2 + 3; i < edges.size(); ++i)
    edges[i] += 1.5 * kNarrow;
  return edges;
}

std::vector<double> random_widths(std::size_t edge_count) {
  std::mt19937 generator(2024);
  std::uniform_real_distribution<double> width(1.0, 8.0);
  std::vector<double> edges = {0.0};
  while (edges.size() < edge_count)
    edges.push_back(edges.back() + width(generator));
  return edges;
}

std::vector<scan_line> scan_lines() {
  const std::vector<double> symbol = printed_symbol();
  return {
      {"valid 20 characters", symbol, true, true},
      {"reversed", {symbol.rbegin(), symbol.rend()}, true, true},
      {"damaged element", damaged(symbol), false, true},
      {"random widths", random_widths(symbol.size()), false, true},
      {"wrong edge count", {symbol.begin(), symbol.end() - 1}, false, false},
  };
}

// The line as ZBar's decoder reads it: a quiet zone (a space), the elements
// from the first bar on, and the trailing quiet zone that ends the symbol.
std::vector<unsigned> zbar_widths(const std::vector<double>& edges) {
  std::vector<unsigned> widths = {kQuietZone};
  for (std::size_t i = 1; i < edges.size(); ++i) {
    const double pixels = std::abs(edges[i] - edges[i - 1]);
    widths.push_back(static_cast<unsigned>(pixels * kZbarUnitsPerPixel + 0.5));
  }
  widths.push_back(kQuietZone);
  return widths;
}

void report_allocations(benchmark::State& state, long long before) {
  state.counters["allocs/call"] =
      benchmark::Counter(static_cast<double>(allocations - before),
                         benchmark::Counter::kAvgIterations);
}

void plugin_decode(benchmark::State& state, const scan_line& line) {
  decoder_1d_interface* decoder = new_server_interface(0);
  tarn_result result;
  result.edges = line.edges;
  const long long before = allocations;
  for (auto _ : state) {
    if (decoder->decode(result, TARN_CHECKSUM_NONE, nullptr, 0, nullptr) !=
        line.decodes) {
      state.SkipWithError("unexpected decode result");
      break;
    }
  }
  report_allocations(state, before);
  delete_server_interface(0, decoder);
}

void zbar_decode(benchmark::State& state, const scan_line& line) {
  zbar::zbar_decoder_t* decoder = zbar::zbar_decoder_create();
  zbar::zbar_decoder_set_config(decoder, zbar::ZBAR_NONE, zbar::ZBAR_CFG_ENABLE,
                                0);
  zbar::zbar_decoder_set_config(decoder, zbar::ZBAR_CODE39,
                                zbar::ZBAR_CFG_ENABLE, 1);
  const std::vector<unsigned> widths = zbar_widths(line.edges);
  const long long before = allocations;
  for (auto _ : state) {
    zbar::zbar_decoder_new_scan(decoder);
    bool decoded = false;
    for (unsigned width : widths) {
      decoded |= zbar::zbar_decode_width(decoder, width) == zbar::ZBAR_CODE39;
    }
    if (decoded != line.decodes) {
      state.SkipWithError("unexpected ZBar result");
      break;
    }
  }
  report_allocations(state, before);
  zbar::zbar_decoder_destroy(decoder);
}

// The console report, then the plug-in's time over ZBar's for each case: the
// median where runs are repeated, else the one run.
class ratio_reporter : public benchmark::ConsoleReporter {
 public:
  ratio_reporter() : ConsoleReporter(OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const bool median_or_single =
          run.run_type == Run::RT_Iteration || run.aggregate_name == "median";
      if (!run.error_occurred && median_or_single)
        ns_[run.run_name.function_name] = run.GetAdjustedCPUTime();
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%-22s %12s %12s %14s\n", "case", "plug-in ns", "ZBar ns",
                "plug-in/ZBar");
    for (const scan_line& line : scan_lines()) {
      const auto plugin = ns_.find("plugin/" + line.name);
      const auto zbar = ns_.find("zbar/" + line.name);
      if (plugin == ns_.end()) continue;
      if (zbar == ns_.end()) {
        std::printf("%-22s %12.1f %12s %14s\n", line.name.c_str(),
                    plugin->second, "-", "-");
      } else {
        std::printf("%-22s %12.1f %12.1f %14.3f\n", line.name.c_str(),
                    plugin->second, zbar->second,
                    plugin->second / zbar->second);
      }
    }
  }

 private:
  std::map<std::string, double> ns_;
};

}  // namespace

int main(int argc, char** argv) {
  for (const scan_line& line : scan_lines()) {
    benchmark::RegisterBenchmark(("plugin/" + line.name).c_str(), plugin_decode,
                                 line)
        ->Unit(benchmark::kNanosecond);
    if (line.compare_zbar) {
      benchmark::RegisterBenchmark(("zbar/" + line.name).c_str(), zbar_decode,
                                   line)
          ->Unit(benchmark::kNanosecond);
    }
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  ratio_reporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
