#pragma once

#include "BrowserEngine.h"

#include <memory>

namespace glintbox {

// Loads the browser engine's module from beside the executable (or from the
// folder GLINTBOX_MODULE_DIR names, as the tests do) on first use, and makes
// an engine with it. Throws a RunTimeError naming the module when it cannot
// be loaded.
std::unique_ptr<BrowserEngine> createBrowserEngine(QWidget *parent, PageFiles &pages,
                                                   BrowserEngine::Listener listener);

} // namespace glintbox
