// Netpbm bitmaps and grey maps: PBM (P1, P4) and PGM (P2, P5).
#ifndef TARN_HOST_PNM_READER_H
#define TARN_HOST_PNM_READER_H

#include <vector>

#include "image/image.h"

bool looks_like_pnm(const std::vector<unsigned char>& bytes);

// Throws input_error for a bad header, a truncated raster, a sample above
// the maximum value, or a Netpbm type other than PBM and PGM.
grey_image read_pnm(const std::vector<unsigned char>& bytes);

#endif
