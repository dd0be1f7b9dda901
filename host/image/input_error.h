// A file that cannot be scanned: missing, unreadable, truncated, corrupt or
// of a format the scanner does not know. The message is one line, ready for
// the user.
#ifndef TARN_HOST_INPUT_ERROR_H
#define TARN_HOST_INPUT_ERROR_H

#include <stdexcept>

struct input_error : std::runtime_error {
  using std::runtime_error::runtime_error;
};

#endif
