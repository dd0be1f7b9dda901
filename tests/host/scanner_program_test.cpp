// tarn-scan run as a user runs it: on the samples, on broken inputs, with
// bad options and plug-ins, and on a terminal.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using namespace std::string_literals;

struct run_result {
  int status;
  std::string out, err;
};

std::string quoted(const std::string& text) { return "'" + text + "'"; }

std::string sample(const std::string& name) {
  return quoted(TARN_SAMPLES_DIR "/" + name);
}

std::string read_text(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class ScannerProgram : public ::testing::Test {
 protected:
  ScannerProgram() { fs::create_directories(dir_); }
  ~ScannerProgram() override { fs::remove_all(dir_); }

  std::string file(const std::string& name, const std::string& content) {
    std::ofstream(dir_ / name, std::ios::binary) << content;
    return quoted((dir_ / name).string());
  }

  run_result run(const std::string& arguments,
                 const std::string& program = TARN_SCAN_PROGRAM) {
    const fs::path out = dir_ / "stdout", err = dir_ / "stderr";
    const int status =
        std::system((quoted(program) + " " + arguments + " >" +
                     quoted(out.string()) + " 2>" + quoted(err.string()))
                        .c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_text(out),
            read_text(err)};
  }

  // ctest runs each test in a process of its own.
  const fs::path dir_ =
      fs::temp_directory_path() / ("tarn-scan-" + std::to_string(getpid()));
};

const std::pair<const char*, const char*> samples[] = {
    {"clean-1px.png", "TARN-SCAN 1X"},
    {"check-char-2px.png", "Hello, World!3"},
    {"quarter-turn.png", "Quarter turn"},
    {"degraded-tilted.png", "TILTED 5"},
    {"degraded-low-contrast.pgm", "LOW CONTRAST"},
    {"scan-lines.edges", "edge-file"},
};

TEST_F(ScannerProgram, ReadsEverySampleInOrderWhateverTheJobsAndTerminal) {
  std::string all;
  for (const auto& entry : samples) all += " " + sample(entry.first);
  all += all;  // 12 files, enough for a progress line
  const run_result one_job = run("--json -j 1" + all);
  EXPECT_EQ(one_job.status, 0);
  std::size_t at = 0;
  for (int twice = 0; twice < 2; ++twice)
    for (const auto& [name, text] : samples) {
      at = one_job.out.find(name + "\",\"symbols\":[{\"text\":\""s + text, at);
      EXPECT_NE(at, std::string::npos) << name;
    }
  EXPECT_EQ(run("--json --jobs=5" + all).out, one_job.out);
  // Standard output and error both on the terminal that `script` makes.
  const run_result shown = run(
      "-qec \"" TARN_SCAN_PROGRAM " --json -j 2" + all + " 2>&1\" /dev/null",
      "script");
  EXPECT_THAT(shown.out, HasSubstr("\r\33[Kscanning 12/12 "));
  const std::regex progress("\r\33\\[K(scanning [^\r]*)?|\r(?=\n)");
  EXPECT_EQ(std::regex_replace(shown.out, progress, ""), one_job.out);
}

// Each case's standard error is at most one line, the program's own.
TEST_F(ScannerProgram, OptionsInputsAndPlugins) {
  std::string corrupt_png = read_text(TARN_SAMPLES_DIR "/check-char-2px.png");
  corrupt_png[corrupt_png.size() / 2] ^= 0x40;
  const std::string edges = sample("scan-lines.edges");
  const std::string throwing = "--plugin " TARN_FAKE_PLUGIN_THROWING " ";
  const std::tuple<std::string, int, std::string, std::string> cases[] = {
      {"--checksum strip " + sample("check-char-2px.png"), 0,
       "\"Hello, World!\"", ""},
      {"--checksum=verify " + sample("clean-1px.png"), 1,
       "clean-1px.png: no symbol read\n", ""},
      {"--json - < " + sample("quarter-turn.png"), 0,
       "{\"file\":\"-\",\"symbols\":[{\"text\":\"Quarter turn\"", ""},
      {"--json " + sample("clean-1px.png") + " " +
           file("three.edges", "1 2 three") + " " +
           file("blank.pbm", "P1 4 1 0000"),
       2, "blank.pbm\",\"symbols\":[]}", "three.edges: line 1: bad number"},
      {quoted((dir_ / "missing.png").string()), 2, "",
       "No such file or directory"},
      {file("corrupt.png", corrupt_png), 2, "", "bad PNG image: "},
      {"- < " + file("binary.dat", "\177ELF\2\1"), 2, "",
       "tarn-scan: -: not an image"},
      {"", 2, "", "tarn-scan: no input file (try --help)\n"},
      {"-- --help", 2, "", "--help: No such file"},
      {"--checksum always a", 2, "", "--checksum takes none, verify or strip"},
      {"a --plugin=", 2, "", "--plugin needs a value"},
      {"-j 0 a", 2, "", "--jobs takes a number from 1 to 1024, not '0'"},
      {"--jobs=2x a", 2, "", "--jobs takes a number"},
      {"a -j", 2, "", "-j needs a value"},
      {"--help", 0, "  -j, --jobs N", ""},
      {"--version", 0, "tarn-scan 6.6.0.5300\nplug-in 6.6.0.5300\n", ""},
      {"--plugin /nowhere/libx.so x", 2, "",
       "cannot load plug-in: /nowhere/libx.so: cannot open shared object"},
      {"--plugin " TARN_FAKE_PLUGIN_EMPTY " x", 2, "", "undefined symbol"},
      {throwing + "--version", 2, "", "failed: fake version fails"},
      {throwing + edges + " " + edges, 1, "scan-lines.edges: no symbol read\n",
       ""},
  };
  for (const auto& [arguments, status, out, err] : cases) {
    const run_result result = run(arguments);
    EXPECT_EQ(result.status, status) << arguments;
    EXPECT_THAT(result.out, HasSubstr(out)) << arguments;
    EXPECT_THAT(result.err, HasSubstr(err)) << arguments;
    EXPECT_EQ(result.err.find('\n') + 1, result.err.size()) << result.err;
    EXPECT_EQ(result.err.rfind("tarn-scan: ", 0),
              result.err.empty() ? std::string::npos : 0u)
        << arguments;
  }
}

}  // namespace
