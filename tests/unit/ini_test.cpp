// Profile-string reads and writes as tables of file -> result, batches, failed writes that
// lose nothing, and hostile files. The fuzz target (tests/fuzz/fuzz_ini.cpp) checks that any
// write reads back and leaves the other keys alone; these pin the exact bytes.
#include "platform/ini.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "temp_dir.h"

namespace fs = std::filesystem;
using platform::GetPrivateProfileString;
using platform::WritePrivateProfileString;

namespace {

class IniTest : public ::testing::Test {
 protected:
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

  brikka::testing::TempDir tmp_{"brikka-ini"};
  fs::path dir_ = tmp_.path();
  std::string file_ = (dir_ / "Data.ini").string();
};

TEST_F(IniTest, ReadsGiveTheseValues) {
  const std::string lf = "[A]\nx=1\n\n[B]\ny=2\nz=3";
  std::string cr = lf, crlf;
  for (char& c : cr) c = c == '\n' ? '\r' : c;
  for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const std::vector<std::string> line_ends = {"A", "x", "1", "B", "y", "2", "B", "z", "3"};
  // The file, then section, key, value ("dflt": missing) for each read.
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      // names match without case; the first of duplicate keys and sections wins
      {"[Menu]\r\nrgrid=-1\r\n[ Other ]\r\nRGrid=7\r\n",
       {"Menu", "RGrid", "-1", "MENU", "rGRID", "-1", "other", "rgrid", "7"}},
      {"[S]\nK=1\nK=2\n[T]\nK=t\n[s]\nK=3\nOnlyLater=4\n",
       {"S", "K", "1", "s", "OnlyLater", "dflt", "T", "K", "t"}},
      // blanks trimmed, one pair of matching quotes stripped, split at the first '='
      {"[S]\n  Spaced \t=\t  two words  \nD=\"double\"\nQ=  'single'  \nM=\"mismatched'\n"
       "N=\"\"nested\"\"\nOne=\"\nEmpty=\nEq=a=b=c\nNum=99999999999\n",
       {"S", "Spaced", "two words",  "S", "D",   "double",
        "S", "Q",      "single",     "S", "M",   "\"mismatched'",
        "S", "N",      "\"nested\"", "S", "One", "\"",
        "S", "Empty",  "",           "S", "Eq",  "a=b=c",
        "S", "Num",    "99999999999"}},
      // comments, lines without '=', keys outside sections and broken headers are junk
      {"Loose=0\n[S]\n; K=comment\n  ;K=indented comment\njunk without equals\n"
       "[Broken header\nK=2\n",
       {"S", "K", "2", "S", "Loose", "dflt", "S", "; K", "dflt", "S", "junk without equals", "dflt",
        "Broken header", "K", "dflt"}},
      {"[Menu\r\nMusic=0\r\n", {"Menu", "Music", "dflt"}},
      // LF, CR and CR LF files, and a byte-order mark
      {lf, line_ends},
      {cr, line_ends},
      {crlf, line_ends},
      {"\xEF\xBB\xBF[Menu]\r\nMusic=0\r\n", {"Menu", "Music", "0"}},
      {"[Menu]\nMusic=" + std::string(1 << 20, 'y') + "\n",
       {"Menu", "Music", std::string(254, 'y'), "Menu", "Other", "dflt"}},
      {std::string(1 << 20, 'x'), {"Menu", "Music", "dflt"}},
  };
  for (const auto& [file, reads] : cases) {
    Put(file);
    for (size_t i = 0; i + 2 < reads.size(); i += 3)
      EXPECT_EQ(Read(reads[i], reads[i + 1]), reads[i + 2]) << file.substr(0, 60);
  }
}

TEST_F(IniTest, DefaultsLoseTrailingBlanksAndEverythingIsCutToSizeMinusOne) {
  EXPECT_EQ(Read("Menu", "Music", "  1\t "), "  1\t");  // no file
  Put("[Menu]\nSFX=0\n[S]\nLong=" + std::string(300, 'v') + "\n");
  EXPECT_EQ(Read("Other", "SFX", "x "), "x");
  EXPECT_EQ(Read("Menu", "Music", "1 "), "1");
  for (auto [size, want] :
       {std::pair<size_t, std::string>{255, std::string(254, 'v')}, {4, "vvv"}, {1, ""}, {0, ""}})
    EXPECT_EQ(Read("S", "Long", "", size), want) << size;
  EXPECT_EQ(Read("S", "None", "abcdef", 3), "ab");
}

struct WriteCase {
  const char* what;
  std::string before;  // "-": no file
  std::string section, key, value, after;
};

