// PDF pages rendered by poppler for read_file. Poppler is GPL-licensed: this
// library is linked into tarn-scan and the Python package only, never into
// the tarn library, so that the library's own licence stays its own.
#ifndef TARN_PDF_RENDERER_H
#define TARN_PDF_RENDERER_H

#include "tarn/scan.h"

// The one renderer, shared by every thread.
const tarn::page_renderer& pdf_renderer();

#endif
