#include "ChannelFile.h"

namespace zk {

namespace {

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

bool isIn(char c, std::string_view set)
{
    return set.find(c) != std::string_view::npos;
}

} // namespace

std::vector<std::string> splitItems(std::string_view text, std::string_view separators, std::string_view skip)
{
    std::vector<std::string> items;
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && (isIn(text[at], skip) || isLineEnd(text[at])))
            ++at;
        if (at == text.size())
            break;
        const std::size_t begin = at;
        while (at < text.size() && !isIn(text[at], separators) && !isLineEnd(text[at])) {
            const char c = text[at++];
            if (c == '\'' || c == '"') {
                // The stretch keeps its quotes and runs to the matching one,
                // or to the end of the text when there is none.
                const std::size_t close = text.find(c, at);
                at = close == std::string_view::npos ? text.size() : close + 1;
            }
        }
        if (at > begin)
            items.emplace_back(text.substr(begin, at - begin));
        if (at < text.size())
            ++at; // past the character that ended the item
    }
    return items;
}

} // namespace zk
