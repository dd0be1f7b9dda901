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

// The samples and the test pages: symbols at any angle, in perspective,
// blurred, the same text twice, printed with ink spread, light on dark, a
// tight crop, a stack, a long symbol turned between the first look's lines,
// a damaged symbol that reads nothing (graded F), and clutter with no symbol
// (made by tests/host/data/make_pages.sh).
const std::string sample_files =
    " samples/check-char-2px.png samples/clean-1px.png"
    " samples/degraded-low-contrast.pgm samples/degraded-tilted.png"
    " samples/phone-photo.jpg samples/quarter-turn.png samples/scan-lines.edges"
    " samples/turned-30.png samples/two-pages.tif samples/two-symbols.png"
    " tests/host/data/pages/turned-200.png "
    "tests/host/data/pages/foreshortened.png"
    " tests/host/data/pages/blurred.png "
    "tests/host/data/pages/same-text-twice.png"
    " tests/host/data/pages/ink-spread.png "
    "tests/host/data/pages/light-on-dark.png"
    " tests/host/data/pages/tight-crop.png tests/host/data/pages/stacked.png"
    " tests/host/data/pages/turned-64.png tests/host/data/pages/damaged.png"
    " tests/host/data/pages/clutter.png";

// The output against its record in tests/host/data. After a change meant to
// alter it, TARN_REFRESH=1 rewrites the records: review their diff.
void expect_recorded(const std::string& output, const std::string& name) {
  const fs::path record = fs::path(TARN_TEST_DATA_DIR) / name;
  if (std::getenv("TARN_REFRESH")) std::ofstream(record) << output;
  EXPECT_TRUE(output == read_text(record)) << "not as recorded: " << name;
}

TEST_F(ScannerProgram,
       ReportsOnTheSamplesAsRecordedWhateverTheJobsAndTerminal) {
  fs::current_path(TARN_SOURCE_DIR);
  const std::string svg = quoted((dir_ / "profiles.svg").string());
  const run_result graded =
      run("--json -j 1 --profile-svg " + svg + sample_files);
  EXPECT_EQ(graded.status, 1);  // nothing read from the clutter
  expect_recorded(graded.out, "report.json");
  // The picture is large: its hash stands for it.
  expect_recorded(std::to_string(std::hash<std::string>()(
                      read_text(dir_ / "profiles.svg"))),
                  "profiles.svg.hash");
  expect_recorded(run("--grade --jobs=5" + sample_files).out, "report.txt");
  expect_recorded(
      run("--grade --dpi 600 --aperture 5 --linear" + sample_files).out,
      "report-600dpi.txt");
  // Standard output and error both on the terminal that `script` makes.
  const run_result shown =
      run("-qec \"" TARN_SCAN_PROGRAM " --json --grade -j 2" + sample_files +
              " 2>&1\" /dev/null",
          "script");
  // Each file's name while it is scanned.
  EXPECT_EQ(
      shown.out.rfind("\r\33[Kscanning 1/21 samples/check-char-2px.png\r", 0),
      0u);
  EXPECT_THAT(shown.out,
              HasSubstr("\r\33[Kscanning 2/21 samples/clean-1px.png\r"));
  EXPECT_THAT(shown.out, HasSubstr("\r\33[Kscanning 21/21 tests/host/data/pa"));
  const std::regex progress("\r\33\\[K(scanning [^\r]*)?|\r(?=\n)");
  EXPECT_TRUE(std::regex_replace(shown.out, progress, "") == graded.out);
}

