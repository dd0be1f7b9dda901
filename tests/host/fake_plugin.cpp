// Plug-ins that misbehave: built with FAKE_ENTRY_POINTS, its decoder throws
// from every call; without, it lacks the entry points.
#include <stdexcept>

#include "tarn_interface.h"

#ifdef FAKE_ENTRY_POINTS
struct throwing_decoder : decoder_1d_interface {
  bool decode(tarn_result&, TARN_CHECKSUMFLAGS, tarn_fill_edges_callback, int,
              tarn_decoded_callback) const override {
    throw std::runtime_error("fake decode fails");
  }
  std::string getversion() const override {
    throw std::runtime_error("fake version fails");
  }
};

extern "C" TARN_VISIBLE decoder_1d_interface* new_server_interface(int) {
  return new throwing_decoder;
}
extern "C" TARN_VISIBLE void delete_server_interface(int,
                                                     decoder_1d_interface* d) {
  delete d;
}
#endif
