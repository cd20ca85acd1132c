// The SMTP reply reader over any bytes a server might send.
// The first byte sets how the rest is cut into pieces; the reader must give the same
// replies whatever the pieces, never hold an overlong line, never take anything once it
// has called the bytes malformed, and read its own replies written out again the same way.
#include "mail/smtpreply.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Check(bool ok)
{
    if (!ok)
        abort();
}

struct Outcome {
    std::vector<SmtpReply> replies;
    bool malformed = false;
};

Outcome Read(const QByteArray &bytes, qsizetype piece)
{
    Outcome out;
    SmtpReplyReader reader;
    for (qsizetype at = 0; at < bytes.size(); at += piece) {
        reader.Feed(bytes.mid(at, piece));
        for (;;) {
            SmtpReply reply;
            const auto result = reader.Next(reply);
            if (result == SmtpReplyReader::Result::Reply) {
                Check(!out.malformed);
                Check(reply.code >= 0 && reply.code <= 999 && !reply.lines.isEmpty());
                Check(reply.lines.size() <= SmtpReplyReader::kMaxLines);
                for (const QByteArray &line : reply.lines)
                    Check(!line.contains('\n') && line.size() <= SmtpReplyReader::kMaxLine);
                out.replies.push_back(reply);
                continue;
            }
            if (result == SmtpReplyReader::Result::Malformed)
                out.malformed = true;
            else
                Check(!out.malformed && reader.Buffered() <= SmtpReplyReader::kMaxLine);
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
    Check(whole.malformed == pieces.malformed && whole.replies.size() == pieces.replies.size());
    for (size_t i = 0; i < whole.replies.size(); ++i) {
        Check(Same(whole.replies[i], pieces.replies[i]));
        const Outcome again = Read(Written(whole.replies[i]), 1 << 20);
        Check(!again.malformed && again.replies.size() == 1 && Same(again.replies[0], whole.replies[i]));
    }
    return 0;
}
