#include "read/decoder_plugin.h"

#include <dlfcn.h>

namespace {

std::string loader_error() {
  const char* message = dlerror();
  return message ? message : "unknown dynamic loader error";
}

}  // namespace

decoder_plugin::decoder_plugin(const std::string& path)
    : handle_(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
  if (!handle_) throw plugin_error(loader_error());
  create_ = reinterpret_cast<tarn_new_server_interface_fn>(
      dlsym(handle_, "new_server_interface"));
  destroy_ = reinterpret_cast<tarn_delete_server_interface_fn>(
      dlsym(handle_, "delete_server_interface"));
  if (!create_ || !destroy_) {
    const std::string message = loader_error();
    dlclose(handle_);
    throw plugin_error(message);
  }
}

decoder_plugin::~decoder_plugin() { dlclose(handle_); }

decoder_plugin::decoder_ptr decoder_plugin::new_decoder() const {
  return decoder_ptr(create_(0), decoder_deleter{destroy_});
}

void* decoder_plugin::symbol(const char* name) const {
  return dlsym(handle_, name);
}
