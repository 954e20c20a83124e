// Profile-string reads and writes: matching, trimming, line endings, in-place rewrites that
// keep the rest of the file, failed writes that lose nothing, and hostile files.
#include "platform/ini.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "temp_dir.h"

namespace fs = std::filesystem;
using platform::GetPrivateProfileString;
using platform::WritePrivateProfileString;

namespace {

class IniTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = tmp_.path();
    file_ = (dir_ / "Data.ini").string();
  }

  void Put(const std::string& bytes) { std::ofstream(file_, std::ios::binary) << bytes; }
  std::string Contents() const {
    std::ifstream in(file_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string Read(const std::string& section, const std::string& key,
                   const std::string& def = "dflt", size_t size = 255) const {
    return GetPrivateProfileString(section, key, def, size, file_);
  }
  bool Write(const std::string& section, const std::string& key, const std::string& value) {
    return WritePrivateProfileString(section, key, value, file_);
  }
  // Each (key, value) of `section` reads as given ("dflt": missing).
  void ExpectReads(const std::string& section,
                   std::initializer_list<std::pair<const char*, std::string>> reads) {
    for (const auto& [key, value] : reads) EXPECT_EQ(Read(section, key), value) << key;
  }

  brikka::testing::TempDir tmp_{"brikka-ini"};
  fs::path dir_;
  std::string file_;
};

// ---- reading ----

TEST_F(IniTest, ReadMatchesSectionAndKeyWithoutRegardToCase) {
  Put("[Menu]\r\nrgrid=-1\r\n[ Other ]\r\nRGrid=7\r\n");
  EXPECT_EQ(Read("Menu", "RGrid"), "-1");
  EXPECT_EQ(Read("MENU", "rGRID"), "-1");
  EXPECT_EQ(Read("other", "rgrid"), "7");
}

TEST_F(IniTest, ReadTrimsBlanksAndStripsOnePairOfMatchingQuotes) {
  Put("[S]\n"
      "  Spaced \t=\t  two words  \n"
      "D=\"double\"\n"
      "Q=  'single'  \n"
      "M=\"mismatched'\n"
      "N=\"\"nested\"\"\n"
      "One=\"\n"
      "Empty=\n"
      "Eq=a=b=c\n");
  // Present but empty is not missing.
  // clang-format off
  ExpectReads("S", {{"Spaced", "two words"}, {"D", "double"}, {"Q", "single"},
                    {"M", "\"mismatched'"}, {"N", "\"nested\""}, {"One", "\""}, {"Empty", ""},
                    {"Eq", "a=b=c"}});
  // clang-format on
}

TEST_F(IniTest, ReadTakesTheFirstOfDuplicateKeysAndSections) {
  Put("[S]\nK=1\nK=2\n[T]\nK=t\n[s]\nK=3\nOnlyLater=4\n");
  ExpectReads("S", {{"K", "1"}, {"OnlyLater", "dflt"}});
  EXPECT_EQ(Read("T", "K"), "t");
}

TEST_F(IniTest, ReadIgnoresCommentsJunkAndKeysOutsideSections) {
  Put("Loose=0\n[S]\n; K=comment\n  ;K=indented comment\njunk without equals\n"
      "[Broken header\nK=2\n");
  // "[Broken header" is junk, so K still belongs to S.
  ExpectReads("S", {{"K", "2"}, {"Loose", "dflt"}, {"; K", "dflt"}});
  EXPECT_EQ(Read("Broken header", "K"), "dflt");
}

TEST_F(IniTest, ReadsCrLfCrAndLfFilesAndALeadingByteOrderMark) {
  for (const char* eol : {"\r\n", "\r", "\n"}) {
    Put(std::string("[A]") + eol + "x=1" + eol + eol + "[B]" + eol + "y=2" + eol + "z=3");
    EXPECT_EQ(Read("A", "x"), "1") << "eol " << int(eol[0]);
    ExpectReads("B", {{"y", "2"}, {"z", "3"}});
  }
  Put("\xEF\xBB\xBF[Menu]\r\nMusic=0\r\n");
  EXPECT_EQ(Read("Menu", "Music"), "0");
}

TEST_F(IniTest, MissingFileSectionOrKeyGivesDefaultWithoutTrailingSpaces) {
  EXPECT_EQ(Read("Menu", "Music", "1  "), "1");
  EXPECT_EQ(Read("Menu", "Music", "  1\t "), "  1\t");
  Put("[Menu]\nSFX=0\n");
  EXPECT_EQ(Read("Other", "SFX", "x "), "x");
  EXPECT_EQ(Read("Menu", "Music", "1 "), "1");
}

TEST_F(IniTest, ValueAndDefaultAreCutToSizeMinusOne) {
  Put("[S]\nLong=" + std::string(300, 'v') + "\nNum=99999999999\n");
  for (auto [size, want] :
       {std::pair<size_t, std::string>{255, std::string(254, 'v')}, {4, "vvv"}, {1, ""}, {0, ""}})
    EXPECT_EQ(Read("S", "Long", "", size), want) << size;
  EXPECT_EQ(Read("S", "None", "abcdef", 3), "ab");
  EXPECT_EQ(Read("S", "Num"), "99999999999");  // text, never parsed here
}

// ---- writing ----

TEST_F(IniTest, WriteCreatesAFileWithCrLfLines) {
  ASSERT_TRUE(Write("Menu", "Music", "-1"));
  EXPECT_EQ(Contents(), "[Menu]\r\nMusic=-1\r\n");
}

TEST_F(IniTest, WriteUpdatesInPlaceKeepingTheKeysSpelling) {
  Put("[Menu]\r\n  RGrid = 0 ; old\r\nLGrid=0\r\n");
  ASSERT_TRUE(Write("menu", "rgrid", "-1"));
  EXPECT_EQ(Contents(), "[Menu]\r\n  RGrid=-1\r\nLGrid=0\r\n");
  EXPECT_EQ(Read("Menu", "RGrid"), "-1");

  // Duplicates: the entry a read sees is the one a write changes.
  Put("K=loose\n[S]\nK=1\nK=2\n[s]\nK=3\nL=4\n");
  ASSERT_TRUE(Write("S", "k", "a"));
  ASSERT_TRUE(Write("S", "L", "b"));
  EXPECT_EQ(Contents(), "K=loose\n[S]\nK=a\nK=2\nL=b\n[s]\nK=3\nL=4\n");
  EXPECT_EQ(Read("S", "L"), "b");
}

TEST_F(IniTest, WriteAddsANewKeyAfterTheLastKeyOfItsSection) {
  Put("[A]\nx=1\njunk\n\n; about=B\n[B]\ny=2\n");
  ASSERT_TRUE(Write("A", "z", "3"));
  EXPECT_EQ(Contents(), "[A]\nx=1\nz=3\njunk\n\n; about=B\n[B]\ny=2\n");

  Put("[A]\r\n\r\n[B]\r\n");  // a section with no keys takes it right below its header
  ASSERT_TRUE(Write("a", "k", "v"));
  EXPECT_EQ(Contents(), "[A]\r\nk=v\r\n\r\n[B]\r\n");

  Put("[A]\rx=1");  // last line without an ending: the file's own ending is added first
  ASSERT_TRUE(Write("A", "y", "2"));
  EXPECT_EQ(Contents(), "[A]\rx=1\ry=2\r");

  Put("[A]\rx=1\n\n[B]\r\r");  // a CR ending would join the empty LF line into one CRLF
  ASSERT_TRUE(Write("A", "y", "2"));
  EXPECT_EQ(Contents(), "[A]\rx=1\ny=2\r\n\n[B]\r\r");
}

TEST_F(IniTest, WriteAppendsANewSectionInTheFilesLineEnding) {
  Put("[A]\nx=1\r\ny=2\n");  // mostly LF
  ASSERT_TRUE(Write("B", "k", "v"));
  EXPECT_EQ(Contents(), "[A]\nx=1\r\ny=2\n[B]\nk=v\n");

  Put("[A]\r\nx=1");
  ASSERT_TRUE(Write("B", "k", "v"));
  EXPECT_EQ(Contents(), "[A]\r\nx=1\r\n[B]\r\nk=v\r\n");
}

TEST_F(IniTest, WriteKeepsEveryOtherLineByteForByte) {
  const std::string head =
      "; settings\r\n\t\r\nstray line\n[Menu]\r\n;Music=0\r\nUnknown = \"q\" \r\n";
  const std::string tail = "\r\n   \r\n[Other\r\n\x01\x02=\x03\r\n[Z]\rk=v";
  Put(head + "Music=0" + tail);
  ASSERT_TRUE(Write("Menu", "music", "-1"));
  EXPECT_EQ(Contents(), head + "Music=-1" + tail);
}

TEST_F(IniTest, WriteTurnsLineBreaksInTheValueIntoSpaces) {
  ASSERT_TRUE(Write("S", "K", "a\r\nb\rc\n"));
  EXPECT_EQ(Contents(), "[S]\r\nK=a  b c \r\n");
  EXPECT_EQ(Read("S", "K"), "a  b c");
  EXPECT_EQ(Read("S", "b"), "dflt");
}

TEST_F(IniTest, WriteRefusesNamesThatWouldNotReadBack) {
  // A read skips the byte-order mark.
  const std::pair<const char*, const char*> names[] = {{"S", "a=b"},    {"S", ""},
                                                       {"S", "; note"}, {"x]y", "k"},
                                                       {"S", "k\nb"},   {"S", "\xEF\xBB\xBFk"}};
  for (auto [section, key] : names) EXPECT_FALSE(Write(section, key, "1")) << section << " " << key;
  EXPECT_FALSE(fs::exists(file_));
}

// ---- batches ----

// A batch must leave exactly what writing its keys one by one leaves, whatever the file.
TEST_F(IniTest, ABatchLeavesWhatWritingEachKeyInTurnLeaves) {
  const std::vector<platform::ProfileEntry> batch = {
      {"Nickname1", "Ann"}, {"Score1", "40000"},  {"nickname2", " two\r\nlines "},
      {"Score2", ""},       {"NICKNAME1", "Bob"}, {"New", "k"}};
  const char* files[] = {
      nullptr,  // no file
      "",
      "[highscores]\r\nScore1=5\r\n  NICKNAME2 = x ; kept spelling\r\n\r\n[Other]\r\nNew=o\r\n",
      "; only a comment\nstray",
      "[a]\rk=v\r[HighScores]\rScore2=1",
      "[highscores]\nScore1=1\nScore1=2\n[highscores]\nNew=later\n",
      "\xEF\xBB\xBF[highscores]\nNickname1=\"q\"",
  };
  for (const char* start : files) {
    SCOPED_TRACE(start ? start : "(no file)");
    auto reset = [&] { start ? Put(start) : (void)fs::remove(file_); };
    reset();
    for (const auto& e : batch) ASSERT_TRUE(Write("highscores", e.key, e.value));
    const std::string one_by_one = Contents();
    reset();
    ASSERT_TRUE(platform::WritePrivateProfileStrings("highscores", batch, file_));
    EXPECT_EQ(Contents(), one_by_one);
  }
}

TEST_F(IniTest, ABatchWithANameThatWouldNotReadBackWritesNothing) {
  Put("[S]\nK=1\n");
  EXPECT_FALSE(platform::WritePrivateProfileStrings("S", {{"K", "2"}, {"a=b", "3"}}, file_));
  EXPECT_EQ(Contents(), "[S]\nK=1\n");
}

TEST_F(IniTest, ABatchReadGivesEachKeyAsASingleReadDoes) {
  Put("[S]\nA = ' x '\nb=1\nB=2\nLong=" + std::string(300, 'v') + "\n[T]\nC=3\n");
  const std::vector<std::string> keys = {"a", "B", "Long", "C", "Missing", "b"};
  const auto values = platform::GetPrivateProfileStrings("s", keys, 255, file_);
  ASSERT_EQ(values.size(), keys.size());
  for (size_t i = 0; i < keys.size(); ++i) {
    if (keys[i] == "C" || keys[i] == "Missing") {
      EXPECT_FALSE(values[i].has_value()) << keys[i];
    } else {
      EXPECT_EQ(values[i], Read("S", keys[i])) << keys[i];
    }
  }
  EXPECT_FALSE(platform::GetPrivateProfileStrings("S", keys, 255, file_ + ".none")[0]);
}

// ---- failed writes lose nothing ----

TEST_F(IniTest, WriteIntoAFolderThatCannotBeWrittenFailsAndKeepsTheFile) {
  const std::string before = "[Menu]\r\nMusic=0\r\n; mine\r\n";
  Put(before);
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                            fs::perms::group_exec | fs::perms::others_read |
                            fs::perms::others_exec);
  bool privileged = static_cast<bool>(std::ofstream(dir_ / "probe"));
  if (!privileged) {
    EXPECT_FALSE(Write("Menu", "Music", "-1"));
    EXPECT_EQ(Contents(), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 1);  // no temporary left
    return;
  }
  // Root writes through 0555: make the folder unreachable instead (its "parent" is a file).
  fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
  fs::remove(dir_ / "probe");
  const std::string blocked = (dir_ / "Data.ini" / "Data.ini").string();
  EXPECT_FALSE(WritePrivateProfileString("Menu", "Music", "-1", blocked));
  EXPECT_EQ(Contents(), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 1);
}

