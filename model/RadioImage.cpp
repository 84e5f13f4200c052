#include "RadioImage.h"

#include "Codec.h"
#include "HexText.h"

#include <stdexcept>

namespace zk {

namespace {

constexpr int kSettingsBlock = 4;
constexpr std::size_t kReplyHeaderBytes = 4;
constexpr std::size_t kRecordBytes = 16;

std::size_t blockBytesWritten(int block)
{
    return block < kSettingsBlock ? kChannelBlockBytes : kSettingsBytes;
}

std::string hexAt(const RadioImage& image, std::size_t address, std::size_t count)
{
    return toHexText(image.data() + address, count);
}

} // namespace

RadioImage blankImage()
{
    RadioImage image;
    image.fill(0xFF);
    return image;
}

std::size_t blockAddress(int block)
{
    if (block < 0 || block >= kBlocks)
        throw std::out_of_range("block number");
    return std::stoul(std::string(kBlockAddressTable.substr(static_cast<std::size_t>(4 * block), 4)), nullptr, 16);
}

void storeReadReply(RadioImage& image, int block, std::string_view replyHex)
{
    const std::vector<std::uint8_t> reply = fromHexText(replyHex);
    if (reply.size() != kReplyHeaderBytes + kReadBlockBytes)
        throw std::invalid_argument("read reply of the wrong length");
    const std::size_t address = blockAddress(block);
    for (std::size_t i = 0; i < kReadBlockBytes && address + i < image.size(); ++i)
        image[address + i] = reply[kReplyHeaderBytes + i];
}

std::string blockWriteData(const RadioImage& image, int block)
{
    return hexAt(image, blockAddress(block), blockBytesWritten(block));
}

std::string channelRecordOf(const RadioImage& image, int row)
{
    if (row < 1 || row > kChannels)
        throw std::out_of_range("channel number");
    return hexAt(image, blockAddress(0) + kRecordBytes * static_cast<std::size_t>(row - 1), kRecordBytes);
}

std::string settingsRecordOf(const RadioImage& image)
{
    return hexAt(image, blockAddress(kSettingsBlock), kRecordBytes);
}

std::vector<std::size_t> writtenAddresses()
{
    std::vector<std::size_t> addresses;
    for (int k = 0; k < kBlocks; ++k)
        for (std::size_t i = 0; i < blockBytesWritten(k); ++i)
            addresses.push_back(blockAddress(k) + i);
    return addresses;
}

} // namespace zk