TEST_F(IniTest, WritesLeaveTheseBytes) {
  const std::string head =
      "; settings\r\n\t\r\nstray line\n[Menu]\r\n;Music=0\r\nUnknown = \"q\" \r\n";
  const std::string tail = "\r\n   \r\n[Other\r\n\x01\x02=\x03\r\n[Z]\rk=v";
  const std::string mb(1 << 20, 'x');
  std::string many;
  for (int i = 0; i < 20000; ++i)
    many += "[S" + std::to_string(i) + "]\nk=" + std::to_string(i) + "\n";
  std::string many_after = many;
  many_after.replace(many.find("k=10000\n"), 7, "k=new");
  const WriteCase cases[] = {
      {"new file, CR LF", "-", "Menu", "Music", "-1", "[Menu]\r\nMusic=-1\r\n"},
      {"in place, the key's spelling kept", "[Menu]\r\n  RGrid = 0 ; old\r\nLGrid=0\r\n", "menu",
       "rgrid", "-1", "[Menu]\r\n  RGrid=-1\r\nLGrid=0\r\n"},
      {"the duplicate a read sees", "K=loose\n[S]\nK=1\nK=2\n[s]\nK=3\n", "S", "k", "a",
       "K=loose\n[S]\nK=a\nK=2\n[s]\nK=3\n"},
      {"new key in the first of duplicate sections", "[S]\nK=1\n[s]\nL=4\n", "S", "L", "b",
       "[S]\nK=1\nL=b\n[s]\nL=4\n"},
      {"new key after the section's last key", "[A]\nx=1\njunk\n\n; about=B\n[B]\ny=2\n", "A", "z",
       "3", "[A]\nx=1\nz=3\njunk\n\n; about=B\n[B]\ny=2\n"},
      {"no keys: below the header", "[A]\r\n\r\n[B]\r\n", "a", "k", "v",
       "[A]\r\nk=v\r\n\r\n[B]\r\n"},
      {"unended last line gets the file's ending", "[A]\rx=1", "A", "y", "2", "[A]\rx=1\ry=2\r"},
      {"a CR would join the empty LF line", "[A]\rx=1\n\n[B]\r\r", "A", "y", "2",
       "[A]\rx=1\ny=2\r\n\n[B]\r\r"},
      {"new section, mostly LF", "[A]\nx=1\r\ny=2\n", "B", "k", "v", "[A]\nx=1\r\ny=2\n[B]\nk=v\n"},
      {"new section after an unended line", "[A]\r\nx=1", "B", "k", "v",
       "[A]\r\nx=1\r\n[B]\r\nk=v\r\n"},
      {"every other line kept", head + "Music=0" + tail, "Menu", "music", "-1",
       head + "Music=-1" + tail},
      {"line breaks in the value", "-", "S", "K", "a\r\nb\rc\n", "[S]\r\nK=a  b c \r\n"},
      {"unclosed header kept as junk", "[Menu\r\nMusic=0\r\n", "Menu", "Music", "-1",
       "[Menu\r\nMusic=0\r\n[Menu]\r\nMusic=-1\r\n"},
      {"a megabyte line", mb, "Menu", "Music", "-1", mb + "\r\n[Menu]\r\nMusic=-1\r\n"},
      {"a megabyte value", "[Menu]\nMusic=" + std::string(1 << 20, 'y') + "\n", "Menu", "Music",
       "0", "[Menu]\nMusic=0\n"},
      {"20,000 sections", many, "S10000", "k", "new", many_after},
  };
  for (const WriteCase& c : cases) {
    SCOPED_TRACE(c.what);
    c.before == "-" ? (void)fs::remove(file_) : Put(c.before);
    ASSERT_TRUE(Write(c.section, c.key, c.value));
    EXPECT_EQ(Contents(), c.after);
  }
  // Names that would not read back are refused (a read skips the byte-order mark).
  fs::remove(file_);
  for (auto [section, key] : {std::pair<const char*, const char*>{"S", "a=b"},
                              {"S", ""},
                              {"S", "; note"},
                              {"x]y", "k"},
                              {"S", "k\nb"},
                              {"S", "\xEF\xBB\xBFk"}})
    EXPECT_FALSE(Write(section, key, "1")) << section << " " << key;
  EXPECT_FALSE(fs::exists(file_));
}

TEST_F(IniTest, BinaryJunkWithNulBytesReadsDefaultsAndKeepsItsBytesThroughAWrite) {
  std::mt19937 gen(7);
  const char alphabet[] = {'\0', '\r', '\n', '[', ']', '=', ';', ' ', '\t', 'M', '"', '\xff'};
  std::string junk;
  for (int i = 0; i < 200000; ++i)
    junk += (i % 3 == 0) ? alphabet[gen() % sizeof alphabet] : static_cast<char>(gen() & 0xff);
  Put(junk);
  EXPECT_EQ(Read("Menu", "Music"), "dflt");
  ASSERT_TRUE(Write("Menu", "Music", "-1"));
  EXPECT_EQ(Read("Menu", "Music"), "-1");
  EXPECT_EQ(Contents().compare(0, junk.size(), junk), 0) << "damaged bytes were not kept";
}

