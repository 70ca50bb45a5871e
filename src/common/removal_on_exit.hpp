#pragma once

#include <string>

namespace quillora {

// Files and folders that must not outlive the program, whichever way it ends: through exit() (a
// start-up path that ends the program without closing the window) or SIGTERM, SIGINT or SIGHUP
// (a reader logging out). The signal handler only makes calls that are safe inside a handler
// (unlink, rmdir, reading a folder through its descriptor), then lets the signal take its
// ordinary course: the default action, or the handler that was installed before. A signal the
// process ignores (SIGHUP under nohup) stays ignored.
//
// A folder goes with everything in it. Links are removed, never followed, so a link to the
// book's folder takes nothing of the book with it.
//
// Returns a slot to hand back to ForgetOnExit, or -1 when every slot is taken or the path is
// too long to register; the path is then removed only by its owner.
int RemoveOnExit(const std::string& path);
// The path is someone else's business again (its owner removed it).
void ForgetOnExit(int slot);

}  // namespace quillora
