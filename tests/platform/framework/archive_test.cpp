#include "platform/framework/archive.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "base/byte_writer.h"
#include "platform/framework/object.h"
#include "platform/framework/object_array.h"
#include "platform/framework/runtime_class.h"
#include "tests/support/temp_device.h"

namespace framework {

// Two small storable classes and one that cannot be stored.
class CTestPoint : public CObject {
  VELM_DECLARE_SERIAL(CTestPoint)

 public:
  void Serialize(CArchive& ar) override {
    if (ar.IsStoring())
      ar << x;
    else
      ar >> x;
  }
  int32_t x = 0;
};
VELM_IMPLEMENT_SERIAL(CTestPoint, CObject, 2)

class CTestLabel : public CObject {
  VELM_DECLARE_SERIAL(CTestLabel)

 public:
  void Serialize(CArchive& ar) override {
    if (ar.IsStoring())
      ar << text;
    else
      ar >> text;
  }
  platform::WString text;
};
VELM_IMPLEMENT_SERIAL(CTestLabel, CObject, 0)

class CTestNotStored : public CObject {
  VELM_DECLARE_DYNCREATE(CTestNotStored)
};
VELM_IMPLEMENT_DYNCREATE(CTestNotStored, CObject)

namespace {

using platform::WString;

constexpr char16_t kPath[] = u"\\Windows\\archive.bin";

class ArchiveTest : public ::testing::Test {
 protected:
  std::string Store(const std::function<void(CArchive&)>& write, ArchiveError* error = nullptr) {
    platform::File file;
    EXPECT_EQ(file.Open(kPath, platform::kGenericWrite, platform::kShareNone,
                        platform::CreationDisposition::CreateAlways),
              platform::kErrorSuccess);
    CArchive ar(file, CArchive::Mode::Store);
    write(ar);
    ar.Flush();
    if (error != nullptr) *error = ar.Error();
    file.Close();
    return device_.ReadFile("Windows/archive.bin");
  }

  // Runs read over the bytes; returns the archive's fault.
  ArchiveError Load(const std::string& bytes, const std::function<void(CArchive&)>& read,
                    uint64_t* offset = nullptr) {
    device_.WriteFile("Windows/archive.bin", bytes);
    platform::File file;
    EXPECT_EQ(file.Open(kPath, platform::kGenericRead, platform::kShareRead,
                        platform::CreationDisposition::OpenExisting),
              platform::kErrorSuccess);
    CArchive ar(file, CArchive::Mode::Load);
    read(ar);
    if (offset != nullptr) *offset = ar.ErrorOffset();
    return ar.Error();
  }

  test_support::TempDevice device_;
};

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

std::string Utf16(const WString& text) {
  platform::ByteWriter bytes;
  bytes.Utf16(text);
  return std::string(bytes.View());
}

TEST_F(ArchiveTest, TextLengthPrefixes) {
  struct Case {
    size_t length;
    std::string prefix;
  } cases[] = {
      {0, Bytes({0xFF, 0xFE, 0xFF, 0x00})},
      {1, Bytes({0xFF, 0xFE, 0xFF, 0x01})},
      {254, Bytes({0xFF, 0xFE, 0xFF, 0xFE})},
      {255, Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00})},
      {0xFFFD, Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF})},
      {0xFFFE, Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
      {0x12345, Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x45, 0x23, 0x01, 0x00})},
  };
  for (const auto& c : cases) {
    WString text(c.length, u'\u00e9');
    text[0] = u'A';
    if (c.length == 0) text.clear();
    const std::string bytes = Store([&](CArchive& ar) { ar << text; });
    EXPECT_EQ(bytes, c.prefix + Utf16(text)) << c.length;
    WString back = u"x";
    EXPECT_EQ(Load(bytes, [&](CArchive& ar) { ar >> back; }), ArchiveError::None) << c.length;
    EXPECT_EQ(back, text) << c.length;
  }
}

