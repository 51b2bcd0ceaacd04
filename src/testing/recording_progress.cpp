#include "testing/recording_progress.h"

void RecordingProgress::show()
{
    if (!m_shown) {
        m_upper = kProgressUpperDesignText;
        m_lower.clear();
    }
    m_shown = true;
    ++m_timesShown;
    m_events << QStringLiteral("show");
}

void RecordingProgress::setTitle(const QString& title)
{
    m_title = title;
    m_events << QStringLiteral("title: ") + title;
}

void RecordingProgress::setUpperLine(const QString& text)
{
    m_upper = text;
    m_events << QStringLiteral("upper: ") + text;
}

void RecordingProgress::setLowerLine(const QString& text)
{
    m_lower = text;
    m_events << QStringLiteral("lower: ") + text;
}

void RecordingProgress::close()
{
    m_shown = false;
    m_events << QStringLiteral("close");
}
