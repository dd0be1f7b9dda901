#include "tarn_code39ext.h"

std::string tarn_code39ext::getversion() const { return "6.6.0.5300"; }
