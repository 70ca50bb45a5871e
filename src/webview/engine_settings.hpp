#pragma once

#include <webkit2/webkit2.h>

#include <string>
#include <vector>

namespace quillora {

// The engine's settings that suit a reader of local pages rather than a web browser, each kept
// because start-up measured faster or lighter with it and pages still move as they should
// (docs/performance.md has the figures). QUILLORA_HARDWARE_ACCELERATION=on in the environment
// restores the engine's own choices, to tell whether a fault of drawing comes from ours.

// Sets the program's own environment: call first thing in main, before any thread starts.
void ChooseReaderEngineSettings();

// The variables ChooseReaderEngineSettings set for the engine alone: programs the book starts
// (a browser among them) must not inherit them. A variable the reader had set is not listed.
const std::vector<std::string>& EngineOnlyVariables();

// Before the view loads its first page.
void ChooseReaderViewSettings(WebKitSettings* settings);

}  // namespace quillora
