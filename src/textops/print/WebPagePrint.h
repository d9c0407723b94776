#pragma once

class QPrinter;

namespace glintbox {

class WebBrowserView;

// Prints the page the browser shows, laid out as the browser lays it out for
// paper, as one job. The engine prints in its own process: the window keeps
// painting meanwhile but takes no input, so nothing can change the page or
// the printer under the job. Throws the printer's error when the job fails.
void printWebPage(WebBrowserView &browser, QPrinter &printer);

} // namespace glintbox
