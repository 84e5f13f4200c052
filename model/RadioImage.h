#pragma once
// The radio's memory as a 512-byte image: each block's bytes at its own
// address, 0xFF where nothing was read. Raw backups are such images, so a
// restore puts back every byte a block carries, also those the channel
// table does not model.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zk {

inline constexpr std::size_t kImageSize = 512;
using RadioImage = std::array<std::uint8_t, kImageSize>;

// Memory bytes in a read reply (after its 4 header bytes), and the bytes a
// write puts into a channel block and into the settings block.
inline constexpr std::size_t kReadBlockBytes = 64;
inline constexpr std::size_t kChannelBlockBytes = 64;
inline constexpr std::size_t kSettingsBytes = 16;

// 0xFF everywhere: what an image holds before anything is read into it.
RadioImage blankImage();

// The address of block k (0..4), from the block address table.
std::size_t blockAddress(int block);

// Stores the memory bytes of a complete read reply (136 hex digits) of
// block k at that block's address.
void storeReadReply(RadioImage& image, int block, std::string_view replyHex);

// The hex text a write of block k carries: 64 bytes for a channel block,
// the 16 settings bytes for the last.
std::string blockWriteData(const RadioImage& image, int block);

// The 32-digit record of a channel (1..16) and the settings record.
std::string channelRecordOf(const RadioImage& image, int row);
std::string settingsRecordOf(const RadioImage& image);

// The addresses a write puts bytes at, in order: what a restore must
// reproduce.
std::vector<std::size_t> writtenAddresses();

} // namespace zk
