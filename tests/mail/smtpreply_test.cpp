#include "mail/smtpreply.h"

#include "tests/support/qtprint.h"

#include <gtest/gtest.h>

namespace {

// What a reader makes of some bytes: each reply as "code:line|line", then "more" or "malformed".
std::string Read(const QByteArray &bytes, qsizetype chunk)
{
    SmtpReplyReader reader;
    std::string out;
    SmtpReply reply;
    for (qsizetype at = 0; at < bytes.size(); at += chunk) {
        reader.Feed(bytes.mid(at, chunk));
        for (;;) {
            const auto result = reader.Next(reply);
            if (result != SmtpReplyReader::Result::Reply)
                break;
            out += std::to_string(reply.code) + ':' + reply.lines.join('|').toStdString() + ' ';
        }
    }
    SmtpReply last;
    const auto end = reader.Next(last);
    return out + (end == SmtpReplyReader::Result::Malformed ? "malformed" : "more");
}

struct ReplyCase {
    const char *bytes;
    const char *expected;
};

class ReplyReaderTest : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(ReplyReaderTest, SameRepliesHoweverTheBytesArrive)
{
    const QByteArray bytes(GetParam().bytes);
    for (qsizetype chunk : {qsizetype(1), qsizetype(2), qsizetype(7), bytes.size() + 1})
        EXPECT_EQ(Read(bytes, chunk), GetParam().expected) << "chunks of " << chunk;
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ReplyReaderTest,
    ::testing::Values(ReplyCase{"220 tessaly.test ESMTP\r\n", "220:tessaly.test ESMTP more"},
                      ReplyCase{"250-tessaly.test\r\n250-STARTTLS\r\n250 AUTH LOGIN\r\n",
                                "250:tessaly.test|STARTTLS|AUTH LOGIN more"},
                      ReplyCase{"250\r\n", "250: more"},
                      ReplyCase{"250-first\r\n250\r\n", "250:first| more"},
                      ReplyCase{"221 bye\n", "221:bye more"},
                      ReplyCase{"250 ok\r\n354 go on\r\n", "250:ok 354:go on more"},
                      ReplyCase{"250-half\r\n250 rest", "more"},
                      ReplyCase{"", "more"},
                      ReplyCase{"25 short\r\n", "malformed"},
                      ReplyCase{"abc def\r\n", "malformed"},
                      ReplyCase{"250_odd\r\n", "malformed"},
                      ReplyCase{"\r\n", "malformed"},
                      ReplyCase{"250-one\r\n251 two\r\n", "malformed"},
                      ReplyCase{"250 ok\r\nnonsense\r\n250 later\r\n", "250:ok malformed"}));

TEST(ReplyReader, ALineWithoutEndIsGivenUpOnceTooLong)
{
    SmtpReplyReader reader;
    SmtpReply reply;
    reader.Feed(QByteArray("250 ") + QByteArray(SmtpReplyReader::kMaxLine, 'x'));
    EXPECT_EQ(reader.Next(reply), SmtpReplyReader::Result::Malformed);
    reader.Feed("\r\n250 ok\r\n"); // nothing is taken any more
    EXPECT_EQ(reader.Next(reply), SmtpReplyReader::Result::Malformed);
    reader.Clear();
    reader.Feed("250 ok\r\n");
    EXPECT_EQ(reader.Next(reply), SmtpReplyReader::Result::Reply);
    EXPECT_EQ(reply.Text(), QStringLiteral("ok"));
}

TEST(ReplyReader, BytesAfterAReplyStayBuffered)
{
    SmtpReplyReader reader;
    SmtpReply reply;
    reader.Feed("220 go ahead\r\n250 injected\r\n");
    EXPECT_EQ(reader.Next(reply), SmtpReplyReader::Result::Reply);
    EXPECT_EQ(reply.code, 220);
    EXPECT_GT(reader.Buffered(), 0);
}

} // namespace
