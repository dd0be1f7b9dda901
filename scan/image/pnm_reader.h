// Netpbm bitmaps and grey maps: PBM (P1, P4) and PGM (P2, P5).
#ifndef TARN_HOST_PNM_READER_H
#define TARN_HOST_PNM_READER_H

#include <string_view>

#include "image/image.h"
#include "image/input_file.h"

bool looks_like_pnm(std::string_view head);

// Throws input_error for a bad header, a truncated raster, a sample above
// the maximum value, or a Netpbm type other than PBM and PGM.
grey_image read_pnm(input_file& input);

#endif