TEST_F(ArchiveTest, TextsWithoutTheUnicodeTagAreEightBit) {
  struct Case {
    const char* name;
    std::string bytes;
    const char16_t* text;
  } cases[] = {
      {"byte length", Bytes({0x04, 'C', 'a', 'f', 0xE9}), u"Caf\u00e9"},
      {"empty", Bytes({0x00}), u""},
      {"word length", Bytes({0xFF, 0x02, 0x00, 'o', 'k'}), u"ok"},
      {"32-bit length", Bytes({0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x00, 0x00, 'z'}), u"z"},
      // After the tag, a 16-bit 0xFFFE is a length like any other.
      {"Unicode, word length", Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0x01, 0x00, 'a', 0}), u"a"},
  };
  for (const auto& c : cases) {
    WString back = u"x";
    EXPECT_EQ(Load(c.bytes, [&](CArchive& ar) { ar >> back; }), ArchiveError::None) << c.name;
    EXPECT_EQ(back, c.text) << c.name;
  }
}

TEST_F(ArchiveTest, EveryCutTextFailsWithOneFault) {
  const std::string bytes = Store([](CArchive& ar) { ar << WString(300, u'q'); });
  ASSERT_EQ(bytes.size(), 6u + 600u);
  for (size_t length = 0; length < bytes.size(); ++length) {
    WString back = u"x";
    uint64_t offset = 0;
    const ArchiveError e = Load(bytes.substr(0, length), [&](CArchive& ar) { ar >> back; }, &offset);
    // A complete prefix announces more characters than are left: refused
    // before anything is read or allocated. A cut prefix ends the data.
    if (length >= 6) {
      EXPECT_EQ(e, ArchiveError::CountTooLarge) << length;
      EXPECT_EQ(offset, 6u) << length;
    } else {
      EXPECT_EQ(e, ArchiveError::Truncated) << length;
    }
    EXPECT_EQ(back, u"") << length;
  }
}

TEST_F(ArchiveTest, CountsAndIntegers) {
  struct Case {
    uint64_t count;
    std::string bytes;
  } cases[] = {
      {0, Bytes({0x00, 0x00})},
      {0xFFFE, Bytes({0xFE, 0xFF})},
      {0xFFFF, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00})},
      {70000, Bytes({0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})},
      {0x100000000ull, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 1, 0, 0, 0})},
  };
  for (const auto& c : cases) {
    const std::string bytes = Store([&](CArchive& ar) { ar.WriteCount(c.count); });
    EXPECT_EQ(bytes, c.bytes) << c.count;
    uint64_t back = 0;
    EXPECT_EQ(Load(bytes, [&](CArchive& ar) { back = ar.ReadCount(); }), ArchiveError::None);
    EXPECT_EQ(back, c.count);
  }
  const std::string ints = Store([](CArchive& ar) { ar << int32_t{-2} << int32_t{0x01020304}; });
  EXPECT_EQ(ints, Bytes({0xFE, 0xFF, 0xFF, 0xFF, 0x04, 0x03, 0x02, 0x01}));
}

TEST_F(ArchiveTest, ObjectTagsNumberClassesAndObjectsFromOne) {
  CTestPoint p1, p2, p3;
  p1.x = 1;
  p2.x = 2;
  p3.x = 3;
  CTestLabel label;
  label.text = u"L";
  const std::string bytes = Store([&](CArchive& ar) {
    ar.WriteObject(&p1);      // class 1, object 2
    ar.WriteObject(nullptr);  // no index
    ar.WriteObject(&p2);      // object 3
    ar.WriteObject(&label);   // class 4, object 5
    ar.WriteObject(&p3);      // object 6
  });
  const std::string expected =
      Bytes({0xFF, 0xFF, 0x02, 0x00, 0x0A, 0x00}) + "CTestPoint" + Bytes({1, 0, 0, 0}) +
      Bytes({0x00, 0x00}) +
      Bytes({0x01, 0x80, 2, 0, 0, 0}) +
      Bytes({0xFF, 0xFF, 0x00, 0x00, 0x0A, 0x00}) + "CTestLabel" +
      Bytes({0xFF, 0xFE, 0xFF, 0x01, 'L', 0}) +
      Bytes({0x01, 0x80, 3, 0, 0, 0});
  EXPECT_EQ(bytes, expected);

  std::vector<std::unique_ptr<CObject>> objects;
  EXPECT_EQ(Load(bytes,
                 [&](CArchive& ar) {
                   for (int i = 0; i < 5; ++i) objects.push_back(ar.ReadObject(nullptr));
                 }),
            ArchiveError::None);
  ASSERT_EQ(objects.size(), 5u);
  EXPECT_EQ(objects[1], nullptr);
  int32_t xs[] = {1, 0, 2, 0, 3};
  for (int i : {0, 2, 4}) {
    ASSERT_TRUE(objects[i] && objects[i]->IsKindOf(&CTestPoint::kClass)) << i;
    EXPECT_EQ(static_cast<CTestPoint*>(objects[i].get())->x, xs[i]);
  }
  ASSERT_TRUE(objects[3]->IsKindOf(&CTestLabel::kClass));
  EXPECT_EQ(static_cast<CTestLabel*>(objects[3].get())->text, u"L");
}

