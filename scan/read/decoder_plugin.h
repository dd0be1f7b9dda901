// Loads a decoder plug-in as any third-party host does: dlopen by path, then
// the two entry points by their plain names.
#ifndef TARN_HOST_DECODER_PLUGIN_H
#define TARN_HOST_DECODER_PLUGIN_H

#include <memory>
#include <stdexcept>
#include <string>

#include "tarn/scan.h"
#include "tarn_interface.h"

using tarn::plugin_error;

class decoder_plugin {
 public:
  // Throws plugin_error with the loader's own words when the library or one of
  // its entry points cannot be found.
  explicit decoder_plugin(const std::string& path);
  ~decoder_plugin();
  decoder_plugin(const decoder_plugin&) = delete;
  decoder_plugin& operator=(const decoder_plugin&) = delete;

  struct decoder_deleter {
    tarn_delete_server_interface_fn delete_server_interface;
    void operator()(decoder_1d_interface* decoder) const {
      delete_server_interface(0, decoder);
    }
  };
  using decoder_ptr = std::unique_ptr<decoder_1d_interface, decoder_deleter>;

  // A decoder object, handed back to the plug-in when the pointer goes.
  decoder_ptr new_decoder() const;

  tarn_new_server_interface_fn new_server_interface() const { return create_; }
  tarn_delete_server_interface_fn delete_server_interface() const {
    return destroy_;
  }
  // Address of any other exported name, or nullptr.
  void* symbol(const char* name) const;

 private:
  void* handle_;
  tarn_new_server_interface_fn create_;
  tarn_delete_server_interface_fn destroy_;
};

#endif