// Each case's standard error is at most one line, the program's own.
TEST_F(ScannerProgram, OptionsInputsAndPlugins) {
  std::string corrupt_png = read_text(TARN_SAMPLES_DIR "/check-char-2px.png");
  corrupt_png[corrupt_png.size() / 2] ^= 0x40;
  const std::string edges = sample("scan-lines.edges");
  const std::string throwing = "--plugin " TARN_FAKE_PLUGIN_THROWING " ";
  const std::string path_list =
      file("list.txt", "\n" TARN_SAMPLES_DIR "/quarter-turn.png\r\n\n" +
                           std::string(TARN_SAMPLES_DIR "/labels.pdf\n"));
  const std::string linear_symbol =
      "--json --grade --linear " +
      quoted(TARN_TEST_DATA_DIR "/linear_symbol.png");
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
      {"--json " + quoted(TARN_TEST_DATA_DIR "/broken_page.tif"), 2,
       "\"page\":2,\"error\":\"truncated TIFF image: ",
       "broken_page.tif:2: truncated TIFF"},
      {quoted((dir_ / "missing.png").string()), 2, "",
       "No such file or directory"},
      {file("corrupt.png", corrupt_png), 2, "", "bad PNG image: "},
      {"- < " + file("binary.dat", "\177ELF\2\1"), 2, "",
       "tarn-scan: -: not an image"},
      {"", 2, "", "tarn-scan: no input file (try --help)\n"},
      {"-- --help", 2, "", "--help: No such file"},
      {"--checksum always a", 2, "", "--checksum takes none, verify or strip"},
      {"a --plugin=", 2, "", "--plugin needs a value"},
      {"-j 0 a", 2, "", "-j takes a number from 1 to 1024, not '0'"},
      {"-j2 " + sample("quarter-turn.png"), 0, "\"Quarter turn\"", ""},
      {"--json=1 a", 2, "", "--json takes no value"},
      {"-x a", 2, "", "unknown option -x"},
      {"--max-pages 0 a", 2, "", "--max-pages takes a number from 1 to"},
      // Paths from a list, in its place among the others; PDF pages at a
      // resolution of choice.
      {edges + " --files-from " + path_list, 0,
       "scan-lines.edges: \"edge-file\"", ""},
      {"--files-from - < " + path_list, 0, "quarter-turn.png: \"Quarter turn\"",
       ""},
      {"--files-from=" + path_list, 0, "labels.pdf:2: \"Label two\" at 659",
       ""},
      {"--files-from /nowhere/list", 2, "",
       "--files-from cannot read /nowhere/list: No such file"},
      {"--pdf-dpi 600 " + sample("labels.pdf"), 0,
       "labels.pdf:2: \"Label two\" at 1318", ""},
      {"--pdf-dpi 0 a", 2, "", "--pdf-dpi takes a number from 1 to 2400"},
      // Linear samples as they stand, whatever the file's gAMA chunk says.
      {linear_symbol, 0, "\"rmin\":0.039", ""},
      {linear_symbol, 0, "\"symbol_contrast\":{\"value\":0.863", ""},
      // Grading settings: only with --grade, and an aperture in its unit.
      {"--dpi 300 a", 2, "", "--dpi applies to grading: add --grade"},
      {"--grade --aperture 6 a", 2, "",
       "--aperture takes 0.1 to 2 modules (X) without --dpi, not 6 (in mils "
       "give --dpi too)"},
      {"--grade --dpi 300 --aperture 100000 a", 2, "",
       "--aperture takes 1 to 50 mils with --dpi, not 100000 (try"},
      {"--profile-svg - a", 2, "", "--profile-svg writes a file"},
      {"--jobs=2x a", 2, "", "--jobs takes a number"},
      {"a -j", 2, "", "-j needs a value"},
      {"--dpi 0 a", 2, "", "--dpi takes a positive number, not '0'"},
      {"--aperture=inf a", 2, "", "--aperture takes a positive number"},
      {"-h", 0, "after '--' every argument is a FILE", ""},
      {"--version", 0, "tarn-scan 6.6.0.5300\nplug-in 6.6.0.5300\n", ""},
      {"--profile-svg /nowhere/p.svg " + sample("quarter-turn.png"), 2,
       "Quarter turn", "tarn-scan: cannot write /nowhere/p.svg\n"},
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
