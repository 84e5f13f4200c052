#pragma once
// Where a save dialog's answer is written: the name with its extension
// completed, and the question the dialog did not ask about that other name.
#include <string>

namespace zk {
class UserMessages;

// chosen with extension (".csv") added unless it ends so, in any case.
std::string withExtension(const std::string& chosen, const char* extension);

// chosen is what a save dialog returned and path that name completed: true
// when path may be written.
bool mayReplaceCompleted(UserMessages& messages, const std::string& chosen, const std::string& path);

} // namespace zk
