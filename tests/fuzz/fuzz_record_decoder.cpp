// Any bytes a radio could send, turned into hex text as the link does,
// decode into the table or raise a user-facing error; nothing else may
// happen. Each 16 bytes make one record: channels 1 to 16, then the
// settings record from the last group. The decoded rows are then encoded
// again.
#include "Codec.h"
#include "Errors.h"
#include "HexText.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    constexpr std::size_t kRecordBytes = 16;
    const std::size_t groups = size / kRecordBytes;
    if (groups == 0)
        return 0;
    zk::ChannelTable table;
    try {
        const std::size_t channels = groups - 1 < zk::kChannels ? groups - 1 : zk::kChannels;
        for (std::size_t g = 0; g < channels; ++g)
            zk::decodeChannelRecord(table, zk::toHexText(data + g * kRecordBytes, kRecordBytes), static_cast<int>(g) + 1);
        zk::decodeSettingsRecord(table, zk::toHexText(data + (groups - 1) * kRecordBytes, kRecordBytes));
    } catch (const zk::AppError&) {
    }
    // What a radio gave must encode back or be refused with an EncodeError.
    for (int row = 1; row <= zk::kChannels; ++row) {
        try {
            (void)zk::encodeChannelRecord(table, row);
        } catch (const zk::AppError&) {
        }
    }
    return 0;
}
