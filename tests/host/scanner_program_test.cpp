// tarn-scan run as a user runs it: on the samples, on broken inputs, with
// bad options, and installed apart from the build tree.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

struct run_result {
  int status;
  std::string out;
  std::string err;
};

std::string quoted(const std::string& text) { return "'" + text + "'"; }

std::string sample(const std::string& name) {
  return quoted(std::string(TARN_SAMPLES_DIR) + "/" + name);
}

std::string read_text(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class ScannerProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "tarn-scan-XXXXXX");
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string file(const std::string& name, const std::string& content) {
    std::ofstream(dir_ / name, std::ios::binary) << content;
    return quoted((dir_ / name).string());
  }

  run_result run(const std::string& arguments,
                 const std::string& program = TARN_SCAN_PROGRAM) {
    const fs::path err = dir_ / "stderr";
    const std::string command =
        quoted(program) + " " + arguments + " 2>" + quoted(err.string());
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    char chunk[4096];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0)
      out.append(chunk, got);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out, read_text(err)};
  }

  fs::path dir_;
};

TEST_F(ScannerProgram, ReadsEverySample) {
  const std::pair<const char*, const char*> samples[] = {
      {"clean-1px.png", "TARN-SCAN 1X"},
      {"check-char-2px.png", "Hello, World!3"},
      {"quarter-turn.png", "Quarter turn"},
      {"degraded-tilted.png", "TILTED 5"},
      {"degraded-low-contrast.pgm", "LOW CONTRAST"},
      {"scan-lines.edges", "edge-file"},
  };
  std::string all;
  for (const auto& [name, text] : samples) {
    const run_result result = run("--json " + sample(name));
    EXPECT_EQ(result.status, 0) << name << result.err;
    EXPECT_THAT(result.out, HasSubstr(std::string("\"text\":\"") + text + '"'))
        << name;
    EXPECT_EQ(result.err, "") << name;
    all += " " + sample(name);
  }
  const run_result together = run(all);
  EXPECT_EQ(together.status, 0);
  EXPECT_EQ(std::count(together.out.begin(), together.out.end(), '\n'), 6);
}

TEST_F(ScannerProgram, ChecksumModes) {
  const std::pair<const char*, const char*> modes[] = {
      {"none", "\"Hello, World!3\""},
      {"verify", "\"Hello, World!3\""},
      {"strip", "\"Hello, World!\""},
  };
  for (const auto& [mode, text] : modes) {
    const run_result result = run(std::string("--checksum ") + mode + " " +
                                  sample("check-char-2px.png"));
    EXPECT_EQ(result.status, 0) << mode;
    EXPECT_THAT(result.out, HasSubstr(text)) << mode;
  }
  const run_result unchecked =
      run("--checksum verify " + sample("clean-1px.png"));
  EXPECT_EQ(unchecked.status, 1);
  EXPECT_THAT(unchecked.out, HasSubstr("check character does not match"));
}

TEST_F(ScannerProgram, ReadsStandardInput) {
  const run_result result = run("--json - < " + sample("quarter-turn.png"));
  EXPECT_EQ(result.status, 0);
  EXPECT_THAT(result.out,
              HasSubstr("{\"file\":\"-\",\"text\":\"Quarter turn\""));
}

TEST_F(ScannerProgram, BrokenInputsAreOneLineErrors) {
  const std::string png =
      read_text(std::string(TARN_SAMPLES_DIR) + "/check-char-2px.png");
  std::string corrupt_png = png;
  corrupt_png[png.size() / 2] ^= 0x40;
  const std::pair<std::string, std::string> cases[] = {
      {quoted((dir_ / "missing.png").string()), "No such file or directory"},
      {quoted(dir_.string()), "Is a directory"},
      {file("half.png", png.substr(0, png.size() / 2)), "bad PNG image: "},
      {file("corrupt.png", corrupt_png), "bad PNG image: "},
      {file("short.pgm", "P5 10 10 255 abc"), "truncated PNM image"},
      {file("colour.ppm", "P6 1 1 255 abc"), "unsupported Netpbm type P6"},
      {file("bad.edges", "# edges\n1 2 3\n4 5x 6\n"),
       "line 3: bad number \"5x\""},
      {file("binary.dat", std::string("\x7f"
                                      "ELF\x02\x01",
                                      6)),
       "not a PNG, PBM or PGM image, nor an edge file"},
  };
  for (const auto& [path, message] : cases) {
    const run_result result = run(path);
    EXPECT_EQ(result.status, 2) << message;
    EXPECT_EQ(result.out, "") << message;
    EXPECT_THAT(result.err, HasSubstr(message));
    EXPECT_EQ(result.err.rfind("tarn-scan: ", 0), 0u) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1)
        << result.err;
  }
}

TEST_F(ScannerProgram, OneBadInputLeavesTheOthersReported) {
  const std::string blank =
      file("blank.pbm", "P1 40 3 " + std::string(120, '0'));
  const std::string bad = file("bad.edges", "1 2 three");
  const run_result result =
      run("--json " + sample("clean-1px.png") + " " + bad + " " + blank);
  EXPECT_EQ(result.status, 2);
  EXPECT_THAT(result.out, HasSubstr("\"text\":\"TARN-SCAN 1X\""));
  EXPECT_THAT(result.out,
              HasSubstr("\"error\":\"line 1: bad number \\\"three\\\"\""));
  EXPECT_THAT(result.out, HasSubstr("\"text\":null"));

  const run_result unread = run(blank);
  EXPECT_EQ(unread.status, 1);
  EXPECT_THAT(unread.out, HasSubstr("no symbol read (0/"));
}

TEST_F(ScannerProgram, UsageAndPlugin) {
  struct usage_case {
    std::string arguments;
    int status;
    std::string out;
    std::string err;
  };
  const usage_case cases[] = {
      {"", 2, "", "tarn-scan: no input file (try --help)\n"},
      {"--frobnicate x", 2, "", "unknown option --frobnicate"},
      {"--checksum maybe x", 2, "", "--checksum takes none, verify or strip"},
      {"--help", 0, "Usage: tarn-scan [OPTION]... FILE...", ""},
      {"--version", 0, "tarn-scan 6.6.0.5300\nplug-in 6.6.0.5300\n", ""},
      {"--plugin /nowhere/libx.so x", 2, "",
       "tarn-scan: cannot load plug-in: /nowhere/libx.so: cannot open shared "
       "object file"},
  };
  for (const usage_case& c : cases) {
    const run_result result = run(c.arguments);
    EXPECT_EQ(result.status, c.status) << c.arguments;
    EXPECT_THAT(result.out, HasSubstr(c.out)) << c.arguments;
    EXPECT_THAT(result.err, HasSubstr(c.err)) << c.arguments;
  }
}

TEST_F(ScannerProgram, InstalledCopyLoadsThePluginBesideIt) {
  const fs::path bin = dir_ / "bin";
  fs::create_directories(bin);
  fs::copy_file(TARN_SCAN_PROGRAM, bin / "tarn-scan");
  const std::string program = (bin / "tarn-scan").string();
  // Nothing installed beside it: the build tree's plug-in.
  EXPECT_EQ(run("--version", program).status, 0);

  // A plug-in installed beside it comes first, here a broken one.
  const fs::path installed =
      (bin / TARN_PLUGIN_FROM_PROGRAM / "libtarn_code39ext.so")
          .lexically_normal();
  fs::create_directories(installed.parent_path());
  std::ofstream(installed) << "not a library";
  const run_result result = run("--version", program);
  EXPECT_EQ(result.status, 2);
  EXPECT_THAT(result.err, HasSubstr(installed.string()));
}

}  // namespace
