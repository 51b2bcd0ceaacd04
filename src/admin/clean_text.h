#pragma once

#include <QString>

// Replaces every |, " and ' in text by a space (the caller's variable keeps that, untrimmed) and returns it
// without leading and trailing spaces. Applied to names before they are stored or looked up.
QString CleanText(QString& text);
