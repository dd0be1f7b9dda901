// The interface that a barcode-reading host shares with its 1D decoder
// plug-ins. A host includes this header alone, loads a plug-in with dlopen,
// resolves `new_server_interface` / `delete_server_interface` by their plain
// names and drives the decoder through `decoder_1d_interface`.
//
// Everything here is part of the binary interface: member order and types,
// the order of the virtual operations and the size of TARN_CHECKSUMFLAGS.
#ifndef TARN_INTERFACE_H
#define TARN_INTERFACE_H

#include <map>
#include <string>
#include <vector>

#define TARN_VISIBLE __attribute__((visibility("default")))

// How a decoder treats a symbol's check character. Any other value acts as
// TARN_CHECKSUM_NONE.
enum TARN_CHECKSUMFLAGS : int {
  TARN_CHECKSUM_NONE = 0,          // report the text as read
  TARN_CHECKSUM_VERIFY = 1,        // report it only if the check character fits
  TARN_CHECKSUM_VERIFY_STRIP = 2,  // as VERIFY, without the check character
};

// One decoding made by one decoder, filed in tarn_result::candidates under the
// decoder's symbology name.
class TARN_VISIBLE tarn_candidate_result {
 public:
  tarn_candidate_result() = default;
  tarn_candidate_result(const tarn_candidate_result&) = default;
  tarn_candidate_result& operator=(const tarn_candidate_result&) = default;
  virtual ~tarn_candidate_result() {}

  std::string text;        // empty when the check character failed
  std::string check_char;  // the expected check character
  double confidence = 1.0;
  double decode_time = 0.0;           // time since the decode call began
  std::vector<char> bar_thicknesses;  // module counts that were parsed
  bool reversed = false;              // read from the reversed edge list
};

// The host's record of one scan line: its edges in, the decoders' results out.
struct tarn_result {
  std::vector<double> edges;  // bar/space edge positions in scan order
  std::map<std::string, tarn_candidate_result> candidates;
  bool passed_1 = false;  // pass/fail scan-grade parameters, set by the host
  bool passed_2 = false;
  bool passed_3 = false;
  int grade_1 = 0;  // graded scan-grade parameters, 4 best, 0 worst
  int grade_2 = 0;
  int grade_3 = 0;
  int grade_4 = 0;
  bool decode_ok = false;  // true when a symbol was parsed
  int overall_grade = 0;   // the lowest of the eight grade values
};

// Asked to fill `edges` when a decode call finds them empty; the int is the
// one the host handed to decode.
typedef bool (*tarn_fill_edges_callback)(tarn_result&, int);
// Called after a successful parse to grade the scan; may clear decode_ok.
typedef void (*tarn_decoded_callback)(tarn_result&);

class TARN_VISIBLE decoder_1d_interface {
 public:
  virtual ~decoder_1d_interface() {}
  virtual bool decode(tarn_result& result, TARN_CHECKSUMFLAGS flags,
                      tarn_fill_edges_callback fill_edges, int edge_arg,
                      tarn_decoded_callback on_decoded) const = 0;
  virtual std::string getversion() const = 0;
};

// The plug-in's entry points, as a host resolves them with dlsym. Selector 0
// is the only one served; any other throws std::exception.
typedef decoder_1d_interface* (*tarn_new_server_interface_fn)(int selector);
typedef void (*tarn_delete_server_interface_fn)(int selector,
                                                decoder_1d_interface* decoder);

#endif
