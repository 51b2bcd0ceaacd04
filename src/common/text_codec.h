#pragma once

#include <QByteArray>
#include <QString>

// Single-byte text of the clock and of the files. Windows-1252 for everything this program writes and reads
// back; code page 437 for the DOS program's files. A character that the code page cannot carry becomes "?".
QByteArray toWindows1252(const QString& text);
QString fromWindows1252(const QByteArray& bytes);
QString fromCodePage437(const QByteArray& bytes);
QByteArray toCodePage437(const QString& text);
