#pragma once

#include <QByteArray>
#include <QString>

// Single-byte text of the clock and of the files. Windows-1252 for everything this program writes and reads
// back; code page 437 for the DOS program's files. A character that the code page cannot carry becomes "?".
QByteArray toWindows1252(const QString& text);
QString fromWindows1252(const QByteArray& bytes);
QString fromCodePage437(const QByteArray& bytes);
QByteArray toCodePage437(const QString& text);

// Text from outside (the clock, a file, the command line) with every control character (0x00-0x1F, 0x7F)
// replaced by a space, so that what is stored, compared or printed holds none.
QString controlsAsSpaces(QString text);
// A record from the clock or from a race file: Windows-1252, control characters as spaces.
QString decodeRecord(const QByteArray& bytes);
// The same characters read as code page 437, as the DOS program wrote them into a module; text from
// decodeRecord, whose bytes it reads again.
QString dosReading(const QString& recordText);