TEST_F(ArchiveTest, ObjectFaults) {
  const std::string pointClass = Bytes({0xFF, 0xFF, 0x02, 0x00, 0x0A, 0x00}) + "CTestPoint";
  struct Case {
    const char* name;
    std::string bytes;
    const CRuntimeClass* requested;
    ArchiveError error;
    uint64_t offset;
  } cases[] = {
      {"unknown class", Bytes({0xFF, 0xFF, 0, 0, 3, 0}) + "CXy", nullptr, ArchiveError::UnknownClass, 2},
      {"name without a class", Bytes({0xFF, 0xFF, 0, 0, 0, 0}), nullptr, ArchiveError::UnknownClass, 2},
      {"class of the framework itself", Bytes({0xFF, 0xFF, 0xFF, 0xFF, 7, 0}) + "CObject", nullptr,
       ArchiveError::UnknownClass, 2},
      {"class that cannot be stored", Bytes({0xFF, 0xFF, 0xFF, 0xFF, 14, 0}) + "CTestNotStored",
       nullptr, ArchiveError::UnknownClass, 2},
      {"schema", Bytes({0xFF, 0xFF, 0x03, 0x00, 0x0A, 0x00}) + "CTestPoint", nullptr,
       ArchiveError::SchemaMismatch, 2},
      {"name too long", Bytes({0xFF, 0xFF, 0, 0, 64, 0}) + std::string(64, 'C'), nullptr,
       ArchiveError::BadClassName, 2},
      {"name cut", Bytes({0xFF, 0xFF, 0x02, 0x00, 0x0A, 0x00}) + "CTest", nullptr,
       ArchiveError::CountTooLarge, 6},
      {"fields cut", pointClass + Bytes({1, 0}), nullptr, ArchiveError::Truncated, 16},
      {"requested class", pointClass + Bytes({1, 0, 0, 0}), &CTestLabel::kClass,
       ArchiveError::WrongClass, 2},
      {"class index 0", Bytes({0x00, 0x80}), nullptr, ArchiveError::BadIndex, 0},
      {"big class index", Bytes({0xFF, 0x7F, 0x01, 0x00, 0x00, 0x80}), nullptr, ArchiveError::BadIndex, 0},
      {"object referenced twice", pointClass + Bytes({1, 0, 0, 0, 0x02, 0x00}), nullptr,
       ArchiveError::SharedObject, 20},
  };
  for (const auto& c : cases) {
    uint64_t offset = 0;
    std::unique_ptr<CObject> last;
    const ArchiveError e = Load(
        c.bytes,
        [&](CArchive& ar) {
          while (!ar.Failed() && ar.BytesLeft() > 0) last = ar.ReadObject(c.requested);
        },
        &offset);
    EXPECT_EQ(e, c.error) << c.name << ": " << ArchiveErrorName(e);
    EXPECT_EQ(offset, c.offset) << c.name;
    EXPECT_EQ(last, nullptr) << c.name;
  }
}

TEST_F(ArchiveTest, StoringRefusesWhatCannotComeBack) {
  CTestPoint point;
  CTestNotStored notStored;
  ArchiveError error = ArchiveError::None;
  Store(
      [&](CArchive& ar) {
        ar.WriteObject(&point);
        ar.WriteObject(&point);
      },
      &error);
  EXPECT_EQ(error, ArchiveError::SharedObject);
  Store([&](CArchive& ar) { ar.WriteObject(&notStored); }, &error);
  EXPECT_EQ(error, ArchiveError::NotSerializable);
}

