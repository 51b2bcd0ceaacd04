#pragma once

#include "platform/progress.h"

#include <cstdio>

// Progress for the CLI: the lines are printed to standard error when they change; on a terminal the lower
// line overwrites itself.
class TerminalProgress : public Progress {
public:
    explicit TerminalProgress(std::FILE* out = stderr, bool quiet = false);

    void show() override;
    void setTitle(const QString& title) override;
    void setUpperLine(const QString& text) override;
    void setLowerLine(const QString& text) override;
    void repaint() override;
    void close() override;
    bool isShown() const override { return m_shown; }

private:
    void emitLine(const QString& text);

    std::FILE* m_out;
    bool m_quiet;
    bool m_tty;
    bool m_shown = false;
    bool m_pendingNewline = false;
    QString m_lower;
};
