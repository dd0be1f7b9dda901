// Inputs that are neither an image the scanner reads nor an edge file: what
// they look like, for the one line that refuses them.
#ifndef TARN_HOST_UNKNOWN_INPUT_H
#define TARN_HOST_UNKNOWN_INPUT_H

#include <string_view>

#include "image/input_error.h"

// Printable ASCII, whitespace and bytes of UTF-8, as edge files hold.
bool looks_like_text(std::string_view head);

// "not an image or edge file: it looks like SVG", "...: binary data", or
// "...: text beginning \"...\"", from the file's first bytes.
input_error not_an_input(std::string_view head);

#endif
