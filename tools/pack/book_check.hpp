#pragma once

#include "book_plan.hpp"
#include "diagnostics.hpp"

namespace quillora::pack {

// How the faults of the pages count. --check reports a link to a missing file, a link out of
// the book or to an absolute path, and a LOADHTML that opens no page as errors, so that its
// exit status fails; packing reports the same lines as warnings and still writes the e-book,
// since a page with a dangling link still shows.
enum class PageFaults { AreErrors, AreWarnings };

// Reads every page of the planned page folders and reports, page by page and in the order
// written, "FILE:LINE:" with FILE as the page lies beside the e-book (pages/maps.html):
// references to files missing from the book, fragments that name no anchor, links that leave
// the book's folder or name an absolute path, action links with unknown command words,
// LOADHTML paths (in pages, the start-up action and the menu) that open no page, and the first
// byte of a page that its encoding lacks. A page is read to its end, past </html>, as the engine
// shows it. Last come the pages that nothing reaches from the home page, a warning each.
void CheckBookPages(const LoadedBook& book, PageFaults faults, Diagnostics& diagnostics);

}  // namespace quillora::pack
