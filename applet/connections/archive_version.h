#pragma once
// The format version of connection documents.

#include <cstdint>

namespace applet {

// Documents are always written with this version.
inline constexpr int32_t kDocumentVersion = 6;
// Records of older documents carry no fields; from this version on they
// carry the connection's fields, and from kHomeNetworkVersion on also the
// home network number and the country name.
inline constexpr int32_t kFirstRecordVersion = 4;
inline constexpr int32_t kHomeNetworkVersion = 5;

// The version word of the connection document being loaded, or of the last
// one loaded: the document sets it before any record is read, and the
// records' Serialize consults it. It is process-wide and not reset after a
// load, as records of derived classes read it too.
extern int32_t archiveVersion;

}  // namespace applet
