// Any bytes given to the channel file reader load a table or raise one of
// the user-facing errors; nothing else may happen. What was loaded is then
// written and encoded as the CLI's encode would, which may only refuse
// cells with an EncodeError.
#include "ChannelFile.h"
#include "Codec.h"
#include "Errors.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    zk::ChannelTable table;
    try {
        zk::readChannelText(table, std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const zk::AppError&) {
    }
    (void)zk::writeChannelText(table);
    for (int row = 1; row <= zk::kChannels; ++row) {
        try {
            (void)zk::encodeChannelRecord(table, row);
        } catch (const zk::AppError&) {
        }
    }
    try {
        (void)zk::encodeSettingsRecord(table);
    } catch (const zk::AppError&) {
    }
    return 0;
}
