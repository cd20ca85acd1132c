#include "mail/smtpreply.h"

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

QString SmtpReply::Text() const
{
    return lines.isEmpty() ? QString() : QString::fromUtf8(lines.last()).trimmed();
}

void SmtpReplyReader::Feed(QByteArrayView bytes)
{
    if (!m_malformed)
        m_buffer.append(bytes);
}

SmtpReplyReader::Result SmtpReplyReader::Next(SmtpReply &reply)
{
    while (!m_malformed) {
        const qsizetype end = m_buffer.indexOf('\n');
        if (end < 0) {
            m_malformed = m_buffer.size() > kMaxLine;
            return m_malformed ? Result::Malformed : Result::NeedMore;
        }
        QByteArray line = m_buffer.left(end);
        m_buffer.remove(0, end + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        const bool codeOk = line.size() >= 3 && IsDigit(line[0]) && IsDigit(line[1]) && IsDigit(line[2]);
        const char separator = line.size() > 3 ? line[3] : ' ';
        const int code = codeOk ? line.left(3).toInt() : 0;
        if (!codeOk || (separator != ' ' && separator != '-') || line.size() > kMaxLine ||
            (!m_partial.lines.isEmpty() && code != m_partial.code) || m_partial.lines.size() >= kMaxLines) {
            m_malformed = true;
            break;
        }
        m_partial.code = code;
        m_partial.lines << line.mid(4);
        if (separator == ' ') {
            reply = m_partial;
            m_partial = SmtpReply();
            return Result::Reply;
        }
    }
    m_buffer.clear();
    m_partial = SmtpReply();
    return Result::Malformed;
}

void SmtpReplyReader::Clear()
{
    m_buffer.clear();
    m_partial = SmtpReply();
    m_malformed = false;
}
