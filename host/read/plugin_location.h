// Where the scanner finds its decoder plug-in when not told: installed beside
// the program (the install keeps the two a fixed relative path apart, so the
// pair can move anywhere), else where the build tree made it.
#ifndef TARN_HOST_PLUGIN_LOCATION_H
#define TARN_HOST_PLUGIN_LOCATION_H

#include <string>

// `program` is the path of the running program. The installed plug-in is
// used when it exists.
std::string default_plugin_path(const std::string& program);

// The running program's own path, or an empty string when the system cannot
// tell it.
std::string running_program_path();

#endif
