#include "plugin/tarn_code39ext.h"

bool tarn_code39ext::decode(tarn_result& /*result*/,
                            TARN_CHECKSUMFLAGS /*flags*/,
                            tarn_fill_edges_callback /*fill_edges*/,
                            int /*edge_arg*/,
                            tarn_decoded_callback /*on_decoded*/) const {
  return false;
}
