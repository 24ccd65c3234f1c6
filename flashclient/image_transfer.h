#pragma once
// Writing one ROM image to the handheld. The image is announced with its
// write command and key command, a 12-byte length header follows the byte
// '?' (eight zero bytes, then the data length little-endian), the byte '@'
// starts the transfer, and the data goes out in blocks of the device's
// block size:
//
//   '!'  block bytes  checksum (4 bytes, little-endian)
//
// where the checksum makes the sum of the block's bytes and itself zero
// modulo 2^32. The device answers '&' (accepted) or '^' (send it again),
// then percent markers ('#' 10, '%' 1, '+' 50) closed by '$'. After the
// last block it may run a phase of its own ('~', then markers) and ends the
// image with '/'.

#include <cstddef>
#include <cstdint>

#include "flashclient/driver_state.h"

namespace drkclient {

inline constexpr uint32_t kAssetDataLength = 32768;
inline constexpr size_t kBlockPiece = 1024;
inline constexpr int kMaxBlockReplyReads = 15;
inline constexpr int kMaxBlockReplies = 15;
inline constexpr int kPercentMarkerLookahead = 61;
inline constexpr uint32_t kMaxPercent = 99;

// Failed leaves progress negative (it tells why).
enum class ImageResult { Written, Failed };

enum class BlockResult {
  Accepted,
  WriteFailed,     // the marker, the data or the checksum could not be sent
  NoReply,         // a read for the reply timed out or failed (progress -1)
  TooManyRetries,  // no reply within 15 reads, or the 16th reply to the block
};

// The two's complement of the byte sum.
uint32_t BlockChecksum(const uint8_t* bytes, size_t n);

ImageResult Flash_Prog(ImageKind kind);
BlockResult Block_Transfer(const uint8_t* block, size_t n);
// 10, 1 or 50; 0 for '$' or a timeout (progress is then -1). A silent
// device is a timeout from the first read on.
uint32_t Get_PerCent();

}  // namespace drkclient
