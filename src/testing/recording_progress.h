#pragma once

#include "platform/progress.h"

#include <QStringList>

// Progress for tests: keeps the current state and a log of every change.
class RecordingProgress : public Progress {
public:
    void show() override;
    void setTitle(const QString& title) override;
    void setUpperLine(const QString& text) override;
    void setLowerLine(const QString& text) override;
    void repaint() override { ++m_repaints; }
    void close() override;
    bool isShown() const override { return m_shown; }

    QString title() const { return m_title; }
    QString upperLine() const { return m_upper; }
    QString lowerLine() const { return m_lower; }
    int timesShown() const { return m_timesShown; }
    int repaints() const { return m_repaints; }
    // "show", "close", "title: ...", "upper: ...", "lower: ..." in order.
    const QStringList& events() const { return m_events; }

private:
    bool m_shown = false;
    int m_timesShown = 0;
    int m_repaints = 0;
    QString m_title, m_upper, m_lower;
    QStringList m_events;
};
