// A minimal host: loads the installed plug-in, reads one symbol and prints the
// plug-in's path on success.
#include <tarn_interface.h>
// Included first, so that a header that needs anything before it fails here.

#include <dlfcn.h>

#include <iostream>
#include <string>
#include <vector>

namespace {

// "*A*" with narrow elements one unit wide and wide ones two.
const std::vector<double> kSymbolEdges = {
    0,  1,  3,  4,  5,  7,  8,  10, 11, 12, 13, 15, 16, 17, 18,
    19, 21, 22, 23, 25, 26, 27, 29, 30, 31, 33, 34, 36, 37, 38};

int fail(const std::string& why) {
  std::cerr << "consumer: " << why << '\n';
  return 1;
}

int read_one_symbol(tarn_new_server_interface_fn create,
                    tarn_delete_server_interface_fn destroy) {
  decoder_1d_interface* decoder = create(0);
  tarn_result scan;
  scan.edges = kSymbolEdges;
  const bool decoded =
      decoder->decode(scan, TARN_CHECKSUM_NONE, nullptr, 0, nullptr);
  const std::string version = decoder->getversion();
  destroy(0, decoder);

  if (version != "6.6.0.5300") return fail("unexpected version " + version);
  if (!decoded) return fail("the symbol was not decoded");
  const tarn_candidate_result& candidate = scan.candidates["Code39 Extended"];
  if (candidate.text != "A" || candidate.check_char != "0")
    return fail("read '" + candidate.text + "' with check character '" +
                candidate.check_char + "'");
  return 0;
}

}  // namespace

int main() {
  void* plugin = dlopen(TARN_PLUGIN, RTLD_NOW | RTLD_LOCAL);
  if (plugin == nullptr) return fail(dlerror());
  auto create = reinterpret_cast<tarn_new_server_interface_fn>(
      dlsym(plugin, "new_server_interface"));
  auto destroy = reinterpret_cast<tarn_delete_server_interface_fn>(
      dlsym(plugin, "delete_server_interface"));
  int status = create && destroy ? read_one_symbol(create, destroy)
                                 : fail("entry points not found");
  dlclose(plugin);
  if (status == 0) std::cout << TARN_PLUGIN << '\n';
  return status;
}
