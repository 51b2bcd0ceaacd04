#pragma once

#include <QString>

// Trims the text, then fills it to width or cuts it to width. Left-justified fills on the right and keeps
// the first characters; otherwise fills on the left and keeps the last characters.
QString PadField(const QString& text, int width, QChar fill, bool leftJustify);

// Characters [start, start + length) of a record, 1-based; a record that is too short reads as what it
// has (never past its end).
QString Mid(const QString& record, int start, int length);
QString Mid(const QString& record, int start);

// The value of the text's leading digits; 0 when it does not begin with a digit. It stops once past
// 100000, so that a long run of digits cannot overflow.
int leadingNumber(const QString& text);