// A batch must leave exactly what writing its keys one by one leaves, whatever the file.
TEST_F(IniTest, BatchesWriteAsKeysInTurnDoAndReadAsSingleReadsDo) {
  const std::vector<platform::ProfileEntry> batch = {
      {"Nickname1", "Ann"}, {"Score1", "40000"},  {"nickname2", " two\r\nlines "},
      {"Score2", ""},       {"NICKNAME1", "Bob"}, {"New", "k"}};
  for (const char* start :
       {(const char*)nullptr, "",
        "[highscores]\r\nScore1=5\r\n  NICKNAME2 = x ; kept\r\n\r\n[Other]\r\nNew=o\r\n",
        "; only a comment\nstray", "[a]\rk=v\r[HighScores]\rScore2=1",
        "[highscores]\nScore1=1\nScore1=2\n[highscores]\nNew=later\n",
        "\xEF\xBB\xBF[highscores]\nNickname1=\"q\""}) {
    SCOPED_TRACE(start ? start : "(no file)");
    auto reset = [&] { start ? Put(start) : (void)fs::remove(file_); };
    reset();
    for (const auto& e : batch) ASSERT_TRUE(Write("highscores", e.key, e.value));
    const std::string one_by_one = Contents();
    reset();
    ASSERT_TRUE(platform::WritePrivateProfileStrings("highscores", batch, file_));
    EXPECT_EQ(Contents(), one_by_one);
  }
  Put("[S]\nK=1\n");  // one name that would not read back refuses the batch
  EXPECT_FALSE(platform::WritePrivateProfileStrings("S", {{"K", "2"}, {"a=b", "3"}}, file_));
  EXPECT_EQ(Contents(), "[S]\nK=1\n");

  Put("[S]\nA = ' x '\nb=1\nB=2\nLong=" + std::string(300, 'v') + "\n[T]\nC=3\n");
  const auto values =
      platform::GetPrivateProfileStrings("s", {"a", "B", "Long", "C", "Missing"}, 255, file_);
  EXPECT_EQ(values,
            (std::vector<std::optional<std::string>>{" x ", "1", std::string(254, 'v'), {}, {}}));
  EXPECT_FALSE(platform::GetPrivateProfileStrings("S", {"A"}, 255, file_ + ".none")[0]);
}

// ---- failed writes lose nothing ----

TEST_F(IniTest, WriteIntoAFolderThatCannotBeWrittenFailsAndKeepsTheFile) {
  const std::string before = "[Menu]\r\nMusic=0\r\n; mine\r\n";
  Put(before);
  fs::permissions(dir_, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  std::string target = file_;
  if (std::ofstream(dir_ / "probe")) {
    // Root writes through 0555: make the folder unreachable instead (its "parent" is a file).
    fs::remove(dir_ / "probe");
    target = (dir_ / "Data.ini" / "Data.ini").string();
  }
  EXPECT_FALSE(WritePrivateProfileString("Menu", "Music", "-1", target));
  EXPECT_EQ(Contents(), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 1);  // no temporary left
}

TEST_F(IniTest, WriteOntoAFolderOrAnUnreadableFileFailsAndLeavesItAlone) {
  fs::create_directory(file_);
  std::ofstream(fs::path(file_) / "inside") << "kept";
  EXPECT_FALSE(Write("Menu", "Music", "-1"));
  EXPECT_TRUE(fs::exists(fs::path(file_) / "inside"));
  EXPECT_EQ(Read("Menu", "Music"), "dflt");

  // A file we cannot read is not rewritten blind: that would lose its other lines. A pipe
  // cannot be read even by root.
  fs::remove_all(file_);
  ASSERT_EQ(mkfifo(file_.c_str(), 0600), 0);
  EXPECT_FALSE(Write("Menu", "Music", "-1"));
  EXPECT_TRUE(fs::is_fifo(file_));
  fs::remove(file_);
  Put("[Menu]\nMusic=0\n");
  fs::permissions(file_, fs::perms::none);
  if (std::ifstream(file_)) return;  // privileged: every file reads, nothing to show
  EXPECT_FALSE(Write("Menu", "Music", "-1"));
  fs::permissions(file_, fs::perms::owner_read);
  EXPECT_EQ(Contents(), "[Menu]\nMusic=0\n");
}

}  // namespace
