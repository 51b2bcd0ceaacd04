#include "platform/terminal_progress.h"

#include <unistd.h>

TerminalProgress::TerminalProgress(std::FILE* out, bool quiet)
    : m_out(out), m_quiet(quiet), m_tty(out && isatty(fileno(out)) == 1)
{
}

void TerminalProgress::emitLine(const QString& text)
{
    if (m_quiet || !m_out)
        return;
    const QByteArray bytes = text.toUtf8();
    if (m_tty) {
        std::fprintf(m_out, "\r\033[K%s", bytes.constData());
        m_pendingNewline = true;
    } else {
        std::fprintf(m_out, "%s\n", bytes.constData());
    }
    std::fflush(m_out);
}

void TerminalProgress::show()
{
    m_shown = true;
}

void TerminalProgress::setTitle(const QString& title)
{
    emitLine(title);
}

void TerminalProgress::setUpperLine(const QString& text)
{
    emitLine(text);
}

void TerminalProgress::setLowerLine(const QString& text)
{
    if (text == m_lower)
        return;
    m_lower = text;
    if (m_tty)
        emitLine(text); // overwrite in place
    else
        m_pendingNewline = false;
}

void TerminalProgress::repaint() {}

void TerminalProgress::close()
{
    if (!m_quiet && m_out) {
        // On a pipe only the last count is worth a line; on a terminal finish the overwritten line.
        if (!m_tty && !m_lower.isEmpty())
            std::fprintf(m_out, "%s\n", m_lower.toUtf8().constData());
        else if (m_pendingNewline)
            std::fputc('\n', m_out);
        std::fflush(m_out);
    }
    m_pendingNewline = false;
    m_lower.clear();
    m_shown = false;
}
