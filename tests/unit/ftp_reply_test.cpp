// Reply scanning on the control connection: whole and partial lines, multi-line replies,
// replies that arrive together, garbage, the goodbye exception and the 64 KiB cap.
#include "net/ftp_reply.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using net::ReplyScan;
using net::ScanReply;
using Status = ReplyScan::Status;

struct ReplyCase {
  const char* what;
  std::string buffer;
  Status status;
  int code;
  bool continuation;
  std::string message;
  size_t end = std::string::npos;  // npos: the whole buffer (when Complete)
};

TEST(FtpReply, ScansBuffersAsTheyArrive) {
  const ReplyCase cases[] = {
      {"empty buffer", "", Status::Incomplete, 0, false, ""},
      {"one line", "200 Command okay.\r\n", Status::Complete, 200, false, ""},
      {"bare LF ends a line too", "220 Ready\n", Status::Complete, 220, false, ""},
      {"code alone", "200\r\n", Status::Complete, 200, false, ""},
      {"two-line greeting", "220-Welcome\r\n220 Ready\r\n", Status::Complete, 220, true, "Welcome"},
      {"split after two digits", "22", Status::Incomplete, 0, false, ""},
      {"split before CR LF", "220 Ready", Status::Incomplete, 0, false, ""},
      {"split between CR and LF", "220 Ready\r", Status::Incomplete, 0, false, ""},
      {"greeting cut after its first line", "220-Welcome\r\n220 Rea", Status::Incomplete, 0, true,
       "Welcome"},
      {"continuation lines only", "230-Hello\r\n230-There\r\n", Status::Incomplete, 0, true,
       "Hello\r\nThere"},
      {"text lines inside a multi-line reply are skipped",
       "211-Features:\r\n MDTM\r\n SIZE\r\n211 End\r\n", Status::Complete, 211, true, "Features:"},
      {"two replies together are two: the first is taken",
       "150 Opening data connection\r\n226 Transfer complete\r\n", Status::Complete, 150, false, "",
       29},
      {"a finished line before a partial one", "220 Ready\r\n33", Status::Complete, 220, false, "",
       11},
      {"a line of other digits inside a multi-line reply is its text",
       "123-First\r\n234 inside\r\n123 End\r\n", Status::Complete, 123, true, "First"},
      {"... so the reply is not over at it", "123-First\r\n234 inside\r\n", Status::Incomplete, 0,
       true, "First"},
      {"empty continuation keeps its CR LF (not longer than 2)", "220-\r\n220 Hi\r\n",
       Status::Complete, 220, true, "\r\n"},
      {"garbage", "HTTP/1.1 400 Bad Request\r\n\r\n<html>\r\n", Status::Incomplete, 0, false, ""},
      {"digits then neither space nor hyphen", "2200 x\r\n220x\r\n12 x\r\n", Status::Incomplete, 0,
       false, ""},
      {"goodbye without its final line", "221-Goodbye.\r\n221-See you.\r\n", Status::Complete, 221,
       true, "Goodbye.\r\nSee you."},
      {"goodbye takes only its complete lines", "221-Goodbye.\r\n221-Se", Status::Complete, 221,
       true, "Goodbye.", 14},
      {"goodbye line not yet ended", "221-Goodb", Status::Incomplete, 0, false, ""},
      {"221- later in the buffer is no goodbye", "331-x\r\n221-bye\r\n", Status::Incomplete, 0,
       true, "x\r\nbye"},
  };
  for (const ReplyCase& c : cases) {
    SCOPED_TRACE(c.what);
    const ReplyScan scan = ScanReply(c.buffer);
    EXPECT_EQ(scan.status, c.status);
    EXPECT_EQ(scan.code, c.code);
    EXPECT_EQ(scan.continuation, c.continuation);
    EXPECT_EQ(scan.server_message, c.message);
    if (c.status == Status::Complete) {
      EXPECT_EQ(scan.end, c.end == std::string::npos ? c.buffer.size() : c.end);
    }
  }
}

TEST(FtpReply, ReplyFedByteByByteCompletesOnlyAtItsLastLf) {
  const std::string reply = "220-Welcome to the\r\n220-high score server\r\n220 Ready\r\n";
  for (size_t n = 0; n < reply.size(); ++n) {
    ASSERT_NE(ScanReply(reply.substr(0, n)).status, Status::Complete) << n;
  }
  const ReplyScan scan = ScanReply(reply);
  EXPECT_EQ(scan.status, Status::Complete);
  EXPECT_EQ(scan.code, 220);
  EXPECT_EQ(scan.server_message, "Welcome to the\r\nhigh score server");
}

TEST(FtpReply, UnfinishedReplyOverTheCapIsTooLong) {
  std::string buffer;
  while (buffer.size() < net::kMaxReplyBytes) buffer += "230-" + std::string(60, 'x') + "\r\n";
  buffer.resize(net::kMaxReplyBytes);
  EXPECT_EQ(ScanReply(buffer).status, Status::Incomplete);  // exactly at the cap: still waiting

  buffer += "y";
  EXPECT_EQ(ScanReply(buffer).status, Status::TooLong);
  EXPECT_EQ(ScanReply(buffer).code, 0);
  EXPECT_EQ(ScanReply(std::string(net::kMaxReplyBytes + 1, '\n')).status, Status::TooLong);

  // A finished reply is taken whatever its size; the cap is only for ones that never end.
  EXPECT_EQ(ScanReply(buffer + "\r\n230 Done\r\n").status, Status::Complete);
  EXPECT_EQ(ScanReply("200-a\r\n200-b\r\n", 8).status, Status::TooLong);
  EXPECT_EQ(ScanReply("200-a\r\n200 b\r\n", 8).status, Status::Complete);
}

}  // namespace
