#include "pdf_module.h"

#include <dlfcn.h>

#include <filesystem>
#include <string>

#include "pdf_renderer.h"
#include "read/plugin_location.h"

namespace {

// The module's renderer, or why there is none.
struct loaded_module {
  const tarn::page_renderer* renderer = nullptr;
  std::string error;
};

// The module lies beside the decoder plug-in wherever the plug-in is found:
// both are installed into the library folder or the Python package's
// folder, and both are made in one folder of the build tree.
loaded_module load() {
  const std::string path =
      (std::filesystem::path(default_plugin_path()).parent_path() /
       TARN_PDF_MODULE_FILE_NAME)
          .string();
  // Never closed: its renderer, and the documents that renderer opens, run
  // its code until the process ends.
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  const auto entry = module ? reinterpret_cast<decltype(&tarn_pdf_renderer)>(
                                  dlsym(module, "tarn_pdf_renderer"))
                            : nullptr;
  if (!entry)
    return {
        nullptr,
        std::string("PDF needs the renderer module, which does not load: ") +
            dlerror()};
  return {entry(), {}};
}

class module_renderer : public tarn::page_renderer {
 public:
  const char* format() const override { return "PDF"; }

  // Answered here: read_file asks about every file, and most are no PDF.
  bool reads(std::string_view head) const override {
    return head.substr(0, 5) == "%PDF-";
  }

  std::unique_ptr<tarn::rendered_document> open(
      const std::vector<char>& bytes) const override {
    static const loaded_module module = load();
    if (!module.renderer) throw tarn::input_error(module.error);
    return module.renderer->open(bytes);
  }
};

}  // namespace

const tarn::page_renderer& pdf_module_renderer() {
  static const module_renderer renderer;
  return renderer;
}
