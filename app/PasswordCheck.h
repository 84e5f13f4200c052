#pragma once
// The login and the change-password dialog accept a password only when it
// is the stored one exactly: same length, same bytes, nothing folded or trimmed.
#include <string>

namespace zk {

bool passwordAccepted(const std::string& typed, const std::string& stored);

} // namespace zk
