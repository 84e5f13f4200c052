#pragma once
// The ".bc" channel file: 16 row lines and 5 settings lines, a lone carriage
// return between lines and carriage return + line feed at the end.
#include "ChannelTable.h"

#include <string>
#include <string_view>
#include <vector>

namespace zk {

// The file's bytes for a table (a new table gives 263 bytes).
std::string writeChannelText(const ChannelTable& table);

// Loads the bytes into the table row by row and setting by setting, as far
// as they go; a shortfall raises the error after the earlier rows and
// settings were replaced ("List index out of bounds (%d)",
// "'%s' is not a valid integer value").
void readChannelText(ChannelTable& table, std::string_view bytes);

// Cuts text into items: items end at a separator, a carriage return or a
// line feed; skip characters, carriage returns and line feeds are skipped at
// the start of an item; quotes (' or ") hold a stretch together; empty items
// are dropped.
std::vector<std::string> splitItems(std::string_view text, std::string_view separators, std::string_view skip);

// The name Save writes: ".bc" is appended unless the chosen name already
// ends in ".bc".
std::string channelFileName(const std::string& chosen);

// Writes the table to path by replaceFile (FileIo.h): only over a regular
// file the user may write, never half; "Cannot create file ..." otherwise.
void saveChannelFile(const std::string& path, const ChannelTable& table);

// Reads path into the table: a regular file of at most 1 MiB. "Cannot open
// file ..." when it cannot be read, then the errors of readChannelText.
void openChannelFile(const std::string& path, ChannelTable& table);

} // namespace zk
