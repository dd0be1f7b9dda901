// PDF pages rendered by poppler for read_file. Poppler is GPL-licensed: this
// renderer is built into the module libtarn_pdf.so, which tarn-scan and the
// Python package load (pdf_module.h), never into the tarn library, so that
// the library's own licence stays its own.
#ifndef TARN_PDF_RENDERER_H
#define TARN_PDF_RENDERER_H

#include "tarn/scan.h"

// The one renderer, shared by every thread.
const tarn::page_renderer& pdf_renderer();

// The same, as the module's entry point, which the loader finds by name.
extern "C" const tarn::page_renderer* tarn_pdf_renderer();

#endif
