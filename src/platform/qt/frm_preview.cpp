#include "platform/qt/frm_preview.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QVBoxLayout>

QFont reportWindowFont(int pointSize)
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(pointSize);
    const QFontMetrics metrics(font);
    if (metrics.horizontalAdvance(QStringLiteral("iiii")) !=
        metrics.horizontalAdvance(QStringLiteral("WWWW"))) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPointSize(pointSize);
    }
    return font;
}

frmPreview::frmPreview(QWidget* parent, const QString& title)
    : QWidget(parent, Qt::Window), Text1(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setFont(reportWindowFont(12));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Text1);
}

void frmPreview::setReportText(const QString& text)
{
    m_text = text;
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Text1->setPlainText(shown);
}

void frmPreview::showFilled()
{
    if (const QScreen* screen = this->screen())
        setGeometry(screen->availableGeometry());
    showMaximized();
    raise();
    activateWindow();
}

void frmPreview::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
