// The header-field coder.
#include "web/FieldCodeBase.h"

#include "web/MimeByteWriter.h"
#include "web/MimeEncodedWord.h"

#include <QList>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isAllBlanks(const char* text, qsizetype length) {
    for (qsizetype i = 0; i < length; ++i)
        if (!isBlank(text[i]))
            return false;
    return true;
}

// Replaces the blank of a line longer than the limit by CRLF TAB: the last blank within the
// limit, else the first one after it; repeated until the line fits or has no blank left.
QByteArray foldLongLines(const QByteArray& value) {
    QByteArray folded;
    for (QByteArray line : value.split('\n')) {
        if (!folded.isEmpty())
            folded += '\n';
        const bool crlf = line.endsWith('\r');
        if (crlf)
            line.chop(1);
        qsizetype start = 0; // where the line being folded begins
        while (line.size() - start > CFieldCodeBase::kMaxLine) {
            qsizetype cut = -1;
            for (qsizetype i = start + CFieldCodeBase::kMaxLine; i > start && cut < 0; --i)
                if (isBlank(line[i]))
                    cut = i;
            for (qsizetype i = start + CFieldCodeBase::kMaxLine + 1; i < line.size() && cut < 0;
                 ++i)
                if (isBlank(line[i]))
                    cut = i;
            if (cut < 0)
                break;
            line.replace(cut, 1, "\r\n\t");
            start = cut + 2;
        }
        folded += line;
        if (crlf)
            folded += '\r';
    }
    return folded;
}

} // namespace

bool CFieldCodeBase::IsDelimiter(char) const {
    return false;
}

qsizetype CFieldCodeBase::GetLimit() const {
    return 0;
}

qsizetype CFieldCodeBase::GetEncodeLength() const {
    const QByteArray charset = m_charset.isEmpty() ? m_defaultCharset : m_charset;
    if (charset.isEmpty() && !m_autoFolding)
        return m_inputLength;
    return EncodeValue(charset).size();
}

qsizetype CFieldCodeBase::Encode(char* output, qsizetype room) const {
    const QByteArray charset = m_charset.isEmpty() ? m_defaultCharset : m_charset;
    if (charset.isEmpty() && !m_autoFolding)
        return CopyInput(output, room);
    const QByteArray value = EncodeValue(charset);
    CMimeByteWriter out(output, room);
    out.put(value.constData(), value.size());
    return out.count();
}

QList<qsizetype> CFieldCodeBase::SplitRuns() const {
    QList<qsizetype> runs;
    const qsizetype limit = GetLimit();
    qsizetype start = 0;
    for (qsizetype i = 0; i < m_inputLength; ++i) {
        if (IsDelimiter(m_input[i])) {
            runs.append(i + 1 - start);
            start = i + 1;
        } else if (limit > 0 && i + 1 - start > limit) {
            // Too long: cut after the last blank within the limit, else at the limit.
            qsizetype cut = i;
            while (cut > start && !isBlank(m_input[cut - 1]))
                --cut;
            if (cut == start)
                cut = i;
            runs.append(cut - start);
            start = cut;
        }
    }
    if (start < m_inputLength || runs.isEmpty())
        runs.append(m_inputLength - start);
    return runs;
}

QByteArray CFieldCodeBase::EncodeValue(const QByteArray& charset) const {
    QByteArray value;
    qsizetype blanksAfterWord = -1; // blanks written after the last encoded word; -1: other text
    qsizetype start = 0;
    const QList<qsizetype> runs = SplitRuns();
    for (qsizetype r = 0; r < runs.size(); ++r) {
        const char* run = m_input + start;
        qsizetype length = runs[r];
        start += length;
        // With folding, every run after a delimiter begins a new line.
        if (m_autoFolding && r > 0 && IsDelimiter(run[-1])) {
            while (length > 0 && isBlank(*run)) {
                ++run;
                --length;
            }
            if (length == 0)
                continue;
            value += "\r\n\t";
            blanksAfterWord = -1;
        }
        const Span span = EncodedSpan(run, length, charset);
        if (span.begin < 0) {
            value += QByteArray(run, length);
            blanksAfterWord =
                blanksAfterWord >= 0 && isAllBlanks(run, length) ? blanksAfterWord + length : -1;
            continue;
        }
        QByteArray prefix(run, span.begin);
        QByteArray text(run + span.begin, span.end - span.begin);
        if (blanksAfterWord >= 0 && isAllBlanks(prefix.constData(), prefix.size())) {
            // Blanks between two encoded words vanish when they are read: they move into the
            // second word, and one blank keeps the words apart.
            text.prepend(value.right(blanksAfterWord) + prefix);
            value.chop(blanksAfterWord);
            prefix = " ";
        }
        CMimeEncodedWord word(CMimeEncodedWord::ChooseEncoding(text.constData(), text.size()),
                              charset);
        word.SetInput(text, true);
        value += prefix + word.GetOutput();
        const char* suffix = run + span.end;
        value += QByteArray(suffix, length - span.end);
        blanksAfterWord = isAllBlanks(suffix, length - span.end) ? length - span.end : -1;
    }
    return m_autoFolding ? foldLongLines(value) : value;
}

// The part of a run that is written as encoded words: from the start of its first word with a
// byte of 0x80 or above to the end of its last one (words end at blanks, line breaks and
// delimiters). begin is -1 when nothing needs encoding.
CFieldCodeBase::Span CFieldCodeBase::EncodedSpan(const char* run, qsizetype length,
                                                 const QByteArray& charset) const {
    qsizetype firstHigh = -1;
    qsizetype lastHigh = -1;
    for (qsizetype i = 0; i < length; ++i) {
        if (uchar(run[i]) >= 0x80) {
            if (firstHigh < 0)
                firstHigh = i;
            lastHigh = i;
        }
    }
    if (charset.isEmpty() || firstHigh < 0)
        return Span{};
    const auto wordBreak = [this](char c) {
        return isBlank(c) || c == '\r' || c == '\n' || IsDelimiter(c);
    };
    qsizetype begin = firstHigh;
    while (begin > 0 && !wordBreak(run[begin - 1]))
        --begin;
    qsizetype end = lastHigh + 1;
    while (end < length && !wordBreak(run[end]))
        ++end;
    return Span{begin, end};
}

qsizetype CFieldCodeBase::Decode(char* output, qsizetype room) {
    // Unfolding: a line break followed by a blank is taken out, the blank stays.
    QByteArray unfolded;
    unfolded.reserve(m_inputLength);
    for (qsizetype i = 0; i < m_inputLength; ++i) {
        const char c = m_input[i];
        const qsizetype next = c == '\r' && i + 1 < m_inputLength && m_input[i + 1] == '\n' ? i + 2
                               : c == '\n'                                                  ? i + 1
                                                                                            : -1;
        if (next >= 0 && next < m_inputLength && isBlank(m_input[next])) {
            i = next - 1;
            continue;
        }
        unfolded += c;
    }
    CMimeEncodedWord word;
    word.SetInput(unfolded, false);
    const qsizetype written = word.Decode(output, room);
    if (!word.GetCharset().isEmpty())
        m_charset = word.GetCharset();
    return written;
}
