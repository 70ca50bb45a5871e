#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "actions/action_host.hpp"

namespace quillora {

// Runs the commands of an action string one after the other on the host. Unknown words and empty
// commands are passed over. An Error from a command (or from the host) ends the run there and
// propagates; what earlier commands did stays. APPLICATIONEXIT() closes the window and then ends
// the run with SilentAbort. Keeps no state: a run nested in a host call is independent.
void RunActionString(const std::string& action, ActionHost& host);

// The menu item a name addresses, read by position: the first five characters dropped, then one
// underscore gives two numbers, two give three; any other count, nothing. A number that does not
// convert fails with "'%s' is not a valid integer value".
std::optional<MenuAddress> MenuAddressOf(std::string_view name);

}  // namespace quillora
