#pragma once

namespace glintbox {

// The browser engine refuses to run as root with its sandbox on; this variable
// of its own turns the sandbox off. It is the engine's alone: the programs the
// launcher starts never get it.
constexpr char BrowserSandboxVariable[] = "QTWEBENGINE_DISABLE_SANDBOX";

// Lets the browser engine of this process run when the program runs as root.
void allowBrowserEngineAsRoot();

} // namespace glintbox
