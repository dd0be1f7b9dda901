// A file that cannot be scanned: missing, unreadable, truncated, corrupt or
// of a format the scanner does not know. The message is one line, ready for
// the user.
#ifndef TARN_HOST_INPUT_ERROR_H
#define TARN_HOST_INPUT_ERROR_H

#include "tarn/scan.h"

using tarn::input_error;

#endif
