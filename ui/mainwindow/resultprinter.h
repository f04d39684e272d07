#pragma once
// Printing the result the user currently sees: the stage's result at its
// current size, fitted to the page with its aspect kept, at the top left of
// the printable area inside a margin of 15 points. Landscape pages for wide
// images. The print dialog goes through _gui::ExecModal, so tests choose the
// printer (a PDF file) and answer it.

class IResultExportHost;

namespace ResultPrinter {

// The margin, in device units of a printer of the given resolution (dpi).
int MarginForResolution(int dpi);

// True when a page was printed. A cancelled dialog prints and shows nothing;
// a missing result or memory shows the out-of-memory warning after the dialog.
bool PrintResultImage(IResultExportHost& host);

} // namespace ResultPrinter
