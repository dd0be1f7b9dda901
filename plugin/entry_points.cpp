// The two functions a host resolves by name. Selector 0 is the only one
// served; any other is refused before anything is allocated or freed.
#include <exception>

#include "tarn_code39ext.h"

decoder_1d_interface* new_server_interface(int selector) {
  if (selector != 0) throw std::exception();
  return new tarn_code39ext;
}

void delete_server_interface(int selector, decoder_1d_interface* decoder) {
  if (selector != 0) throw std::exception();
  delete decoder;
}
