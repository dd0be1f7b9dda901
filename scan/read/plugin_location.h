// Where the engine finds its decoder plug-in when not told. Installed, the
// plug-in lies in the folder of the library that holds the engine (the C++
// library, or the Python package's module), or in the library folder
// relative to a program that holds it (bin/../lib); the install keeps these
// relative paths, so the files can move anywhere together. Else the build
// tree's plug-in.
#ifndef TARN_HOST_PLUGIN_LOCATION_H
#define TARN_HOST_PLUGIN_LOCATION_H

#include <string>

// The first of those places where the plug-in exists, else the build tree's.
std::string default_plugin_path();

#endif
