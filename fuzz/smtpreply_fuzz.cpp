// The SMTP reply reader over any bytes a server might send.
// The first byte sets how the rest is cut into pieces; the reader must give the same
// replies whatever the pieces, never hold an overlong line, never take anything once it
// has called the bytes malformed, and read its own replies written out again the same way.
#include "fuzz/fuzzcheck.h"
#include "mail/smtpreply.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// Bytes as C escapes, so that a line end or a control byte shows in the report.
QString Shown(const QByteArray &bytes)
{
    QString out;
    for (const char c : bytes)
        out += c >= ' ' && c < 0x7f && c != '\\' ? QString(QLatin1Char(c)) : QString::asprintf("\\x%02x", uint8_t(c));
    return out;
}

QString Shown(const SmtpReply &reply)
{
    QString out = QString::number(reply.code);
    for (const QByteArray &line : reply.lines)
        out += " [" + Shown(line) + "]";
    return out;
}

struct Outcome {
    std::vector<SmtpReply> replies;
    bool malformed = false;
};

Outcome Read(const QByteArray &bytes, qsizetype piece)
{
    const auto what = [&] { return QString::asprintf("in pieces of %lld: ", (long long)piece) + Shown(bytes); };
    Outcome out;
    SmtpReplyReader reader;
    for (qsizetype at = 0; at < bytes.size(); at += piece) {
        reader.Feed(bytes.mid(at, piece));
        for (;;) {
            SmtpReply reply;
            const auto result = reader.Next(reply);
            if (result == SmtpReplyReader::Result::Reply) {
                FUZZ_CHECK(!out.malformed, "a reply after malformed bytes, " + what());
                FUZZ_CHECK(reply.code >= 0 && reply.code <= 999 && !reply.lines.isEmpty(), Shown(reply) + ", " + what());
                FUZZ_CHECK(reply.lines.size() <= SmtpReplyReader::kMaxLines, what());
                for (const QByteArray &line : reply.lines)
                    FUZZ_CHECK(!line.contains('\n') && line.size() <= SmtpReplyReader::kMaxLine, Shown(line) + ", " + what());
                out.replies.push_back(reply);
                continue;
            }
            if (result == SmtpReplyReader::Result::Malformed)
                out.malformed = true;
            else
                FUZZ_CHECK(!out.malformed && reader.Buffered() <= SmtpReplyReader::kMaxLine,
                           QString::asprintf("%lld buffered, ", (long long)reader.Buffered()) + what());
            break;
        }
    }
    return out;
}

QByteArray Written(const SmtpReply &reply)
{
    QByteArray out;
    const QByteArray code = QByteArray::number(reply.code).rightJustified(3, '0');
    for (qsizetype i = 0; i < reply.lines.size(); ++i)
        out += code + (i + 1 < reply.lines.size() ? '-' : ' ') + reply.lines[i] + "\r\n";
    return out;
}

bool Same(const SmtpReply &a, const SmtpReply &b)
{
    return a.code == b.code && a.lines == b.lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const qsizetype piece = data[0] % 16 + 1;
    const QByteArray bytes(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    const Outcome whole = Read(bytes, bytes.size() + 1);
    const Outcome pieces = Read(bytes, piece);
    FUZZ_CHECK(whole.malformed == pieces.malformed && whole.replies.size() == pieces.replies.size(),
               QString::asprintf("in pieces of %lld the reading differs: ", (long long)piece) + Shown(bytes));
    for (size_t i = 0; i < whole.replies.size(); ++i) {
        FUZZ_CHECK(Same(whole.replies[i], pieces.replies[i]),
                   Shown(whole.replies[i]) + " whole, " + Shown(pieces.replies[i]) + " in pieces: " + Shown(bytes));
        const Outcome again = Read(Written(whole.replies[i]), 1 << 20);
        FUZZ_CHECK(!again.malformed && again.replies.size() == 1 && Same(again.replies[0], whole.replies[i]),
                   "written out again, " + Shown(whole.replies[i]) + " does not read back");
    }
    return 0;
}
