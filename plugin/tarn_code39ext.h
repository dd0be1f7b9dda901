// The Code39 Extended decoder that the plug-in hands to its host.
#ifndef TARN_CODE39EXT_H
#define TARN_CODE39EXT_H

#include <string>

#include "tarn_interface.h"

// Stateless: every object behaves alike, and a decode call keeps nothing in it.
class TARN_VISIBLE tarn_code39ext : public decoder_1d_interface {
 public:
  bool decode(tarn_result& result, TARN_CHECKSUMFLAGS flags,
              tarn_fill_edges_callback fill_edges, int edge_arg,
              tarn_decoded_callback on_decoded) const override;
  std::string getversion() const override;
};

extern "C" {
decoder_1d_interface* new_server_interface(int selector);
void delete_server_interface(int selector, decoder_1d_interface* decoder);
}

#endif
