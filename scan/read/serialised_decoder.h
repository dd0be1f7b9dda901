// A decoder whose decode calls never overlap, whichever thread makes them.
// The plug-in keeps its working state in process-wide globals, so the
// scanner's threads share one lock around every call into it.
#ifndef TARN_HOST_SERIALISED_DECODER_H
#define TARN_HOST_SERIALISED_DECODER_H

#include <string>

#include "tarn_interface.h"

class serialised_decoder : public decoder_1d_interface {
 public:
  explicit serialised_decoder(const decoder_1d_interface& decoder)
      : decoder_(decoder) {}

  // Forwards to the wrapped decoder while holding the process-wide lock.
  bool decode(tarn_result& result, TARN_CHECKSUMFLAGS flags,
              tarn_fill_edges_callback fill_edges, int edge_arg,
              tarn_decoded_callback on_decoded) const override;
  std::string getversion() const override;

 private:
  const decoder_1d_interface& decoder_;
};

#endif
