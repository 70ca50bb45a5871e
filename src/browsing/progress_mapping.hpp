#pragma once

#include <vector>

namespace quillora {

// Turns the engine's load progress into the values the status bar's progress bar is given.
//
// The bar shows any value but 0 and hides on 0, so every load must end with exactly one 0 and
// nothing during a load may be 0. The engine reports an estimated fraction (0.0 to 1.0) that
// does not line up with its load events: it starts at 0.1 before the navigation is even decided,
// a navigation cancelled before it starts still runs the fraction up to 1.0 without any
// "finished" event, and the page the engine shows for a failed load brings a 1.0 of its own after
// the failure. So the fraction itself drives the state, and the load events only close a load:
//
//   fraction in (0, 1)  -> a load is running: 1..99 (rounded, never 0)
//   fraction >= 1       -> 100, then 0 (the engine's tracking of this load is over)
//   fraction <= 0       -> 0 if a load was running (the engine reset its tracking)
//   load started        -> a load is running (nothing to show until a fraction comes)
//   load finished/failed-> 0 if a load was running
//
// A value equal to the one reported last is never reported again, and nothing is reported while
// no load runs, so late notifications after the end of a load leave the hidden bar alone.
class ProgressMapping {
public:
    // Each call returns the values to report, in order (often none).
    std::vector<int> LoadStarted();
    std::vector<int> Fraction(double fraction);
    std::vector<int> LoadEnded();

    [[nodiscard]] bool Loading() const { return loading_; }

private:
    void Report(int value, std::vector<int>& values);
    std::vector<int> End();

    bool loading_ = false;
    int last_reported_ = 0;
};

}  // namespace quillora
