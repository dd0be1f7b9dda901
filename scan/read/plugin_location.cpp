#include "read/plugin_location.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>
#include <utility>

namespace {

// The folder of `file`, or nothing when it cannot be resolved.
std::filesystem::path folder_of(const char* file) {
  std::error_code failed;
  const std::filesystem::path resolved =
      std::filesystem::canonical(file ? file : "", failed);
  return failed ? std::filesystem::path() : resolved.parent_path();
}

// The folder of the shared object that holds this code (for a program, the
// loader may give a name it cannot be found by).
std::filesystem::path folder_of_this_library() {
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&default_plugin_path), &info)) return {};
  return folder_of(info.dli_fname);
}

}  // namespace

std::string default_plugin_path() {
  namespace fs = std::filesystem;
  const std::pair<fs::path, fs::path> places[] = {
      {folder_of_this_library(), "."},
      {folder_of("/proc/self/exe"), TARN_PLUGIN_FROM_PROGRAM}};
  for (const auto& [folder, to_plugin] : places) {
    const fs::path candidate = folder / to_plugin / TARN_PLUGIN_FILE_NAME;
    std::error_code ignored;
    if (!folder.empty() && fs::exists(candidate, ignored))
      return candidate.lexically_normal().string();
  }
  return TARN_BUILD_TREE_PLUGIN;
}
