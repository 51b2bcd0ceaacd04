#pragma once

#include <QString>

// The shared progress window frmDataTrans: a title and two lines, repainted on demand because the work runs
// on the user-interface thread.
class Progress {
public:
    virtual ~Progress() = default;

    virtual void show() = 0; // resets the lines to their design texts
    virtual void setTitle(const QString& title) = 0;
    virtual void setUpperLine(const QString& text) = 0; // lblDataTrans
    virtual void setLowerLine(const QString& text) = 0; // lblBirdsTransferred
    virtual void repaint() = 0;
    virtual void close() = 0;
    virtual bool isShown() const = 0;
};

inline const QString kProgressUpperDesignText = QStringLiteral("Transferring Data...");
