// PDF pages for tarn-scan and the Python package, rendered by the module
// libtarn_pdf.so (pdf_renderer.h). The module links poppler and its many
// libraries, so it is loaded only when the first PDF is opened: runs that
// meet none start without them.
#ifndef TARN_PDF_MODULE_H
#define TARN_PDF_MODULE_H

#include "tarn/scan.h"

// A renderer that loads the module on first use and hands it the work. When
// the module cannot be loaded, every PDF is an input_error that says why.
const tarn::page_renderer& pdf_module_renderer();

#endif
