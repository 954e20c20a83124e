// Listing parser against lines in the styles of real servers (GNU ls, BSD, busybox, IIS), the
// listing-level rules (total line, blank line, CR LF) and the failures; and CFtpFiles.
#include "net/ftp_listing.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>

namespace {

using net::CFtpFile;
using net::CFtpFiles;
using net::ParseListing;

constexpr int kYear = 2031;  // dates with a time instead of a year land in this one

// "d|- size yyyy-mm-dd hh:mm [name] -> [link target] perms owner:group"
std::string Show(const CFtpFile& f) {
  const net::FtpDate& d = f.LastWriteTime;
  char date[32];
  std::snprintf(date, sizeof date, "%04d-%02d-%02d %02d:%02d", d.year, d.month, d.day, d.hour,
                d.minute);
  std::string s = (f.IsDirectory ? "d " : "- ") + std::to_string(f.FileSize) + " " + date + " [" +
                  f.FileName + "]";
  if (!f.FilePath.empty()) s += " -> [" + f.FilePath + "]";
  if (!(f.Permissions + f.Owner + f.Group).empty())
    s += " " + f.Permissions + " " + f.Owner + ":" + f.Group;
  return s;
}

TEST(FtpListing, LinesParseToTheseFiles) {
  const std::pair<const char*, const char*> cases[] = {
      // Unix: GNU ls, also through a daemon showing numeric ids
      {"-rw-r--r--   1 owner    group        1234 Jan 12 12:34 file.txt",
       "- 1234 2031-01-12 12:34 [file.txt] -rw-r--r-- owner:group"},
      {"-rw-r--r--    1 1000     1000         1234 Jan 12 12:34 file.txt",
       "- 1234 2031-01-12 12:34 [file.txt] -rw-r--r-- 1000:1000"},
      {"drwxr-xr-x    2 ftp      ftp          4096 Mar 03  2021 pub",
       "d 4096 2021-03-03 00:00 [pub] drwxr-xr-x ftp:ftp"},
      // links; one without an arrow keeps the whole rest as the name
      {"lrwxrwxrwx    1 0        0              11 Feb 28 09:15 latest -> release-1.2",
       "- 11 2031-02-28 09:15 [latest] -> [release-1.2] lrwxrwxrwx 0:0"},
      {"lrwxrwxrwx   1 root     root           20 Oct 10  2018 my link -> /srv/my target",
       "- 20 2018-10-10 00:00 [my link] -> [/srv/my target] lrwxrwxrwx root:root"},
      {"lrwxrwxrwx   1 root     root           20 Oct 10  2018 dangling",
       "- 20 2018-10-10 00:00 [dangling] lrwxrwxrwx root:root"},
      // sizes past 4 GiB
      {"-rw-r--r--   1 ftpuser  ftpgroup 5368709120 Dec 31 23:59 disk.img",
       "- 5368709120 2031-12-31 23:59 [disk.img] -rw-r--r-- ftpuser:ftpgroup"},
      {"-rw-r--r-- 1 ftp ftp     4294967296 Nov 11 11:11 four gig.iso",
       "- 4294967296 2031-11-11 11:11 [four gig.iso] -rw-r--r-- ftp:ftp"},
      // busybox: single-digit days padded with a space
      {"-rw-r--r--    1 root     root          1234 Jan  1 00:00 busy.txt",
       "- 1234 2031-01-01 00:00 [busy.txt] -rw-r--r-- root:root"},
      {"drwxr-xr-x    3 root     root             0 Aug  9  1999 old dir",
       "d 0 1999-08-09 00:00 [old dir] drwxr-xr-x root:root"},
      // BSD style with two-space columns; names with spaces kept as they stand
      {"drwxr-xr-x  3 alice  staff    96 Oct  1 14:22 Photos Library",
       "d 96 2031-10-01 14:22 [Photos Library] drwxr-xr-x alice:staff"},
      {"-rw-r--r--   1 u        g               7 May 20 08:00 two  spaces.txt",
       "- 7 2031-05-20 08:00 [two  spaces.txt] -rw-r--r-- u:g"},
      {"-rw-r--r--   1 u        g               9 Jul  4 10:00  leading space",
       "- 9 2031-07-04 10:00 [ leading space] -rw-r--r-- u:g"},
      // ACL mark after the permissions; upper-case month; no group column
      {"-rw-r--r--+  1 bob  users  10 APR  9  2019 acl.txt",
       "- 10 2019-04-09 00:00 [acl.txt] -rw-r--r--+ bob:users"},
      {"-rw-r--r--   1 1000      1234 Jan 12 12:34 x",
       "- 1234 2031-01-12 12:34 [x] -rw-r--r-- 1000:"},
      // an arrow in a plain file's name is part of the name
      {"-rw-r--r--   1 u g 5 Aug  8 08:08 a -> b", "- 5 2031-08-08 08:08 [a -> b] -rw-r--r-- u:g"},
      // owner and group named like a month; a date-like file name; long owner padding
      {"-rw-r--r--   1 may      may        1234567 Oct 12 12:34 backup.tar",
       "- 1234567 2031-10-12 12:34 [backup.tar] -rw-r--r-- may:may"},
      {"-rw-r--r--   1 u g 100 Mar 12 12:34 old 1 jan 12 12:345",
       "- 100 2031-03-12 12:34 [old 1 jan 12 12:345] -rw-r--r-- u:g"},
      {"-rw-r--r-- 1 owner                    group 3 Jun  5 07:08 pad",
       "- 3 2031-06-05 07:08 [pad] -rw-r--r-- owner:group"},
      // DOS (IIS)
      {"01-12-23  10:30AM       <DIR>          aspnet_client",
       "d 0 2023-01-12 10:30 [aspnet_client]"},
      {"01-12-23  10:30PM                 1234 default.htm",
       "- 1234 2023-01-12 22:30 [default.htm]"},
      {"12-31-99  11:59PM           5368709120 big file.iso",
       "- 5368709120 1999-12-31 23:59 [big file.iso]"},
      {"02-29-24  12:00AM                    0 leap.txt", "- 0 2024-02-29 00:00 [leap.txt]"},
      {"07-04-30  12:15PM                   10 y1930.txt", "- 10 1930-07-04 12:15 [y1930.txt]"},
      {"06-30-29  01:00PM                    1 my<DIR>file", "- 1 2029-06-30 13:00 [my<DIR>file]"},
      {"01-12-23  10:30AM                 1234    leading spaces",
       "- 1234 2023-01-12 10:30 [   leading spaces]"},
      // year first, 24-hour clock; four-digit years; unpadded columns
      {"2023-01-12  10:30       <DIR>          iso dir", "d 0 2023-01-12 10:30 [iso dir]"},
      {"2023-01-12  23:05                   99 iso file", "- 99 2023-01-12 23:05 [iso file]"},
      {"02-18-2020  03:25PM       <DIR>          wide year", "d 0 2020-02-18 15:25 [wide year]"},
      {"02-18-2020  03:25AM           2147483649 wide file.bin",
       "- 2147483649 2020-02-18 03:25 [wide file.bin]"},
      {"01-12-23 10:30AM <DIR> loose dir", "d 0 2023-01-12 10:30 [loose dir]"},
      {"01/12/2023 10:30 PM 77 slashes.txt", "- 77 2023-01-12 22:30 [slashes.txt]"},
  };
  for (const auto& [line, want] : cases) {
    CFtpFiles files;
    std::string error;
    ASSERT_TRUE(ParseListing(std::string(line) + "\r\n", kYear, files, &error)) << line << error;
    ASSERT_EQ(files.Count(), 1u) << line;
    EXPECT_EQ(Show(files.Item(1)), want) << line;
    EXPECT_EQ(files.Item(files.Item(1).FileName).FileName, files.Item(1).FileName) << line;
  }
}

TEST(FtpListing, ListingRules) {
  CFtpFiles files;
  std::string error;
  // "total" first line (any case) dropped; CR LF and LF alike; parsing ends at a blank line
  ASSERT_TRUE(
      ParseListing("TOTAL 12\r\n"
                   "drwxr-xr-x   2 u g 4096 Jan 12 12:34 dir\r\n"
                   "-rw-r--r--   1 u g   10 Jan 12  2020 File\n"
                   "-rw-r--r--   1 u g   20 Jan 12  2020 file\r\n"
                   "\r\n"
                   "this is not a listing line\r\n",
                   kYear, files, &error))
      << error;
  ASSERT_EQ(files.Count(), 3u);
  EXPECT_TRUE(files.Item(1).IsDirectory);
  EXPECT_EQ(files.Item("File").FileSize, 10);  // keys are case-sensitive
  EXPECT_EQ(files.Item("file").FileSize, 20);
  // the listing may mix both forms, and may be empty
  EXPECT_TRUE(
      ParseListing("01-12-23  10:30AM       <DIR>          a\n"
                   "-rw-r--r--   1 u g 1 Jan 12 12:34 b\n",
                   kYear, files, &error));
  EXPECT_EQ(files.Count(), 2u);
  for (const char* empty : {"", "\r\n", "total 0\r\n", "total 0", "\n-rw junk"}) {
    EXPECT_TRUE(ParseListing(empty, kYear, files)) << empty;
    EXPECT_EQ(files.Count(), 0u) << empty;
  }
  // a leap day with a time belongs to the last leap year
  for (int year : {2024, 2025}) {
    ASSERT_TRUE(ParseListing("-rw-r--r--   1 u g 1 Feb 29 12:00 leap\n", year, files));
    EXPECT_EQ(Show(files.Item(1)), "- 1 2024-02-29 12:00 [leap] -rw-r--r-- u:g");
  }
}

TEST(FtpListing, UnreadableLinesFailTheWholeListing) {
  const char* const good = "-rw-r--r--   1 u g 1 Jan 12 12:34 ok\r\n";
  for (const char* line : {"-rw-r--r--   1 u g 12a4 Jan 12 12:34 not-a-size",
                           "-rw-r--r--   1 u g 99999999999999999999 Jan 12 12:34 too-big",
                           "-rw-r--r--   1 u g 1234 Feb 30 12:34 no-such-day",
                           "-rw-r--r--   1 u g 1234 Jan 12 25:34 no-such-hour",
                           "-rw-r--r--   1 u g 1 Jan 12 12:34 ok",   // repeated name
                           "-rw-r--r--   1 u g 1234 Jan 12 12:34 ",  // no name
                           "13-45-23  10:30AM       <DIR>          bad-date",
                           "01-12-23  10:30AM                 12x4 bad-size",
                           "01-12-23  13:30PM                 1234 bad-hour", "hello world", "-"}) {
    CFtpFiles files;
    std::string error;
    EXPECT_FALSE(
        ParseListing("total 2\r\n" + std::string(good) + line + "\r\n", kYear, files, &error))
        << line;
    EXPECT_EQ(files.Count(), 0u) << line;
    EXPECT_NE(error.find("line 3"), std::string::npos) << line << ": " << error;
  }
}

TEST(FtpFiles, KeyedCollectionInInsertionOrder) {
  CFtpFiles files;
  CFtpFile f;
  for (const char* name : {"a", "b", "c", "d"}) {
    f.FileName = name;
    files.Add(f, name);
  }
  EXPECT_THROW(files.Add(f, "b"), std::invalid_argument);
  EXPECT_THROW(files.Item(0), std::out_of_range);
  EXPECT_THROW(files.Item(5), std::out_of_range);
  EXPECT_THROW(files.Item("B"), std::out_of_range);
  files.Remove(2);  // b
  files.Remove("d");
  EXPECT_THROW(files.Remove("b"), std::out_of_range);
  EXPECT_THROW(files.Remove(3), std::out_of_range);
  ASSERT_EQ(files.Count(), 2u);
  EXPECT_EQ(files.Item("c").FileName, "c");  // keys after a removal still find their file
  EXPECT_EQ(files.Item(2).FileName, "c");
  std::string order;
  for (const CFtpFile& file : files) order += file.FileName;
  EXPECT_EQ(order, "ac");
  files.Add(f, "b");  // a removed key can be used again
  EXPECT_EQ(files.Item(3).FileName, "d");
}

}  // namespace
