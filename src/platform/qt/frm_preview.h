#pragma once

#include <QWidget>

class QFont;
class QPlainTextEdit;

// Courier New where the machine has it, else the system's fixed-pitch font: the reports' columns line up.
QFont reportWindowFont(int pointSize);

// A report on screen: one read-only text box filling the window, in Courier New 12.
class frmPreview : public QWidget {
    Q_OBJECT
public:
    explicit frmPreview(QWidget* parent = nullptr,
                        const QString& title = QStringLiteral("Corvex Race Report"));

    // The text with CR LF line ends, as the report builds it.
    void setReportText(const QString& text);
    const QString& reportText() const { return m_text; }
    // Shows the window over the whole screen.
    void showFilled();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPlainTextEdit* Text1;
    QString m_text;
};
