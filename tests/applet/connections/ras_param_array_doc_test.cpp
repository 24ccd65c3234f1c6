#include "applet/connections/ras_param_array_doc.h"

#include <gtest/gtest.h>

#include <string>

#include "applet/connections/archive_version.h"
#include "platform/file.h"
#include "platform/file_finder.h"
#include "platform/framework/archive.h"
#include "tests/applet/connections/record_fixture.h"
#include "tests/support/temp_device.h"

namespace applet {

// A record class of the kind the applet derives: one field more, stored
// after the base's.
class CTestDerivedRecord : public CRASparam {
  VELM_DECLARE_SERIAL(CTestDerivedRecord)

 public:
  void Serialize(framework::CArchive& ar) override {
    CRASparam::Serialize(ar);
    if (ar.IsStoring())
      ar << extra;
    else
      ar >> extra;
  }
  platform::WString extra;
};

VELM_IMPLEMENT_SERIAL(CTestDerivedRecord, CRASparam, 7)

namespace {

using framework::ArchiveError;

constexpr char16_t kDocPath[] = u"\\Yvra File Store\\VELM.DAT";
constexpr char kDocFile[] = "Yvra File Store/VELM.DAT";

std::string Fixture() { return test_support::ReadDataFile("records/two_records_v6.dat"); }

std::vector<platform::WString> FilesIn(const char16_t* pattern) {
  std::vector<platform::WString> names;
  platform::FileFinder finder;
  platform::FindData data;
  for (auto e = finder.FindFirst(pattern, data); e == platform::kErrorSuccess; e = finder.FindNext(data))
    names.push_back(data.name);
  return names;
}

class DocumentTest : public ::testing::Test {
 protected:
  // Writes bytes as the document file and opens it.
  bool OpenBytes(const std::string& bytes) {
    device_.WriteFile(kDocFile, bytes);
    return doc_.Open(kDocPath);
  }