TEST_F(IniTest, WriteOntoAFolderOrAnUnreadableFileFailsAndLeavesItAlone) {
  fs::create_directory(file_);
  std::ofstream(fs::path(file_) / "inside") << "kept";
  EXPECT_FALSE(Write("Menu", "Music", "-1"));
  EXPECT_TRUE(fs::is_directory(file_));
  EXPECT_TRUE(fs::exists(fs::path(file_) / "inside"));
  EXPECT_EQ(Read("Menu", "Music"), "dflt");

  // A file we cannot read is not rewritten blind: that would lose its other lines.
  fs::remove_all(file_);
  Put("[Menu]\nMusic=0\n");
  fs::permissions(file_, fs::perms::none);
  if (std::ifstream(file_)) return;  // privileged: every file reads, nothing to show
  EXPECT_FALSE(Write("Menu", "Music", "-1"));
  fs::permissions(file_, fs::perms::owner_read);
  EXPECT_EQ(Contents(), "[Menu]\nMusic=0\n");
}

// ---- hostile files ----

// A write into a damaged file must leave our key readable and keep the damage as it was.
void ExpectWriteReadsBack(const std::string& before, const std::string& file) {
  ASSERT_TRUE(WritePrivateProfileString("Menu", "Music", "-1", file));
  EXPECT_EQ(GetPrivateProfileString("Menu", "Music", "d", 255, file), "-1");
  std::ifstream in(file, std::ios::binary);
  std::string after((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(after.compare(0, before.size(), before), 0) << "damaged bytes were not kept";
}

TEST_F(IniTest, BinaryJunkWithNulBytesReadsDefaultsAndTakesAWrite) {
  std::mt19937 gen(7);
  const char alphabet[] = {'\0', '\r', '\n', '[', ']', '=', ';', ' ', '\t', 'M', '"', '\xff'};
  std::string junk;
  for (int i = 0; i < 200000; ++i) {
    junk += (i % 3 == 0) ? alphabet[gen() % sizeof alphabet] : static_cast<char>(gen() & 0xff);
  }
  Put(junk);
  EXPECT_EQ(Read("Menu", "Music"), "dflt");
  ExpectWriteReadsBack(junk, file_);
}

TEST_F(IniTest, OneLineOfAMegabyteReadsDefaultsAndTakesAWrite) {
  const std::string line(1 << 20, 'x');
  Put(line);
  EXPECT_EQ(Read("Menu", "Music"), "dflt");
  ExpectWriteReadsBack(line, file_);
  EXPECT_EQ(Contents(), line + "\r\n[Menu]\r\nMusic=-1\r\n");

  Put("[Menu]\nMusic=" + std::string(1 << 20, 'y') + "\n");
  EXPECT_EQ(Read("Menu", "Music"), std::string(254, 'y'));
  ASSERT_TRUE(Write("Menu", "Music", "0"));
  EXPECT_EQ(Contents(), "[Menu]\nMusic=0\n");
}

TEST_F(IniTest, HeaderWithoutClosingBracketIsJunkThatAWriteKeeps) {
  const std::string before = "[Menu\r\nMusic=0\r\n";
  Put(before);
  EXPECT_EQ(Read("Menu", "Music"), "dflt");
  ExpectWriteReadsBack(before, file_);
  EXPECT_EQ(Contents(), before + "[Menu]\r\nMusic=-1\r\n");
}

TEST_F(IniTest, ManySectionsAreScannedAndRewrittenWhole) {
  std::ostringstream big;
  for (int i = 0; i < 20000; ++i) big << "[S" << i << "]\nk=" << i << "\n";
  Put(big.str());
  EXPECT_EQ(Read("s19999", "K"), "19999");
  ASSERT_TRUE(Write("S10000", "k", "new"));
  EXPECT_EQ(Read("S10000", "k"), "new");
  EXPECT_EQ(Read("S10001", "k"), "10001");
  EXPECT_EQ(Contents().size(), big.str().size() - 5 + 3);
}

}  // namespace
