// The plug-in as a host loads it (dlopen), with one decoder, for tests that
// go through whole decode calls.
#ifndef TARN_TESTS_PLUGIN_HOST_H
#define TARN_TESTS_PLUGIN_HOST_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "read/decoder_plugin.h"

inline const std::string kSymbology = "Code39 Extended";

class PluginHost : public ::testing::Test {
 protected:
  bool decode(tarn_result& result, int flags = 0,
              tarn_fill_edges_callback fill_edges = nullptr, int edge_arg = 0,
              tarn_decoded_callback on_decoded = nullptr) const {
    return decoder_->decode(result, static_cast<TARN_CHECKSUMFLAGS>(flags),
                            fill_edges, edge_arg, on_decoded);
  }

  // A fresh record holding `edges`, after one decode call.
  tarn_result scan(std::vector<double> edges, int flags = 0) const {
    tarn_result result;
    result.edges = std::move(edges);
    decode(result, flags);
    return result;
  }

 private:
  decoder_plugin plugin_{TARN_PLUGIN_PATH};
  decoder_plugin::decoder_ptr decoder_ = plugin_.new_decoder();
};

#endif