TEST_F(ArchiveTest, ObjectArrayRoundTripAndCountCheck) {
  CObArray array;
  auto p = std::make_unique<CTestPoint>();
  p->x = 5;
  array.Add(std::move(p));
  array.Add(nullptr);
  array.Add(std::make_unique<CTestLabel>());
  const std::string bytes = Store([&](CArchive& ar) { array.Serialize(ar); });
  EXPECT_EQ(bytes.substr(0, 2), Bytes({3, 0}));

  CObArray back;
  back.Add(std::make_unique<CTestPoint>());
  EXPECT_EQ(Load(bytes, [&](CArchive& ar) { back.Serialize(ar); }), ArchiveError::None);
  ASSERT_EQ(back.GetSize(), 3u);
  EXPECT_EQ(static_cast<CTestPoint*>(back.GetAt(0))->x, 5);
  EXPECT_EQ(back.GetAt(1), nullptr);
  EXPECT_TRUE(back.GetAt(2)->IsKindOf(&CTestLabel::kClass));
  EXPECT_EQ(back.GetAt(3), nullptr);

  // A count that the bytes left cannot hold is refused before any element.
  uint64_t offset = 0;
  EXPECT_EQ(Load(Bytes({0x05, 0x00, 0, 0, 0, 0, 0, 0, 0}), [&](CArchive& ar) { back.Serialize(ar); },
                 &offset),
            ArchiveError::CountTooLarge);
  EXPECT_EQ(offset, 2u);
  EXPECT_EQ(back.GetSize(), 0u);
}

TEST_F(ArchiveTest, NestingIsBounded) {
  // Arrays of one array each, deeper than the archive reads.
  auto nested = [](int depth) {
    std::string bytes = Bytes({0xFF, 0xFF, 0x00, 0x00, 0x08, 0x00}) + "CObArray" + Bytes({1, 0});
    for (int i = 1; i < depth; ++i) bytes += Bytes({0x01, 0x80, 1, 0});
    return bytes + Bytes({0x00, 0x00});  // the innermost holds no object
  };
  std::unique_ptr<CObject> top;
  EXPECT_EQ(Load(nested(CArchive::kMaxObjectDepth), [&](CArchive& ar) { top = ar.ReadObject(nullptr); }),
            ArchiveError::None);
  EXPECT_NE(top, nullptr);
  uint64_t offset = 0;
  EXPECT_EQ(Load(nested(CArchive::kMaxObjectDepth + 1),
                 [&](CArchive& ar) { top = ar.ReadObject(nullptr); }, &offset),
            ArchiveError::TooDeep);
  EXPECT_EQ(offset, 16u + 4u * (CArchive::kMaxObjectDepth - 1));
  EXPECT_EQ(top, nullptr);
}

TEST(RuntimeClass, RegistryFindsClassesByExactNameWhileTheyExist) {
  EXPECT_EQ(CRuntimeClass::FromName("CTestPoint"), &CTestPoint::kClass);
  EXPECT_EQ(CRuntimeClass::FromName("ctestpoint"), nullptr);
  EXPECT_EQ(CRuntimeClass::FromName("CObArray"), &CObArray::kClass);
  EXPECT_TRUE(CTestPoint::kClass.IsDerivedFrom(&CObject::kClass));
  EXPECT_FALSE(CObject::kClass.IsDerivedFrom(&CTestPoint::kClass));
  EXPECT_FALSE(CObject::kClass.IsDynCreate());
  EXPECT_EQ(CObject::kClass.CreateObject(), nullptr);
  {
    const CRuntimeClass transient("CTransient", 0, &CTestPoint::CreateObject, &CObject::kClass);
    EXPECT_EQ(CRuntimeClass::FromName("CTransient"), &transient);
    // A second class of a name already taken does not hide the first.
    const CRuntimeClass twin("CTestPoint", 9, nullptr, &CObject::kClass);
    EXPECT_EQ(CRuntimeClass::FromName("CTestPoint"), &CTestPoint::kClass);
  }
  // A module that goes away takes its classes along.
  EXPECT_EQ(CRuntimeClass::FromName("CTransient"), nullptr);
  EXPECT_EQ(CRuntimeClass::FromName("CTestPoint"), &CTestPoint::kClass);
}

}  // namespace
}  // namespace framework
