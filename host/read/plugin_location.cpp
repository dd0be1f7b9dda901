#include "read/plugin_location.h"

#include <filesystem>
#include <system_error>

std::string default_plugin_path(const std::string& program) {
  namespace fs = std::filesystem;
  if (!program.empty()) {
    const fs::path installed = fs::path(program).parent_path() /
                               TARN_PLUGIN_FROM_PROGRAM / TARN_PLUGIN_FILE_NAME;
    std::error_code ignored;
    if (fs::exists(installed, ignored)) return installed.lexically_normal();
  }
  return TARN_BUILD_TREE_PLUGIN;
}

std::string running_program_path() {
  std::error_code failed;
  const std::filesystem::path program =
      std::filesystem::read_symlink("/proc/self/exe", failed);
  return failed ? std::string() : program.string();
}
