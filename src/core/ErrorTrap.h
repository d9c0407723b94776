#pragma once

#include <functional>

namespace glintbox {

class Prompts;
class RunTimeError;

// The shared error report: the error's standard description in a message box
// captioned "Glintbox - Error " and the number, critical icon, OK.
void showErrorReport(Prompts &prompts, const RunTimeError &error);

// Runs a handler under the error trap: a RunTimeError (or running out of
// memory) ends the handler with the shared error report. Returns whether the
// handler finished without an error.
bool runTrapped(Prompts &prompts, const std::function<void()> &handler);

} // namespace glintbox
