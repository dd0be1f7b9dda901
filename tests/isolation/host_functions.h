// A host's own functions that share their names with functions the plug-in
// exports, as a host with a generated parser of its own has them. Each one
// behaves differently from the plug-in's and counts its calls.
#ifndef TARN_TESTS_HOST_FUNCTIONS_H
#define TARN_TESTS_HOST_FUNCTIONS_H

// Calls of any of the host's functions so far.
extern int host_function_calls;

#endif
