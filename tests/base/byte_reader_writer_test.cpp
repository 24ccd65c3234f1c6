// The bounded reader and the writer: little-endian numbers, short data at
// every width, offsets in the whole input's coordinates, limits and patches.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/byte_reader.h"
#include "base/byte_writer.h"

namespace platform {
namespace {

using Bytes = std::vector<uint8_t>;

// One read as a number; false when it failed.
using Read = std::function<bool(ByteReader&, uint64_t&)>;

template <typename T, bool (ByteReader::*Method)(T&)>
Read Number() {
  return [](ByteReader& in, uint64_t& out) {
    T v = 1;  // poisoned: a failed read must set it to 0
    bool ok = (in.*Method)(v);
    out = v;
    return ok;
  };
}

TEST(ByteReader, NumbersAndShortData) {
  const Read u8 = Number<uint8_t, &ByteReader::U8>();
  const Read u16 = Number<uint16_t, &ByteReader::U16>();
  const Read u32 = Number<uint32_t, &ByteReader::U32>();
  const Read u64 = Number<uint64_t, &ByteReader::U64>();
  const Read skip3 = [](ByteReader& in, uint64_t& out) {
    out = 0;
    return in.Skip(3);
  };
  const Read seek5 = [](ByteReader& in, uint64_t& out) {
    out = 0;
    return in.SeekTo(5);
  };
  const Read view3 = [](ByteReader& in, uint64_t& out) {
    std::span<const uint8_t> view;
    bool ok = in.Bytes(3, view);
    out = view.size();
    return ok;
  };
  struct Case {
    const char* what;
    Bytes bytes;
    Read read;
    bool ok;
    uint64_t value;
    size_t position;  // after the read
  } cases[] = {
      {"u8", {0xAB}, u8, true, 0xAB, 1},
      {"u16", {0x34, 0x12, 0xFF}, u16, true, 0x1234, 2},
      {"u32", {0x78, 0x56, 0x34, 0x12}, u32, true, 0x12345678, 4},
      {"u64", {8, 7, 6, 5, 4, 3, 2, 1}, u64, true, 0x0102030405060708ull, 8},
      {"u32 high bit", {0, 0, 0, 0x80}, u32, true, 0x80000000u, 4},
      {"u8 of nothing", {}, u8, false, 0, 0},
      {"u16 of one byte", {0x34}, u16, false, 0, 0},
      {"u32 of three bytes", {1, 2, 3}, u32, false, 0, 0},
      {"u64 of seven bytes", {1, 2, 3, 4, 5, 6, 7}, u64, false, 0, 0},
      {"skip within", {1, 2, 3}, skip3, true, 0, 3},
      {"skip past the end", {1, 2}, skip3, false, 0, 0},
      {"seek to the end", {1, 2, 3, 4, 5}, seek5, true, 0, 5},
      {"seek past the end", {1, 2, 3, 4}, seek5, false, 0, 0},
      {"view within", {1, 2, 3, 4}, view3, true, 3, 3},
      {"view past the end", {1, 2}, view3, false, 0, 0},
  };
  constexpr size_t kOrigin = 1000;
  for (const Case& c : cases) {
    ByteReader in(c.bytes, kOrigin);
    uint64_t value = 99;
    EXPECT_EQ(c.read(in, value), c.ok) << c.what;
    EXPECT_EQ(value, c.value) << c.what;
    EXPECT_EQ(in.Position(), c.position) << c.what;
    EXPECT_EQ(in.Offset(), kOrigin + c.position) << c.what;
    EXPECT_EQ(in.Failed(), !c.ok) << c.what;
    if (!c.ok) EXPECT_EQ(in.FailedAt(), kOrigin) << c.what;  // where the short read started
  }
}

TEST(ByteReader, TheFirstShortReadIsKeptAndLaterReadsStillWork) {
  const Bytes bytes{1, 0, 2, 0, 3};
  ByteReader in(bytes, 40);
  uint16_t a = 0, b = 0;
  uint32_t tooWide = 7;
  uint8_t last = 0;
  EXPECT_TRUE(in.U16(a));
  EXPECT_FALSE(in.U32(tooWide));  // 3 bytes left
  EXPECT_EQ(tooWide, 0u);
  EXPECT_TRUE(in.U16(b));
  EXPECT_TRUE(in.U8(last));
  EXPECT_FALSE(in.U8(last));
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 2);
  EXPECT_TRUE(in.Failed());
  EXPECT_EQ(in.FailedAt(), 42u);
  EXPECT_TRUE(in.AtEnd());
}

TEST(ByteReader, Utf16Text) {
  struct Case {
    const char* what;
    Bytes bytes;
    bool untilZero;  // else two units
    bool ok;
    std::u16string text;
    size_t position;
    size_t failedAt;  // from the start of the bytes
  } cases[] = {
      {"two units", {'A', 0, 0xE9, 0, 'x', 0}, false, true, u"A\u00e9", 4, 0},
      {"two units, one there", {'A', 0, 'B'}, false, false, u"", 0, 0},
      {"up to zero", {'O', 0, 'K', 0, 0, 0, 'x', 0}, true, true, u"OK", 6, 0},
      {"empty text", {0, 0}, true, true, u"", 2, 0},
      {"surrogates kept as units", {0x3D, 0xD8, 0x00, 0xDE, 0, 0}, true, true, u"\U0001F600", 6, 0},
      {"no zero", {'O', 0, 'K', 0}, true, false, u"", 0, 4},
      {"odd byte before the end", {'O', 0, 'K'}, true, false, u"", 0, 3},
  };
  for (const Case& c : cases) {
    ByteReader in(c.bytes, 16);
    std::u16string text = u"poison";
    bool ok = c.untilZero ? in.Utf16UntilZero(text) : in.Utf16(2, text);
    EXPECT_EQ(ok, c.ok) << c.what;
    EXPECT_EQ(text, c.text) << c.what;
    EXPECT_EQ(in.Position(), c.position) << c.what;
    if (!c.ok) EXPECT_EQ(in.FailedAt(), 16 + c.failedAt) << c.what;
  }
}

TEST(ByteReader, SubReadersReportOffsetsOfTheWholeInput) {
  const Bytes file{0xEE, 0xEE, 3, 0, 0, 0, 0xAA, 0xBB, 0xCC, 0xDD};
  ByteReader in(file);
  in.Skip(2);
  uint32_t size = 0;
  ASSERT_TRUE(in.U32(size));
  ByteReader record;
  ASSERT_TRUE(in.Sub(size, record));
  EXPECT_EQ(record.Offset(), 6u);
  EXPECT_EQ(record.Size(), 3u);
  EXPECT_EQ(in.Offset(), 9u);  // the outer reader moved past the record
  uint16_t first = 0;
  uint32_t beyond = 0;
  EXPECT_TRUE(record.U16(first));
  EXPECT_EQ(first, 0xBBAA);
  EXPECT_FALSE(record.U32(beyond));  // the record ends before the file does
  EXPECT_EQ(record.FailedAt(), 8u);
  ByteReader tooLong;
  EXPECT_FALSE(in.Sub(2, tooLong));
  EXPECT_EQ(tooLong.Size(), 0u);
  EXPECT_EQ(in.FailedAt(), 9u);
}

TEST(ByteWriter, AppendsLittleEndian) {
  struct Case {
    const char* what;
    std::function<void(ByteWriter&)> write;
    Bytes expected;
  } cases[] = {
      {"u8", [](ByteWriter& w) { w.U8(0xAB); }, {0xAB}},
      {"u16", [](ByteWriter& w) { w.U16(0x1234); }, {0x34, 0x12}},
      {"u32", [](ByteWriter& w) { w.U32(0x12345678); }, {0x78, 0x56, 0x34, 0x12}},
      {"u64", [](ByteWriter& w) { w.U64(0x0102030405060708ull); }, {8, 7, 6, 5, 4, 3, 2, 1}},
      {"utf16", [](ByteWriter& w) { w.Utf16(u"A\u00e9\u20ac"); }, {'A', 0, 0xE9, 0, 0xAC, 0x20}},
      {"zeros and bytes", [](ByteWriter& w) { w.Zeros(2); w.Bytes("ok"); }, {0, 0, 'o', 'k'}},
      {"length patched", [](ByteWriter& w) { w.U32(0); w.Utf16(u"ab"); w.PatchU32(0, 4); },
       {4, 0, 0, 0, 'a', 0, 'b', 0}},
      {"word patched at the end", [](ByteWriter& w) { w.U32(0); w.PatchU16(2, 0xBEEF); }, {0, 0, 0xEF, 0xBE}},
  };
  for (const Case& c : cases) {
    ByteWriter w;
    c.write(w);
    EXPECT_EQ(Bytes(w.Data().begin(), w.Data().end()), c.expected) << c.what;
    EXPECT_FALSE(w.Failed()) << c.what;
  }
}

TEST(ByteWriter, LimitsAndPatchesOutsideTheDataFail) {
  struct Case {
    const char* what;
    size_t limit;
    std::function<bool(ByteWriter&)> write;  // the last write, expected to fail
    Bytes kept;
  } cases[] = {
      {"u32 past the limit", 5, [](ByteWriter& w) { w.U16(1); return w.U32(2); }, {1, 0}},
      {"text past the limit", 3, [](ByteWriter& w) { return w.Utf16(u"ab"); }, {}},
      {"zeros past the limit", 1, [](ByteWriter& w) { return w.Zeros(2); }, {}},
      {"patch across the end", ByteWriter::kNoLimit, [](ByteWriter& w) { w.U16(7); return w.PatchU32(0, 1); },
       {7, 0}},
      {"patch beyond the end", ByteWriter::kNoLimit, [](ByteWriter& w) { w.U16(7); return w.PatchU16(3, 1); },
       {7, 0}},
      {"patch of nothing", ByteWriter::kNoLimit, [](ByteWriter& w) { return w.PatchU16(0, 1); }, {}},
  };
  for (const Case& c : cases) {
    ByteWriter w(c.limit);
    EXPECT_FALSE(c.write(w)) << c.what;
    EXPECT_TRUE(w.Failed()) << c.what;
    EXPECT_EQ(Bytes(w.Data().begin(), w.Data().end()), c.kept) << c.what;
  }
  ByteWriter exact(4);
  EXPECT_TRUE(exact.U32(1));  // up to the limit is fine
  EXPECT_FALSE(exact.Failed());
}

TEST(ByteReaderWriter, WhatIsWrittenReadsBack) {
  ByteWriter w;
  w.U8(0xFE);
  w.U16(0xFFFE);
  w.U32(0xDEADBEEF);
  w.U64(~0ull);
  w.Utf16(u"VELM");
  w.U16(0);
  ByteReader in(w.Data());
  uint8_t a = 0;
  uint16_t b = 0;
  uint32_t c = 0;
  uint64_t d = 0;
  std::u16string text;
  EXPECT_TRUE(in.U8(a) && in.U16(b) && in.U32(c) && in.U64(d) && in.Utf16UntilZero(text));
  EXPECT_EQ(a, 0xFE);
  EXPECT_EQ(b, 0xFFFE);
  EXPECT_EQ(c, 0xDEADBEEFu);
  EXPECT_EQ(d, ~0ull);
  EXPECT_EQ(text, u"VELM");
  EXPECT_TRUE(in.AtEnd());
}

}  // namespace
}  // namespace platform
