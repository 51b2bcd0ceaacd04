#pragma once

#include "platform/progress.h"

#include <QWidget>

class QLabel;

// The shared progress window frmDataTrans: a small modeless window with two lines. The work runs on the
// user-interface thread, so repaint() paints at once instead of waiting for the event loop.
class frmDataTrans : public QWidget {
    Q_OBJECT
public:
    explicit frmDataTrans(QWidget* parent = nullptr);

    QLabel* lblDataTrans;
    QLabel* lblBirdsTransferred;
};

class QtProgress : public Progress {
public:
    QtProgress();
    ~QtProgress() override;

    void show() override;
    void setTitle(const QString& title) override;
    void setUpperLine(const QString& text) override;
    void setLowerLine(const QString& text) override;
    void repaint() override;
    void close() override;
    bool isShown() const override;

    frmDataTrans* window() const { return m_window; }

private:
    void waitUntilExposed();

    frmDataTrans* m_window;
};