  test_support::TempDevice device_;
  CRASparamArrayDoc doc_;
};

TEST_F(DocumentTest, SavedBytesMatchTheStoredFixture) {
  doc_.Open(kDocPath);
  doc_.Array().Add(test::FixtureRecord());
  doc_.Array().Add(std::make_unique<CRASparam>());
  doc_.SetModifiedFlag();
  ASSERT_TRUE(doc_.Save());
  EXPECT_FALSE(doc_.IsModified());
  EXPECT_EQ(device_.ReadFile(kDocFile), Fixture());
}

TEST_F(DocumentTest, TheFixtureLoadsFieldByField) {
  archiveVersion = 0;
  ASSERT_TRUE(OpenBytes(Fixture()));
  EXPECT_EQ(archiveVersion, 6);
  ASSERT_EQ(doc_.Array().GetSize(), 2u);
  const CRASparam* first = doc_.Array().GetAt(0);
  EXPECT_EQ(first->GetRuntimeClass(), &CRASparam::kClass);
  EXPECT_TRUE(first->IsEqual(*test::StoredFixtureRecord()));
  // The comparison leaves these out; they are stored all the same.
  EXPECT_EQ(first->homeNetworkNumber, u"20801");
  EXPECT_EQ(first->iconIndex, 3);
  EXPECT_EQ(first->iconFile, u"op.ico");
  EXPECT_EQ(first->userName, u"user");
  EXPECT_EQ(first->qosRequested.meanClass, 31);
  EXPECT_EQ(first->wins2.a, 300);
  // The list of offered APNs is not stored.
  EXPECT_TRUE(first->apnList.empty());
  EXPECT_TRUE(doc_.Array().GetAt(1)->IsEqual(CRASparam()));
  EXPECT_EQ(doc_.Array().GetAt(1)->iconIndex, -1);
  EXPECT_EQ(doc_.Array().GetAt(2), nullptr);
}

TEST_F(DocumentTest, VersionWordDecidesWhatARecordReads) {
  // One record, so that what a version leaves unread is only trailing data.
  doc_.Open(kDocPath);
  doc_.Array().Add(test::FixtureRecord());
  ASSERT_TRUE(doc_.Save());
  const std::string v6 = device_.ReadFile(kDocFile);

  struct Case {
    uint8_t version;
    bool fields;       // items up to the reserved numbers
    bool homeNetwork;  // home network number and country name
  } cases[] = {{6, true, true}, {7, true, true}, {5, true, true}, {4, true, false},
               {3, false, false}, {0, false, false}};
  for (const auto& c : cases) {
    std::string bytes = v6;
    bytes[0] = static_cast<char>(c.version);
    ASSERT_TRUE(OpenBytes(bytes)) << int(c.version);
    EXPECT_EQ(archiveVersion, c.version);
    const CRASparam* r = doc_.Array().GetAt(0);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->IsEqual(*test::StoredFixtureRecord()), c.fields && c.homeNetwork) << int(c.version);
    EXPECT_EQ(r->operatorName, c.fields ? u"Op\u00e9rateur" : u"") << int(c.version);
    EXPECT_EQ(r->userName, c.fields ? u"user" : u"") << int(c.version);
    EXPECT_EQ(r->homeNetworkNumber, c.homeNetwork ? u"20801" : u"") << int(c.version);
    EXPECT_EQ(r->countryName, c.homeNetwork ? u"France" : u"") << int(c.version);
  }
}

TEST_F(DocumentTest, DerivedRecordsComeBackAsTheirClass) {
  doc_.Open(kDocPath);
  auto derived = std::make_unique<CTestDerivedRecord>();
  derived->extra = u"more";
  derived->entryName = u"Derived";
  doc_.Array().Add(std::move(derived));
  doc_.Array().Add(std::make_unique<CRASparam>());
  doc_.Array().Add(std::make_unique<CTestDerivedRecord>());
  ASSERT_TRUE(doc_.Save());

  CRASparamArrayDoc again;
  ASSERT_TRUE(again.Open(kDocPath));
  ASSERT_EQ(again.Array().GetSize(), 3u);
  ASSERT_EQ(again.Array().GetAt(0)->GetRuntimeClass(), &CTestDerivedRecord::kClass);
  EXPECT_EQ(again.Array().GetAt(1)->GetRuntimeClass(), &CRASparam::kClass);
  EXPECT_EQ(again.Array().GetAt(2)->GetRuntimeClass(), &CTestDerivedRecord::kClass);
  const auto* first = static_cast<const CTestDerivedRecord*>(again.Array().GetAt(0));
  EXPECT_EQ(first->extra, u"more");
  EXPECT_EQ(first->entryName, u"Derived");
  // Indexes: derived class 1, its object 2, base class 3, its object 4,
  // then the derived class again by its index.
  const std::string bytes = device_.ReadFile(kDocFile);
  EXPECT_EQ(bytes.substr(6, 6), std::string("\xff\xff\x07\x00\x12\x00", 6));
  EXPECT_NE(bytes.find(std::string("\x01\x80", 2)), std::string::npos);
  EXPECT_NE(bytes.find(std::string("\xff\xff\x01\x00\x09\x00" "CRASparam", 15)), std::string::npos);
}

TEST_F(DocumentTest, OpenWithoutAFileLeavesNoRecords) {
  doc_.Array().Add(test::FixtureRecord());
  EXPECT_FALSE(doc_.Open(kDocPath));
  EXPECT_EQ(doc_.Array().GetSize(), 0u);
  EXPECT_EQ(doc_.GetPathName(), kDocPath);
}

TEST_F(DocumentTest, EveryTruncatedFixtureFailsAndLeavesNoRecords) {
  const std::string bytes = Fixture();
  for (size_t length = 0; length < bytes.size(); ++length) {
    EXPECT_FALSE(OpenBytes(bytes.substr(0, length))) << length;
    EXPECT_EQ(doc_.Array().GetSize(), 0u) << length;
    // Cut inside a text's characters, the length already says too much;
    // anywhere else the data simply ends.
    const ArchiveError e = doc_.LastArchiveError();
    EXPECT_TRUE(e == ArchiveError::Truncated || e == ArchiveError::CountTooLarge) << length;
  }
}

TEST_F(DocumentTest, MalformedDocumentsFailWithTheirFault) {
  const std::string fixture = Fixture();
  const size_t secondElement = 0x1C9;  // the word 0x8001 (see the fixture's README)
  auto patched = [&](size_t at, std::string_view with, size_t replace) {
    std::string b = fixture;
    b.replace(at, replace, with);
    return b;
  };
  struct Case {
    const char* name;
    std::string bytes;
    ArchiveError error;
    uint64_t offset;
  } cases[] = {
      {"unknown class name", patched(12, "CRASparaX", 9), ArchiveError::UnknownClass, 8},
      {"schema mismatch", patched(8, std::string("\x02\x00", 2), 2), ArchiveError::SchemaMismatch, 8},
      {"class name too long", patched(10, std::string("\x40\x00", 2), 2), ArchiveError::BadClassName, 8},
      {"count larger than the data",
       patched(4, std::string("\xff\xff\xff\xff\xff\x7f", 6), 2), ArchiveError::CountTooLarge, 10},
      {"32-bit count escape", patched(4, std::string("\xff\xff\xff\xff\xff\xff\x00\x00\x00\x00\x01\x00\x00\x00", 14), 2),
       ArchiveError::CountTooLarge, 18},
      {"text longer than the data", patched(0x15, std::string("\xff\xfe\xff\xff\xfe\xff", 6), 4),
       ArchiveError::CountTooLarge, 0x1B},
      {"null element", patched(6, std::string("\x00\x00", 2), 2), ArchiveError::NullObject, 8},
      {"second reference to an object", patched(secondElement, std::string("\x02\x00", 2), 2),
       ArchiveError::SharedObject, secondElement},
      {"class index never given out", patched(secondElement, std::string("\x05\x80", 2), 2),
       ArchiveError::BadIndex, secondElement},
      {"class index of an object", patched(secondElement, std::string("\x02\x80", 2), 2),
       ArchiveError::BadIndex, secondElement},
      {"object index never given out", patched(secondElement, std::string("\x09\x00", 2), 2),
       ArchiveError::BadIndex, secondElement},
      {"element that is no record",
       patched(6, std::string("\xff\xff\x00\x00\x0a\x00" "CAdresseIP", 16), 15), ArchiveError::WrongClass, 8},
  };
  for (const auto& c : cases) {
    doc_.Array().Add(std::make_unique<CRASparam>());
    EXPECT_FALSE(OpenBytes(c.bytes)) << c.name;
    EXPECT_EQ(doc_.Array().GetSize(), 0u) << c.name;
    EXPECT_EQ(doc_.LastArchiveError(), c.error)
        << c.name << ": " << framework::ArchiveErrorName(doc_.LastArchiveError());
    EXPECT_EQ(doc_.LastErrorOffset(), c.offset) << c.name;
  }
}

TEST_F(DocumentTest, AFailedSaveLeavesTheOldFileAndNoTemporary) {
  device_.WriteFile(kDocFile, "previous document");
  doc_.Open(kDocPath);  // does not load, remembers the path
  doc_.Array().Add(test::FixtureRecord());
  doc_.SetModifiedFlag(false);
  {
    // Someone holds the document open: it cannot be replaced.
    platform::File holder;
    ASSERT_EQ(holder.Open(kDocPath, platform::kGenericRead, platform::kShareRead,
                          platform::CreationDisposition::OpenExisting),
              platform::kErrorSuccess);
    EXPECT_FALSE(doc_.Save());
    EXPECT_TRUE(doc_.IsModified());
    EXPECT_EQ(doc_.LastFileError(), platform::kErrorSharingViolation);
  }
  EXPECT_EQ(device_.ReadFile(kDocFile), "previous document");
  EXPECT_EQ(FilesIn(u"\\Yvra File Store\\*.*"), (std::vector<platform::WString>{u"VELM.DAT"}));

  ASSERT_TRUE(doc_.Save());
  EXPECT_FALSE(doc_.IsModified());
  CRASparamArrayDoc again;
  ASSERT_TRUE(again.Open(kDocPath));
  EXPECT_TRUE(again.Array().GetAt(0)->IsEqual(*test::StoredFixtureRecord()));

  CRASparamArrayDoc nowhere;
  nowhere.Open(u"\\No Such Folder\\VELM.DAT");
  EXPECT_FALSE(nowhere.Save());
  EXPECT_EQ(nowhere.LastFileError(), platform::kErrorPathNotFound);
}

TEST_F(DocumentTest, ASaveRemovesTheTemporariesThatCrashedSavesLeft) {
  // More leftovers than a save has temporary names: every save would fail
  // if they stayed in the way.
  for (int i = 0; i < 120; ++i)
    device_.WriteFile("Yvra File Store/VELM.DAT.~" + std::to_string(i), "crashed save");
  // Not temporaries of this document: another document's, a name that only
  // looks alike, and a folder.
  device_.WriteFile("Yvra File Store/OTHER.DAT.~0", "other");
  device_.WriteFile("Yvra File Store/VELM.DAT.~x", "not a number");
  device_.WriteFile("Yvra File Store/VELM.DAT.~200/inside", "a folder");
  doc_.Open(kDocPath);
  doc_.Array().Add(test::FixtureRecord());

  // A temporary that a save of this process has open is not touched.
  platform::File inUse;
  ASSERT_EQ(inUse.Open(u"\\Yvra File Store\\velm.dat.~3", platform::kGenericWrite, platform::kShareNone,
                       platform::CreationDisposition::OpenExisting),
            platform::kErrorSuccess);
  ASSERT_TRUE(doc_.Save());
  EXPECT_EQ(FilesIn(u"\\Yvra File Store\\*.*"),
            (std::vector<platform::WString>{u"OTHER.DAT.~0", u"VELM.DAT", u"VELM.DAT.~200",
                                            u"VELM.DAT.~3", u"VELM.DAT.~x"}));
  inUse.Close();
  ASSERT_TRUE(doc_.Save());
  EXPECT_EQ(FilesIn(u"\\Yvra File Store\\VELM.DAT.~*"),
            (std::vector<platform::WString>{u"VELM.DAT.~200", u"VELM.DAT.~x"}));
  CRASparamArrayDoc again;
  ASSERT_TRUE(again.Open(kDocPath));
  EXPECT_TRUE(again.Array().GetAt(0)->IsEqual(*test::StoredFixtureRecord()));
}

}  // namespace
}  // namespace applet
