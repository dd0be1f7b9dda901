#include "read/serialised_decoder.h"

#include <mutex>

namespace {

// One for the process: every decoder object of the plug-in shares its state.
std::mutex plugin_mutex;

}  // namespace

bool serialised_decoder::decode(tarn_result& result, TARN_CHECKSUMFLAGS flags,
                                tarn_fill_edges_callback fill_edges,
                                int edge_arg,
                                tarn_decoded_callback on_decoded) const {
  const std::lock_guard<std::mutex> lock(plugin_mutex);
  return decoder_.decode(result, flags, fill_edges, edge_arg, on_decoded);
}

std::string serialised_decoder::getversion() const {
  const std::lock_guard<std::mutex> lock(plugin_mutex);
  return decoder_.getversion();
}
